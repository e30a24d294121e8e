#include "host/cycle.h"

#include "host/clock.h"

namespace {
uint32_t cycle_start = 0;
bool cycle_started = false;
}  // namespace

void HostCycleEnd() {
    if (HostClockIsVirtual()) {
        HostAdvanceClock(kCyclePeriodMs);
        return;
    }
    uint32_t now = HostTickCount();
    if (cycle_started && now - cycle_start < kCyclePeriodMs)
        HostClockSleep(kCyclePeriodMs - (now - cycle_start));
    cycle_start = HostTickCount();
    cycle_started = true;
}
