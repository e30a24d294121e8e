// The start-up on the main window's first paint: the system's initialisation, the host's own
// log lines, the application task "Ilvane" and the editor task, the debug monitor's banner and
// checks, and last the started flag that lets the program thread run its cycles; and the stop
// that undoes all of it.
#pragma once

#include "core/pool.h"

// The editor task registered beside the application (empty before the start-up).
extern Handle g_editor_task;

void AppStartUp();

// Ends a system that AppStartUp started, with the program thread gone (joined, or never made):
// every layer's state goes back to how a fresh process holds it (the pool, resources, tasks,
// window tree, menus, editor, players, input, the screen and its size, the started flag), so
// that AppStartUp starts the same system again in the same process. (The program itself
// starts once and leaves this to the process's end: HostMain has closed the log's stream
// behind the system's back by then.)
void AppStopSystem();
