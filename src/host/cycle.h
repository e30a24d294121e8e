// The pace of the scheduler. RunCycles calls HostCycleEnd() after every cycle: it hands the
// cycle the host's pending work (scripted input, a close request, a repaint) and keeps the
// cycle rate bounded. Interactive runs wait out the rest of the cycle period on the real
// clock; headless runs advance the virtual clock by that rest instead. A cycle that already
// took the period (it slept) is not held back on either clock.
#pragma once

#include <cstdint>

// Length of one cycle in milliseconds of the clock.
constexpr uint32_t kCyclePeriodMs = 1;

void HostCycleEnd();
// Forgets the last cycle's end; the clock calls it when it is switched or started again.
void HostRestartCyclePace();
