// The game's event loop: one event a cycle, handled by its code, then the Ctrl key's page
// turning. The handlers for keys, menus, swipes and the form live in files of their own.
#include "game/game_task.h"

#include <cstring>

#include "core/log.h"
#include "core/system.h"
#include "game/backlog.h"
#include "game/game_actions.h"
#include "game/game_data.h"
#include "game/result_screen.h"
#include "game/save_slot.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/screen.h"
#include "game/slot_grid.h"
#include "game/status_sheet.h"
#include "host/input.h"
#include "host/screen.h"
#include "host/services.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "present/anime_data.h"
#include "present/effect_data.h"
#include "present/effect_task.h"
#include "resource/resource.h"
#include "window/draw.h"
#include "window/menu.h"
#include "window/object.h"
#include "window/redraw.h"
#include "window/win_text.h"
#include "window/window.h"
#include "window/window_events.h"
#include "window/window_manager.h"

GameFlow g_flow;

namespace {

constexpr uint16_t kLeftButton = 1;
constexpr uint16_t kRightButton = 2;

bool main_window_exists() {
    return window_record(g_game.main_window) != nullptr;
}

Handle message_object() {
    return ReqObject(g_game.main_window, kMessageObject);
}

bool save_window_open() {
    return g_game.save_mode != SaveWindowMode::None;
}

uint16_t read_u16(const char* data) {
    uint16_t v;
    std::memcpy(&v, data, sizeof v);
    return v;
}

Handle read_handle(const char* data) {
    Handle v;
    std::memcpy(&v, data, sizeof v);
    return v;
}

// Effect notices: the page is done (or was replaced).
void effect_notice(Handle task, const EventRecord& e) {
    if (e.code == EFFECT_STOPPED) {
        g_scenario.effect_x = read_u16(e.data + 8);
        g_scenario.effect_y = read_u16(e.data + 10);
    }
    if (e.code == EFFECT_REPLACED && !(!g_scenario.drawing && g_scenario.select_pending)) return;
    g_scenario.drawing = false;
    if (!main_window_exists()) return;
    if (g_scenario.select_pending)
        prompt_select(task);
    else
        prompt_page_done(task);
}

// A left click in one of the game's windows (774 with the left button).
bool left_click(Handle task, const EventRecord& e) {
    if (g_flow.backlog_open) {
        g_flow.backlog_open = false;
        close_backlog(g_game, task);
        redraw_main_window();
        return false;
    }
    if (e.value == g_game.save_window && save_window_open()) {
        if (g_game.save_mode == SaveWindowMode::Result) {
            close_save_window(task);
            return true;
        }
        if (slot_click(g_game, task, int16_t(e.word_a), int16_t(e.word_b)) == 1) {
            close_save_window(task);
        } else {
            const WindowRecord* w = window_record(g_game.save_window);
            if (w) FillRectangleGC(g_game.save_window, 0, 0, w->width, w->height, w->gc);
            draw_slot_grid(g_game, task);
        }
        return true;
    }
    // The status window is an object sub-window: its clicks come as clicks on the main window.
    const int x = client_left(e.value) + int16_t(e.word_a);
    const int y = client_top(e.value) + int16_t(e.word_b);
    if (e.value == g_game.main_window && test_window_mode(g_game.status_window, WIN_SHOW) &&
        point_in_window(g_game.status_window, x, y)) {
        if (g_game.highest_sheet != 0) {
            g_game.now_sheet = g_game.now_sheet >= g_game.highest_sheet ? 0 : g_game.now_sheet + 1;
            draw_status_sheet(g_game);
        }
        return true;
    }
    if (!save_window_open() && (g_window_manager.last_buttons & kLeftButton)) press(task, e);
    return true;
}

// Draws the contents of one of the game's own windows; false when it is none of them.
bool draw_contents(Handle task, Handle window) {
    if (!window) return false;
    if (window == g_game.backlog_window) {
        draw_backlog(g_game);
    } else if (window == g_game.save_window) {
        if (g_game.save_mode == SaveWindowMode::Result)
            draw_result(g_game);
        else
            draw_slot_grid(g_game, task);
    } else if (window == g_game.status_window) {
        draw_status_sheet(g_game);
    } else {
        for (size_t n = 0; n < g_game.cutin_windows.size(); ++n)
            if (window == g_game.cutin_windows[n]) {
                draw_cut_in(int(n));
                return true;
            }
        return false;
    }
    return true;
}

void draw_request(Handle task, Handle window) {
    // A redraw motion asks for an object sub-window while it still cannot be drawn into: its
    // contents are drawn once the motion is over.
    if (!window_drawable(window)) {
        for (Handle& late : g_flow.late_draws)
            if (!late || late == window) {
                late = window;
                break;
            }
    } else {
        draw_contents(task, window);
    }
    RetDrawEvent(task, window);
}

void second_changed(Handle task) {
    if (g_game.highlight_countdown > 0) {
        if (g_game.highlight_countdown == 1) draw_status_sheet(g_game);
        --g_game.highlight_countdown;
    }
    if (g_scenario.debug) debug_light();
    if (g_flow.auto_play && !g_scenario.drawing && !g_scenario.select_pending &&
        main_window_exists())
        action_ilvane(task);
    if (g_flow.swipe != SWIPE_NONE && g_flow.swipe_work) swipe_track(task);
}

void object_notice(Handle task, const EventRecord& e) {
    if (save_window_open()) return;
    uint16_t number = uint16_t(e.long_a & 0xFFFF);
    if (number == kMessageObject && e.value == g_game.main_window) {
        press(task, e);
    } else if (number == kBacklogObject) {
        g_flow.backlog_open = false;
        close_backlog(g_game, task);
    }
}

void shutdown_notice() {
    // The main window goes with the system: its page's text effect must not draw any more.
    Handle object = message_object();
    if (Handle effect = object ? FindEffectByObject(object, EFFECT_TEXT) : 0) RemoveEffect(effect);
}

}  // namespace

