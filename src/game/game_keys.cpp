// The keys of the game: Escape, the backlog's scroll keys and wheel codes, auto play on "A",
// Return to go on, and Return as the keyboard choice, which always takes choice 0.
#include <string>

#include "core/log.h"
#include "game/backlog.h"
#include "game/game_data.h"
#include "game/game_task.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/screen.h"
#include "host/screen.h"
#include "kernel/key_task.h"
#include "window/draw.h"
#include "window/menu.h"
#include "window/object.h"
#include "window/window.h"

namespace {

constexpr int kKeyReturn = 13;
constexpr int kKeyEscape = 15;
constexpr int kKeyAutoPlay = 65;

bool selecter_shown() {
    const ObjectRecord* o = object_record(ReqObject(g_game.main_window, kSelecterObject));
    return o && test_window_mode(o->window, WIN_SHOW);
}

void escape(Handle task) {
    if (g_game.save_mode != SaveWindowMode::None) {
        close_save_window(task);
        return;
    }
    if (g_game.backlog_window && test_window_mode(g_game.backlog_window, WIN_OPEN)) {
        g_flow.backlog_open = false;
        close_backlog(g_game, task);
        return;
    }
    const ObjectRecord* o = object_record(ReqObject(g_game.main_window, kMessageObject));
    if (!o) return;
    Handle window = o->window;
    if (test_window_mode(window, WIN_SHOW)) {
        HideObject(g_game.main_window, kMessageObject);
        redraw_main_window();
        return;
    }
    const WindowRecord* w = window_record(window);
    if (w) WinSemitransRectangle(window, 0, 0, w->width, w->height, 50 | (50 << 8));
    ShowObject(g_game.main_window, kMessageObject, 80,
               g_screen_height - g_game.screen.text_height - 20);
}

// Return while the selecter is shown: item 0 is marked, and after a pause choice 0 is taken.
void keyboard_choice(Handle task) {
    if (!selecter_shown()) return;
    Handle menu = g_game.screen.select_menu;
    int32_t value = int32_t(MenuItemValue(menu, 0));
    if (value < 0) return;
    ToggleMenuItemFlags(menu, 0, ITEM_HIGHLIGHT, true);
    Delay(40);
    SelectMenu(task, 0);
    // The second number is never printed: the log line is written so.
    LogLine(("select no" + std::to_string(0) + "  ret &d").c_str());
}

}  // namespace

bool game_key(Handle task, const EventRecord& e) {
    const int code = e.word_a & 0xFF;
    if (code == kKeyEscape) {
        escape(task);
        return false;
    }
    if (g_game.save_mode != SaveWindowMode::None) return true;
    if (is_backlog_key(code)) {
        if (!g_flow.backlog_open) {
            g_flow.backlog_open = true;
            open_backlog(g_game, task);
            return false;
        }
        scroll_backlog(g_game, code);
        return false;
    }
    if (g_flow.backlog_open) return true;
    if (g_scenario.select_pending && !selecter_shown()) {
        prompt_select(task);
        g_scenario.drawing = false;
    }
    if (code == kKeyAutoPlay) set_auto_play(task, !g_flow.auto_play);
    if (code == kKeyReturn) press(task, e);
    if (g_scenario.select_pending) {
        if (code == kKeyReturn) keyboard_choice(task);
        return false;
    }
    return true;
}
