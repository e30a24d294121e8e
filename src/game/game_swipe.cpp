// Swipe input over a pending choice: a press on the page, a drag of more than 50 pixels to the
// left or right shows the button of choice 1 or 2 (one choice: the middle button at once), and
// the release takes the choice of the button shown.
#include "core/log.h"
#include "game/game_data.h"
#include "game/game_task.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "window/colors.h"
#include "window/gc.h"
#include "window/graphic.h"
#include "window/menu.h"
#include "window/win_bitmap.h"
#include "window/win_text.h"
#include "window/window.h"

namespace {

constexpr int kButtonY = 250;
constexpr int kButtonWidth = 200;
constexpr int kButtonHeight = 100;
constexpr int kLeftX = 100;
constexpr int kMiddleX = 300;
constexpr int kRightX = 500;
constexpr int kSwipeDistance = 50;

int button_x(int state) {
    switch (state) {
        case SWIPE_LEFT:
            return kLeftX;
        case SWIPE_RIGHT:
            return kRightX;
        default:
            return kMiddleX;
    }
}

// Where "get_menustr ERROR" stands for each button.
int error_x(int state) {
    switch (state) {
        case SWIPE_LEFT:
            return 110;
        case SWIPE_RIGHT:
            return 510;
        default:
            return 300;
    }
}

void show_button(int state, int item) {
    Handle main = g_game.main_window;
    int x = button_x(state);
    WinSaveArea(main, x, kButtonY, kButtonWidth, kButtonHeight, g_flow.swipe_work);
    if (const GraphicRecord* g = graphic_record(g_flow.button_picture))
        WinDrawBitmap(main, x, kButtonY, g->bitmap);
    const MenuItem* m = menu_item(g_game.screen.select_menu, item);
    if (!m || !m->label[0]) {
        WinColorMessage(main, error_x(state), 260, "get_menustr ERROR", ColorByName("white"));
        return;
    }
    Handle gc = g_game.screen.gc_title;
    SetGCFont(gc, g_game.screen.font_huge);
    WinGCMessage(main, x + 30, 275, m->label, gc);
    SetGCFont(gc, g_game.screen.font_title);
}

void hide_button(int state) {
    WinPutBitmap(g_game.main_window, button_x(state), kButtonY, kButtonWidth, kButtonHeight,
                 g_flow.swipe_work);
}

}  // namespace

bool swipe_enabled() {
    return g_flow.button_picture != 0;
}

void swipe_track(Handle task) {
    Handle main = g_game.main_window;
    int x = mouse_x_in(main, task);
    int y = mouse_y_in(main, task);
    if (x < 0 && y < 0) {
        swipe_ok(task);
        return;
    }
    int& state = g_flow.swipe;
    if (state == SWIPE_SINGLE) return;
    if (g_scenario.select_count == 1) {
        show_button(SWIPE_SINGLE, 1);
        state = SWIPE_SINGLE;
        return;
    }
    const int px = g_flow.press_x;
    if (state == SWIPE_LEFT && x > px - kSwipeDistance) {
        hide_button(SWIPE_LEFT);
        state = SWIPE_PRESSED;
    }
    if (state == SWIPE_RIGHT && x < px + kSwipeDistance) {
        hide_button(SWIPE_RIGHT);
        state = SWIPE_PRESSED;
    }
    if (x < px - kSwipeDistance) {
        if (state != SWIPE_LEFT) show_button(SWIPE_LEFT, 1);
        state = SWIPE_LEFT;
    } else if (x > px + kSwipeDistance) {
        if (state != SWIPE_RIGHT) show_button(SWIPE_RIGHT, 2);
        state = SWIPE_RIGHT;
    } else {
        state = SWIPE_PRESSED;
    }
}

void swipe_ok(Handle task) {
    int state = g_flow.swipe;
    if (state == SWIPE_LEFT || state == SWIPE_RIGHT || state == SWIPE_SINGLE) hide_button(state);
    LogLine("swipe_ok()");
    int item = state == SWIPE_RIGHT ? 2 : 1;
    int32_t value = (state == SWIPE_LEFT || state == SWIPE_RIGHT || state == SWIPE_SINGLE)
                        ? int32_t(MenuItemValue(g_game.screen.select_menu, item))
                        : 0;
    g_flow.swipe = SWIPE_NONE;
    if (value > 0) SelectMenu(task, value);
}
