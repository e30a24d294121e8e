// The cooperative scheduler: the task functions, called one after another, once per cycle, on
// the program thread.
#pragma once

#include <cstdint>

#include "core/pool.h"

// One handle per task function; empty until the task is registered. RunCycles reads them
// afresh before every call, so a task registered earlier in a cycle runs in that cycle.
struct TaskHandles {
    Handle manager, event, key, window, menu, text, anime, effect, start_screen, application;
};
extern TaskHandles g_tasks;

// The slot of the task table that a task of this name fills, or nullptr for other names.
Handle* TaskHandleSlot(const char* name);

// Clears the task table, the manager's, the events' and the clock task's globals, sets the
// next task id to 30 and the phase to 2 (part of the start-up; tests start from it too).
void ResetKernel();

// Runs cycles until the stop flag is set; one cycle per call under LOOP_EXIT.
void RunCycles();

// The task functions, in cycle order. The kernel's own three are there from the start; the
// others live in the layers above and are registered by the composition root. A slot without
// a function is skipped. The application task is called while the application flag is on.
using TaskFunction = void (*)(Handle task);
struct TaskFunctions {
    TaskFunction manager, event, key, window, menu, text, anime, effect, start_screen, application;
};
void SetTaskFunctions(const TaskFunctions& functions);
const TaskFunctions& CurrentTaskFunctions();

// The kernel's task functions.
void NomaManager(Handle task);
void EventTask(Handle task);
void KeyTask(Handle task);
