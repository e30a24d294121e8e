// The game's three menus (debug, side, select) and what their items do, and the debug light.
#include <cstring>

#include "core/log.h"
#include "game/game_data.h"
#include "game/game_task.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/screen.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "kernel/event.h"
#include "resource/resource_file.h"
#include "window/colors.h"
#include "window/draw.h"

namespace {

enum MenuValue : int {
    MENU_SAVE = 1000,
    MENU_LOAD = 1002,
    MENU_RESULT = 1003,
    MENU_SAVE_LISTS = 1004,
    MENU_STATUS = 1006,
    MENU_DEBUG = 1007,
    MENU_END = 1009,
};

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kYellow = 0x00FFFF;
constexpr uint32_t kDefaultGreen = 0x28961E;  // red 30, green 150, blue 40

void save_lists(Handle task) {
    for (Handle resource : {g_game.text_lib, g_game.characters, g_game.play_list})
        if (resource) SaveResource(task, resource);
}

// `ask`: the side menu's END asks first; the debug menu's ends at once.
void run(Handle task, int value, bool ask) {
    switch (value) {
        case MENU_SAVE_LISTS:
            save_lists(task);
            break;
        case MENU_SAVE:
            open_save_window(task, int(SaveWindowMode::Save));
            break;
        case MENU_LOAD:
            open_save_window(task, int(SaveWindowMode::Load));
            break;
        case MENU_DEBUG:
            g_scenario.debug = !g_scenario.debug;
            break;
        case MENU_RESULT:
            open_save_window(task, int(SaveWindowMode::Result));
            break;
        case MENU_STATUS:
            show_status_window(g_game, true);
            break;
        case MENU_END:
            if (!ask || YesNoDialog("ゲームを終了しますか？"_sj) == 1) RequestShutDown(task);
            break;
        default:
            break;
    }
}

}  // namespace

void run_menu_action(Handle task, int value) {
    run(task, value, false);
}

void game_menu(Handle task, const EventRecord& e) {
    uint16_t value;
    std::memcpy(&value, e.data, sizeof value);
    Handle menu;
    std::memcpy(&menu, e.data + 4, sizeof menu);
    if (menu && menu == g_game.screen.debug_menu) {
        LogLinef("rev popupmenu return %d", int(value));
        run(task, value, false);
    } else if (menu && menu == g_game.screen.side_menu) {
        run(task, value, true);
    } else if (menu && menu == g_game.screen.select_menu) {
        SelectMenu(task, value);
    } else {
        LogLine("ERROR DuskIlvane is unknown menu number.");
    }
}

void debug_light() {
    g_flow.light_phase = !g_flow.light_phase;
    uint32_t color;
    if (g_flow.light_phase)
        color = g_flow.auto_play ? kRed : kYellow;
    else
        color = g_scenario.drawing ? kDefaultGreen : ColorByName("lightgray");
    FillRectangle(g_game.main_window, 50, 550, 10, 10, color);
}
