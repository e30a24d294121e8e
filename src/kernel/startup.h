// The system initialisation: everything the kernel brings up, in its fixed order, before the
// first cycle.
#pragma once

#include <cstdint>

// Colour mode from USE_COLOR: 1 palette numbers, 3 true colour; 0 until configured.
extern int16_t g_use_color;

// Runs the whole start-up; the host calls it once, on its first paint. It leaves the phase at
// 2, so the manager's first call registers the system tasks.
void SystemInit();
// Clears the scheduler's, the events' and the clock task's globals and sets the phase to 2
// (part of SystemInit; tests use it to start from a clean kernel).
void ResetKernel();
