#include "app/compose.h"

#include "app/start_up.h"
#include "core/config.h"
#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "game/auto_save.h"
#include "game/game_actions.h"
#include "game/game_data.h"
#include "game/game_task.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/screen.h"
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
    game_task(task);
    if (g_editor_task) EditTask(g_editor_task);
}

}  // namespace

void InstallGameActions() {
    // The interpreter's calls into the rest of the game.
    ScenarioContext& s = g_scenario;
    s.show_background_format = act_show_background_format;
    s.show_background_file = act_show_background_file;
    s.load_bg_format = act_load_bg_format;
    s.open_status = act_open_status;
    s.close_status = act_close_status;
    s.redraw_status = act_redraw_status;
    s.highest_sheet = act_highest_sheet;
    s.switch_sheet = act_switch_sheet;
    s.highlight_changes = highlight_and_count;
    s.open_result = act_open_result;
    s.auto_save = act_auto_save;
    s.restore_save = act_restore_save;
    s.get_player = switch_player;
    s.open_cut_in = open_cut_in;
    s.close_cut_in = close_cut_in;
    s.bad_end = bad_end;
    s.set_auto_play = set_auto_play;
    s.enable_load_save = enable_load_save;
    s.mode_word = game_mode_word;
    // What loading a slot or restoring the automatic save asks of the interpreter and screen.
    GameHooks& h = g_game.hooks;
    h.show_background = show_background_file;
    h.show_background_from_format = show_background_from_format;
    h.fill_select_menu = hook_fill_select_menu;
    h.show_selecter = hook_show_selecter;
    h.show_status_window = show_status_window;
    h.text_step = hook_text_step;
}

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
    InstallGameActions();
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
