#include "kernel/scheduler.h"

#include <cstring>

#include "core/system.h"
#include "host/cycle.h"
#include "kernel/event.h"
#include "kernel/event_task.h"
#include "kernel/manager.h"
#include "kernel/task.h"

TaskHandles g_tasks = {};

namespace {

TaskFunctions functions = {NomaManager, EventTask, KeyTask, nullptr, nullptr,
                           nullptr,     nullptr,   nullptr, nullptr, nullptr};

inline void call(TaskFunction task_function, Handle task) {
    if (task_function) task_function(task);
}

}  // namespace

void SetTaskFunctions(const TaskFunctions& new_functions) {
    functions = new_functions;
}

const TaskFunctions& CurrentTaskFunctions() {
    return functions;
}

Handle* TaskHandleSlot(const char* name) {
    struct Slot {
        const char* name;
        Handle TaskHandles::*handle;
    };
    static constexpr Slot kSlots[] = {
        {"NomaManager", &TaskHandles::manager},
        {"EventTask", &TaskHandles::event},
        {"KeyTask", &TaskHandles::key},
        {"WindowTask", &TaskHandles::window},
        {"MenuTask", &TaskHandles::menu},
        {"TextTask", &TaskHandles::text},
        {"AnimeTask", &TaskHandles::anime},
        {"EffectTask", &TaskHandles::effect},
        {"StartScreenTEST", &TaskHandles::start_screen},
        {"Ilvane", &TaskHandles::application},
    };
    if (!name) return nullptr;
    for (const Slot& slot : kSlots)
        if (!std::strcmp(slot.name, name)) return &(g_tasks.*slot.handle);
    return nullptr;
}

void RunCycles() {
    for (;;) {
        if (TestSystemFlag(FLAG_STOP)) return;
        // Each handle is read at its call: a task registered earlier in this cycle runs now.
        call(functions.manager, g_tasks.manager);
        call(functions.event, g_tasks.event);
        call(functions.key, g_tasks.key);
        call(functions.window, g_tasks.window);
        call(functions.menu, g_tasks.menu);
        call(functions.text, g_tasks.text);
        call(functions.anime, g_tasks.anime);
        call(functions.effect, g_tasks.effect);
        call(functions.start_screen, g_tasks.start_screen);
        if (TestSystemFlag(FLAG_APPLICATION)) call(functions.application, g_tasks.application);
        HostCycleEnd();
        if (TestSystemFlag(FLAG_LOOP_EXIT)) return;
    }
}

void ResetKernel() {
    g_system.phase = PHASE_INIT;
    g_tasks = {};
    g_next_task_id = TASK_ID_FIRST_APPLICATION;
    g_system.cycle_counter = 0;
    ResetManager();
    ResetEvents();
    ResetClockCounters();
}
