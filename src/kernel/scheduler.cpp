#include "kernel/scheduler.h"

#include <cstring>

#include "host/cycle.h"
#include "kernel/event.h"
#include "kernel/event_task.h"
#include "kernel/manager.h"
#include "kernel/system.h"
#include "kernel/task.h"

TaskHandles g_tasks = {};

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
        NomaManager(g_tasks.manager);
        EventTask(g_tasks.event);
        KeyTask(g_tasks.key);
        WindowTask(g_tasks.window);
        MenuTask(g_tasks.menu);
        TextTask(g_tasks.text);
        AnimeTask(g_tasks.anime);
        EffectTask(g_tasks.effect);
        StartScreenTEST(g_tasks.start_screen);
        if (TestSystemFlag(FLAG_APPLICATION)) Ilvane(g_tasks.application);
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