void ResetGameFlow() {
    g_flow = GameFlow{};
}

void redraw_main_window() {
    if (!main_window_exists()) return;
    mark_with_cover(g_game.main_window);
    start_redraw_motion();
}

bool handle_game_event(Handle task, const EventRecord& e) {
    // Until the form exists (no start yet, or its data did not load) only a start counts: the
    // keys and clicks broadcast to every task are someone else's.
    if (e.code != EVENT_START && !main_window_exists()) return true;
    switch (e.code) {
        case EVENT_START:
            game_start(task, e);
            return true;
        case EVENT_WINDOW_CLOSED:
            if (e.value && e.value == g_game.backlog_window) g_flow.backlog_open = false;
            return true;
        case EVENT_WINDOW_OPENED:
            if (g_scenario.active_select && e.value && e.value == g_game.main_window) {
                show_selecter(g_game, true);
                enable_load_save(task, true);
            }
            return true;
        case EVENT_MOUSE_UP:
            if (g_flow.swipe != SWIPE_NONE) {
                if (HostSleep() != 0) return false;
                swipe_ok(task);
            }
            return true;
        case EVENT_MOUSE_DOWN: {
            uint16_t buttons = uint16_t(e.long_a >> 16);
            if (buttons == kRightButton) {
                if (e.value && e.value == g_game.save_window && save_window_open())
                    close_save_window(task);
                return true;
            }
            if (buttons == kLeftButton) return left_click(task, e);
            return true;
        }
        case EVENT_REQ_DRAW:
            draw_request(task, e.value);
            return true;
        case EFFECT_DONE:
        case EFFECT_STOPPED:
        case EFFECT_REPLACED:
            effect_notice(task, e);
            return true;
        case EVENT_ANIME_END:
            if (e.word_a == 0) {
                Handle window = read_handle(e.data + 4);
                for (size_t n = 0; n < g_game.cutin_windows.size(); ++n)
                    if (window && g_game.cutin_windows[n] == window) close_cut_in(task, int(n));
            }
            return true;
        case EVENT_HALF_SECOND:
        case EVENT_QUARTER_SECOND:
            if (g_flow.swipe != SWIPE_NONE && g_flow.swipe_work) swipe_track(task);
            return true;
        case EVENT_SECOND:
            second_changed(task);
            return true;
        case EVENT_KEY:
            return game_key(task, e);
        case EVENT_SHUTDOWN:
            shutdown_notice();
            return true;
        case EVENT_OBJECT_NOTICE:
            object_notice(task, e);
            return true;
        case EVENT_MENU_SELECT:
            game_menu(task, e);
            return true;
        default:
            return true;
    }
}

