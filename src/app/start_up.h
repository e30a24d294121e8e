// The start-up on the main window's first paint: the system's initialisation, the host's own
// log lines, the application task "Ilvane" and the editor task, the debug monitor's banner and
// checks, and last the started flag that lets the program thread run its cycles.
#pragma once

#include "core/pool.h"

// The editor task registered beside the application (empty before the start-up).
extern Handle g_editor_task;

void AppStartUp();
