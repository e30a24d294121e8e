// NomaManager: registers the system tasks, starts them one per cycle, starts the configured
// program, and shuts the system down on the shutdown event.
#include "kernel/manager.h"

#include <cstdio>
#include <cstring>

#include "core/config.h"
#include "core/log.h"
#include "core/system.h"
#include "host/open_files.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "kernel/event.h"
#include "kernel/event_task.h"
#include "kernel/install_record.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "resource/resource.h"
#include "resource/task_record.h"

ManagerState g_manager = {};

namespace {

struct SystemTask {
    const char* name;
    uint32_t id;
};

// Registration order, which is also the order the start events go out in.
constexpr SystemTask kSystemTasks[] = {
    {"NomaManager", TASK_ID_MANAGER},
    {"EventTask", TASK_ID_EVENT},
    {"KeyTask", TASK_ID_KEY},
    {"WindowTask", TASK_ID_WINDOW},
    {"MenuTask", TASK_ID_MENU},
    {"TextTask", TASK_ID_TEXT},
    {"AnimeTask", TASK_ID_ANIME},
    {"EffectTask", TASK_ID_EFFECT},
    {"StartScreenTEST", TASK_ID_START_SCREEN},
};

constexpr uint16_t kSysInfoItem = 3;
constexpr uint16_t kQuitItem = 7;

void send_start(uint32_t id) {
    SendEvent(TASK_ID_MANAGER, id, EVENT_START);
}

// Phase 2: the first call after start-up.
void register_system_tasks() {
    LogLine("System ready");
    g_system.phase = PHASE_STARTING_SYSTEM_TASKS;
    for (const SystemTask& t : kSystemTasks)
        OpenTaskEvents(RegisterTask(t.name, t.id, 0));
    CreateSystemDialogs(g_tasks.manager);
    g_manager.start_cursor = FirstRecord(g_resources.task);
    SendEvent(TASK_ID_MANAGER, TASK_ID_ALL, EVENT_SYSTEM_READY);
}

// Phase 0: one system task gets its start event per call.
void start_next_system_task() {
    const TaskRecord* t = task_record(g_manager.start_cursor);
    if (t && t->id < TASK_ID_FIRST_APPLICATION) send_start(t->id);
    g_manager.start_cursor = NextRecord(g_manager.start_cursor);
    if (!g_manager.start_cursor) {
        g_manager.start_cursor = FirstRecord(g_resources.task);
        g_system.phase = PHASE_STARTING_PROGRAM;
    }
}

// Phase 1: START_PROGRAM, then the manager's system menu entries. False while the start of
// every application task ("TASKall") is still going on.
bool start_program(Handle manager) {
    char value[kIniValueSize];
    if (!SysString("START_PROGRAM", value)) {
        LogLine("    NON START PROGRAM");
    } else if (std::strstr(value, "TASKall")) {
        if (TestSystemFlag(FLAG_REDRAW_MOTION)) return false;
        const TaskRecord* t = task_record(g_manager.start_cursor);
        if (t && t->id >= TASK_ID_FIRST_APPLICATION) send_start(t->id);
        g_manager.start_cursor = NextRecord(g_manager.start_cursor);
        if (g_manager.start_cursor) return false;
    } else {
        int32_t id = FindTaskByName(value);
        if (id > 0)
            send_start(uint32_t(id));
        else
            LogLine("START_PROGRAMの名前が正しくありません。"_sj);
    }
    AddMenuItemEvent(manager, kSysInfoItem, "SysInfo", "SYSTEM情報"_sj);
    AddMenuItemEvent(manager, kQuitItem, "終了"_sj, "SYSTEMの終了"_sj);
    LogLine("System start");
    g_system.phase = PHASE_RUNNING;
    return true;
}

void count_down() {
    if (g_manager.shutdown_countdown-- <= 0) SetSystemFlag(FLAG_STOP);
}

void menu_selected(Handle manager, const EventRecord& e) {
    uint16_t item;
    std::memcpy(&item, e.data, sizeof item);
    if (item == kSysInfoItem) {
        char text[512];
        SystemInfoText(text, sizeof text);
        MessageDialog(text);
        return;
    }
    RequestCloseWindows(TASK_ID_MANAGER);
    RequestShutDown(manager);
}

}  // namespace

void ResetManager() {
    g_manager = {};
}

void SystemInfoText(char* out, size_t size) {
    std::snprintf(out, size, "NOMAv%s%s\n%s(%s)\nmilli sync %d   event %d\n RedrawMotion %d", "0.4",
                  "17", g_system.owner_name, g_system.long_machine_name, int(g_clock.milli_sync),
                  RecordCount(g_resources.event), int(SystemFlags() & FLAG_REDRAW_MOTION));
}

void ShutDownStep() {
    SendEvent(TASK_ID_MANAGER, TASK_ID_ALL, EVENT_SHUTDOWN);
    LogLinef("終了時ｵｰﾌﾟﾝされていたｽﾄﾘｰﾑ数 %d"_sj, HostOpenFileCount());
    CloseErrorLog();
    HostCloseAllFiles();
    g_manager.shutdown_countdown = kShutdownCycles;
    g_system.phase = PHASE_SHUTTING_DOWN;
}

void NomaManager(Handle task) {
    switch (g_system.phase) {
        case PHASE_INIT:
            register_system_tasks();
            break;
        case PHASE_STARTING_SYSTEM_TASKS:
            start_next_system_task();
            break;
        case PHASE_STARTING_PROGRAM:
            start_program(task);
            return;
        case PHASE_SHUTTING_DOWN:
            count_down();
            return;
        default:
            break;
    }
    if (ReciveEvent(task) != RECEIVE_EVENT) return;
    const EventRecord* e = event_record(CurrentEvent(task));
    if (!e) return;
    if (e->code == EVENT_MENU_SELECT) {
        menu_selected(task, *e);
    } else if (e->code == EVENT_SHUTDOWN) {
        LogLine("ShutDownEventを受け取りました　終了します。"_sj);
        SaveInstallRecord();
        ShutDownStep();
    }
}