void game_cycle_end(Handle task) {
    if (g_flow.late_draws[0] && !TestSystemFlag(FLAG_REDRAW_MOTION)) {
        // Each window is drawn now if it can be; one that is no longer shown is dropped. A
        // window the depth pass leaves undrawable (a sibling's frame overlaps it, as a cut-in's
        // overlaps the status window) never becomes drawable by waiting: it is redrawn with
        // what covers it, and that motion's draw request finds it drawable. Such a request is
        // missed when two motions overlap: a load redraws the main window while the closing
        // save window starts a motion of its own.
        bool redraw = false;
        for (Handle& late : g_flow.late_draws) {
            if (late && test_window_mode(late, WIN_SHOW | WIN_OPEN)) {
                if (window_drawable(late)) {
                    draw_contents(task, late);
                } else {
                    mark_with_cover(late);
                    redraw = true;
                }
            }
            late = 0;
        }
        if (redraw) start_redraw_motion();
    }
    if (g_flow.redraw_pending && !TestSystemFlag(FLAG_REDRAW_MOTION)) {
        g_flow.redraw_pending = false;
        redraw_main_window();
    }
    if (save_window_open() || !main_window_exists() || g_scenario.select_pending) return;
    if (HostModifiers() & MOD_CONTROL) action_ilvane(task);
}

void game_task(Handle task) {
    g_flow.task = task;
    bool go_on = true;
    if (ReciveEvent(task) == RECEIVE_EVENT) {
        const EventRecord* record = event_record(CurrentEvent(task));
        if (record) {
            EventRecord e = *record;
            go_on = handle_game_event(task, e);
        }
    }
    if (go_on) game_cycle_end(task);
}

int open_save_window(Handle task, int mode) {
    LogLine("OPEN SAVEMENU");
    g_game.save_mode = SaveWindowMode(mode);
    SendWindowPointEvent(task, g_game.save_window, 0, 0);
    return 1;
}

void close_save_window(Handle task) {
    g_game.save_mode = SaveWindowMode::None;
    SendWindowEvent(task, g_game.save_window);
}

int press(Handle task, const EventRecord& e) {
    if (g_scenario.drawing) {
        g_scenario.drawing = false;
        if (Handle object = message_object()) RedrawEffect(task, object, 0);
        return 1;
    }
    if (!g_scenario.select_pending) {
        action_ilvane(task);
    } else if (g_window_manager.last_buttons & kLeftButton) {
        g_flow.press_x = int16_t(e.word_a);
        g_flow.press_y = int16_t(e.word_b);
        if (g_flow.button_picture) g_flow.swipe = SWIPE_PRESSED;
    }
    return 1;
}

void prompt_page_done(Handle) {
    WinCenterMessage(g_game.main_window, g_screen_height - 50, "PushAnyKey",
                     g_game.screen.gc_standard);
}

void prompt_select(Handle task) {
    WinCenterMessage(g_game.main_window, g_screen_height - 50, "Select Menu",
                     g_game.screen.gc_side);
    if (Handle object = message_object()) RedrawEffect(task, object, 0);
    show_selecter(g_game, true);
    enable_load_save(task, true);
}

void enable_load_save(Handle, bool enable) {
    Handle menu = g_game.screen.side_menu;
    if (!menu) return;
    for (int item : {1, 2}) {
        bool disabled = TestMenuItemFlags(menu, item, ITEM_DISABLED) != 0;
        if (disabled == !enable) continue;
        ToggleMenuItemFlags(menu, item, ITEM_DISABLED, false);
    }
    if (main_window_exists()) DrawObject(g_game.main_window, kSideMenuObject);
}

void set_auto_play(Handle, bool on) {
    g_flow.auto_play = on;
    if (g_flow.auto_play_item) SetNum(g_game.player, "auto_play", on ? 1 : 0);
}

void end_game(Handle task) {
    if (main_window_exists()) DestroyWindow(g_game.main_window);
    g_game.main_window = 0;
    for (Handle* menu :
         {&g_game.screen.debug_menu, &g_game.screen.select_menu, &g_game.screen.side_menu}) {
        if (*menu) DeleteMenu(*menu);
        *menu = 0;
    }
    RequestShutDown(task);
}

void bad_end(Handle task) {
    MessageDialog("バッドエンド！"_sj);
    end_game(task);
}
