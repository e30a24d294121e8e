// The one clock of the system. Interactive runs read the real clock; headless runs use a
// virtual clock that starts at a fixed date and advances only when told (sleeps, delays and
// the cycle quantum), so a headless run is deterministic.
#pragma once

#include <cstdint>

struct HostTime {
    int year, month, day, hour, minute, second, millisecond;
};

void HostUseVirtualClock(bool on);
bool HostClockIsVirtual();
// Milliseconds since the clock started (wraps like a 32-bit tick counter).
uint32_t HostTickCount();
HostTime HostClockNow();
// Waits `ms` milliseconds; on the virtual clock advances it instead.
void HostClockSleep(uint32_t ms);
// Moves the virtual clock on by `ms` (no effect on the real clock).
void HostAdvanceClock(uint32_t ms);
