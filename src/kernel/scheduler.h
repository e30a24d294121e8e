// The cooperative scheduler: the task functions, called one after another, once per cycle, on
// the program thread.
#pragma once

#include <cstdint>

#include "kernel/pool.h"

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

// The task functions, in cycle order.
void NomaManager(Handle task);
void EventTask(Handle task);
void KeyTask(Handle task);
void WindowTask(Handle task);
void MenuTask(Handle task);
void TextTask(Handle task);
void AnimeTask(Handle task);
void EffectTask(Handle task);
void StartScreenTEST(Handle task);
// The application task, called while the application flag is on.
void Ilvane(Handle task);
