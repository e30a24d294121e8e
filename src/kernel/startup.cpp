#include "kernel/startup.h"

#include <cstdio>
#include <cstring>

#include "core/config.h"
#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "host/input.h"
#include "host/message_box.h"
#include "host/screen.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/event_task.h"
#include "kernel/install_record.h"
#include "kernel/manager.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "resource/resource.h"

int16_t g_use_color = 0;

namespace {

WindowSystemStartUp window_system;

void run_step(void (*step)()) {
    if (step) step();
}

constexpr const char* kVersion = "0.4";
constexpr int kCoreDumpSize = 7200;

void print_banner() {
    std::printf("%s V%s R%s(%d) cooperative task runtime\n", "NOMA", kVersion, "17", kCoreDumpSize);
    std::printf("    tasks, events and resources on one program thread\n");
    std::fflush(stdout);
}

// Copies a key's value, cut to `size` - 1 characters; empty when the key is missing.
void read_name(const char* key, char* out, size_t size) {
    char value[kIniValueSize];
    if (!SysString(key, value)) value[0] = '\0';
    std::memset(out, 0, size);
    std::memcpy(out, value, strnlen(value, size - 1));
}

void read_names() {
    std::strcpy(g_system.system_name, "NOMA");
    read_name("USER_NAME", g_system.owner_name, sizeof g_system.owner_name);
    read_name("LONG_MACHINE_NAME", g_system.long_machine_name, sizeof g_system.long_machine_name);
    read_name("SHORT_MACHINE_NAME", g_system.short_machine_name,
              sizeof g_system.short_machine_name);
    LogLinef("\tNOMA on  %s(%s)    OWNER %s", g_system.long_machine_name,
             g_system.short_machine_name, g_system.owner_name);
}

void read_memory_type() {
    char value[kIniValueSize];
    if (!SysString("MEMORY_TYPE", value)) {
        char text[64];
        std::snprintf(text, sizeof text, "MEMORY_TYPE unknow! %s", kSystemIniFile);
        HostMessageBox(text);
    } else if (std::strstr(value, "MOTOROLA")) {
        SetSystemFlag(FLAG_MOTOROLA);
    } else if (!std::strstr(value, "INTEL")) {
        HostMessageBox("SYSTEM.iniのMEMORY_TYPEが記述が違います！"_sj);
    }
    if (TestSystemFlag(FLAG_TEST_RUN))
        LogLine(TestSystemFlag(FLAG_MOTOROLA) ? "\tmemory type is \"MOTOROLA\""
                                              : "\tmemory type is \"INTEL\"");
}

// Both wait keys must be present; without them the program ends once start-up is over.
void read_wait_keys() {
    int16_t cycle_wait = SysNumber("CYCLE_WAIT");
    int16_t fastsync_wait = SysNumber("FASTSYNC_WAIT");
    g_system.cycle_wait = cycle_wait;
    g_system.fastsync_wait = fastsync_wait;
    if (cycle_wait == -1 || fastsync_wait == -1) {
        char text[128];
        std::snprintf(text, sizeof text, "SYSTEMWAITが記述されてません %s nis ot%s"_sj,
                      kSystemIniFile, kVersion);
        HostMessageBox(text);
        HostCloseScreen();
    }
}

void read_screen() {
    int16_t value = SysNumber("USE_COLOR");
    if (value != -1) g_use_color = value;
    if ((value = SysNumber("SCREEN_SIZEX")) != -1) g_screen_width = value;
    if ((value = SysNumber("SCREEN_SIZEY")) != -1) g_screen_height = value;
    LogLinef("\tscreen size %d/ %d dot.", g_screen_width, g_screen_height);
    run_step(window_system.prepare_colors);
}

bool group_noma_exists() {
    for (Handle r = FirstRecord(g_resources.group); r; r = NextRecord(r)) {
        const uint8_t* body = record_body(r);
        if (body && !std::strncmp(reinterpret_cast<const char*>(body), "NOMA", 22)) return true;
    }
    return false;
}

void check_initialisation() {
    bool ok = SystemFlags() != 0 && !g_tasks.manager && !g_tasks.event && !g_tasks.text &&
              g_resources.event && g_resources.task && g_resources.font && g_resources.gc &&
              g_resources.window && g_resources.object && group_noma_exists();
    if (!ok) HostMessageBox("NOMA 初期化ミス！"_sj);
}

}  // namespace

void SetWindowSystemStartUp(const WindowSystemStartUp& steps) {
    window_system = steps;
}

bool SystemInit() {
    print_banner();
    HostOpenScreen();
    HostClearButtons();
    OpenErrorLog();
    StoreSystemFlags(FLAG_TRACE);
    UpdateInstallRecord();
    if (!CreatePool()) return false;
    ResetResources();  // a new pool holds no resources
    ReadSystemFlags();
    read_names();
    read_memory_type();
    read_wait_keys();
    g_max_event = uint8_t(SysNumber("MAX_EVENT"));
    if (TestSystemFlag(FLAG_TEST_RUN))
        LogLinef("    struct size   window %d  win obj %d.", 88, 104);
    g_system.start_time = ClockNow();
    g_system.current_time = g_system.start_time;
    ResetKernel();
    read_screen();
    CreateSystemResources();
    run_step(window_system.create_fonts);
    if (!InitEvents()) return false;
    run_step(window_system.start);
    if (TestSystemFlag(FLAG_TEST_RUN)) check_initialisation();
    return true;
}
