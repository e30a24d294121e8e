// The manager task's state: it brings the system tasks up one per cycle, starts the
// configured program and runs the shutdown.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"

struct ManagerState {
    Handle start_cursor;         // the task record the start-up walk stands on
    int32_t shutdown_countdown;  // cycles left in phase 4; the stop flag follows at 0
};
extern ManagerState g_manager;

// Cycles that still run after the shutdown event has been broadcast.
constexpr int32_t kShutdownCycles = 10;

// Forgets the manager's state (start-up and tests).
void ResetManager();
// Broadcasts the shutdown event, logs and closes every open stream (the error log among them)
// and starts the countdown of phase 4.
void ShutDownStep();
// The system information text of the system menu entry "SysInfo"; `size` bytes.
void SystemInfoText(char* out, size_t size);
