#include "host/cycle.h"

#include "host/clock.h"
#include "host/program_thread.h"
#include "host/report.h"

namespace {
uint32_t cycle_start = 0;
bool cycle_started = false;
}  // namespace

void HostRestartCyclePace() {
    cycle_started = false;
}

void HostCycleEnd() {
    // A cycle is held to at least one period. A cycle that already took its period (a task
    // slept in a mouse poll) goes on at once, on the virtual clock as on the real one, so a
    // headless run keeps the pace of a run in a window. The first cycle after a (re)start of
    // the virtual clock takes one whole period; on the real clock it is not held back.
    const uint32_t elapsed = cycle_started ? HostTickCount() - cycle_start : 0;
    if (elapsed < kCyclePeriodMs && (cycle_started || HostClockIsVirtual()))
        HostClockSleep(kCyclePeriodMs - elapsed);
    cycle_start = HostTickCount();
    cycle_started = true;
    HostServiceProgramThread(PollPoint::CycleEnd);
    HostUseReportTick();
}
