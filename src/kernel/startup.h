// The system initialisation: everything the kernel brings up, in its fixed order, before the
// first cycle.
#pragma once

#include <cstdint>

#include "kernel/scheduler.h"  // ResetKernel, the start-up's reset of the kernel globals

// Colour mode from USE_COLOR: 1 palette numbers, 3 true colour; 0 until configured.
extern int16_t g_use_color;

// The window system's steps of the start-up. The window system sits above the kernel, so the
// composition root installs them; a missing step is skipped.
struct WindowSystemStartUp {
    void (*prepare_colors)() = nullptr;  // after the screen size is known
    void (*create_fonts)() = nullptr;    // after the system resources exist
    void (*start)() = nullptr;           // after the first event: root window and system GCs
};
void SetWindowSystemStartUp(const WindowSystemStartUp& steps);

// Runs the whole start-up; the host calls it once, on its first paint. It leaves the phase at
// 2, so the manager's first call registers the system tasks.
// False when the pool or the first event cannot be made: the program must end with status 1.
bool SystemInit();
