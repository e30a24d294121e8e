// The start event and the form: the first start builds the game (data, screen, menus, swipe
// pictures) and finds the first record; every start reads the settings again, sets the window
// title and plays a page.
#include <cstdio>

#include "core/log.h"
#include "game/backlog.h"
#include "game/game_data.h"
#include "game/game_init.h"
#include "game/game_resources.h"
#include "game/game_task.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/screen.h"
#include "game/settings.h"
#include "host/bitmap.h"
#include "host/services.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "kernel/event.h"
#include "resource/resource.h"
#include "window/graphic.h"
#include "window/window.h"

namespace {

// Start modes: word A of the start event, chosen by the start screen's buttons.
constexpr uint16_t kStartLoad = 1002;
constexpr uint16_t kStartEnd = 1003;
constexpr uint16_t kStartMode991 = 1991;

constexpr int kSwipeWorkWidth = 200;
constexpr int kSwipeWorkHeight = 100;

bool main_window_exists() {
    return window_record(g_game.main_window) != nullptr;
}

void set_title() {
    char title[kGameTextSize + 32];
    std::snprintf(title, sizeof title, "%s  -%s v%s-", g_game.title, kGameName, kGameVersion);
    HostSetTitle(title);
    LogLine(title);
}

}  // namespace

bool create_form(Handle task, const EventRecord& start) {
    create_fonts(g_game);
    if (load_game_data(g_game, task) != 0) {
        MessageDialog("DuskIlvane create form ERROR");
        return false;
    }
    g_flow.auto_play_item = GetNum(g_game.player, "auto_play") != -1;
    if (SettingSwitch("DebugMode")) g_scenario.debug = true;
    if (create_screen(g_game, task)) SendWindowPointEvent(task, g_game.main_window, 0, 0);
    create_backlog(g_game, task);
    show_selecter(g_game, false);
    if (start.word_a == kStartLoad) open_save_window(task, int(SaveWindowMode::Load));
    if (SettingSwitch("INPUT_SWIPE")) {
        LogLine("create swipe graphic work.");
        g_flow.swipe_work = HostCreateBitmap(kSwipeWorkWidth, kSwipeWorkHeight);
        g_flow.button_picture = LoadGraphic(task, 0, "system\\button.bmp");
        if (!g_flow.button_picture) MessageDialog("Swipeボタン画像が無い"_sj);
    }
    enable_load_save(task, false);
    if (!SettingSwitch("STS_NO_OPEN")) show_status_window(g_game, true);
    g_scenario.record = find_scenario_record(task);
    return true;
}

void game_start(Handle task, const EventRecord& e) {
    if (main_window_exists()) {
        if (e.word_a == kStartLoad)
            open_save_window(task, int(SaveWindowMode::Load));
        else
            SendWindowPointEvent(task, g_game.main_window, 0, 0);
    }
    LogLinef("%s %s  start!", kGameName, kGameVersion);
    init_ilvane(g_game, task);
    set_title();
    if (e.word_a == kStartEnd) RequestShutDown(task);
    if (!g_game.player && !create_form(task, e)) return;
    if (e.word_a == kStartMode991) SetNum(g_game.player, "mode", 991);
    if (main_window_exists()) action_ilvane(task);
}
