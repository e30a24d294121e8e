#include "app/compose.h"

#include "app/start_up.h"
#include "core/config.h"
#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "game/ilvane.h"
#include "host/message_loop.h"
#include "host/program_thread.h"
#include "kernel/dialog.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/startup.h"
#include "present/anime_task.h"
#include "present/effect_data.h"
#include "present/effect_message.h"
#include "present/effect_task.h"
#include "present/start_screen.h"
#include "resource/resource.h"
#include "window/colors.h"
#include "window/editor.h"
#include "window/font.h"
#include "window/menu_task.h"
#include "window/object.h"
#include "window/object_draw.h"
#include "window/object_menu.h"
#include "window/text_task.h"
#include "window/window_start.h"
#include "window/window_task.h"

namespace {

// The program thread's body: cycles until the system stops (under LOOP_EXIT RunCycles returns
// after each cycle and is called again).
void run_cycles_until_stopped() {
    while (!TestSystemFlag(FLAG_STOP))
        RunCycles();
}

void request_stop() {
    SetSystemFlag(FLAG_STOP);
}

bool stopping() {
    return TestSystemFlag(FLAG_STOP);
}

bool running() {
    return g_system.phase == PHASE_RUNNING;
}

// A user's close of the main window: the shutdown request in the name of the manager.
void close_request() {
    RequestShutDown(g_tasks.manager);
}

bool debug_monitor_wanted() {
    return GetIniBool("DEBUG_MONITER", kSystemIniFile) == 1;
}

void configured_screen(int* width, int* height) {
    *width = SysNumber("SCREEN_SIZEX");
    *height = SysNumber("SCREEN_SIZEY");
}

// The application slot of the cycle: the game, then the editor beside it.
// The pool's use for the headless use report: the live blocks, how far the data area is taken
// (compaction moves that line back down) and the blocks of records still in use.
PoolUse pool_use() {
    PoolUse use;
    if (!PoolExists()) return use;
    uint32_t entries = HandleTableEntries();
    for (Handle h = 1; h <= entries; ++h)
        if (HandleEntry* e = handle_entry(h)) {
            use.live_bytes += e->size;
            ++use.live_handles;
            if (!(e->flags & RECORD_INACTIVE)) use.active_bytes += e->size;
        }
    PoolMarks m = GetPoolMarks();
    use.data_used = m.relocate_line - m.base_line;
    return use;
}

void applications(Handle task) {
    Ilvane(task);
    if (g_editor_task) EditTask(g_editor_task);
}

}  // namespace

void InstallSystemHooks() {
    SetTaskFunctions({NomaManager, EventTask, KeyTask, WindowTask, MenuTask, TextTask, AnimeTask,
                      EffectTask, StartScreenTEST, applications});
    SetWindowSystemStartUp({PrepareSystemColors, CreateSystemFonts, StartWindowSystem});
    SetSystemMessageDialog(SystemMessageDialog);
    // Window objects meet the menus and the effect player: menu objects draw and open their
    // menus, message objects draw their text through the effect player.
    SetMenuObjectReader(ReadMenuObject);
    g_object_menu_drawer = DrawObjectMenu;
    SetEffectMessageReader(ReadMessageObject);
    g_redraw_effect = RedrawEffect;
    ProgramHooks program;
    program.run = run_cycles_until_stopped;
    program.request_stop = request_stop;
    program.stopping = stopping;
    program.running = running;
    program.close_request = close_request;
    HostSetProgramHooks(program);
}

int RunSystem(const HostOptions& options) {
    InstallSystemHooks();
    HostSystem system;
    system.start_up = AppStartUp;
    system.debug_monitor = debug_monitor_wanted;
    system.configured_screen = configured_screen;
    system.pool_use = pool_use;
    return HostMain(options, system);
}
