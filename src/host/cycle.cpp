#include "host/cycle.h"

#include "host/clock.h"
#include "host/program_thread.h"
#include "host/report.h"

namespace {
uint32_t cycle_start = 0;
bool cycle_started = false;
}  // namespace

void HostCycleEnd() {
    if (HostClockIsVirtual()) {
        HostAdvanceClock(kCyclePeriodMs);
    } else {
        uint32_t now = HostTickCount();
        if (cycle_started && now - cycle_start < kCyclePeriodMs)
            HostClockSleep(kCyclePeriodMs - (now - cycle_start));
        cycle_start = HostTickCount();
        cycle_started = true;
    }
    HostServiceProgramThread(PollPoint::CycleEnd);
    HostUseReportTick();
}
