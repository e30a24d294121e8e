// The screen itself belongs to the scenario interpreter and the screen builder; this file only
// decides what to show, in which order, and reaches them through the game's hooks.
#include "game/rebuild_screen.h"

#include <cstring>

#include "core/log.h"
#include "game/scenario_context.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "resource/resource.h"

namespace {

void copy_cut(char* out, size_t size, const char* text) {
    size_t n = strnlen(text, size - 1);
    std::memcpy(out, text, n);
    out[n] = '\0';
}

}  // namespace

int rebuild_screen(IlvaneGame& game, Handle task) {
    GameHooks& hooks = game.hooks;
    if (hooks.show_selecter) hooks.show_selecter(game, false);

    const char* background = game.gsys ? GetStr(game.gsys, "backgraphic_name") : nullptr;
    if (background) {
        char file[kGameTextSize];
        copy_cut(file, sizeof file, background);
        copy_cut(game.background_file, sizeof game.background_file, file);
        if (hooks.show_background) hooks.show_background(game, task, file);
    } else if (hooks.show_background_from_format) {
        hooks.show_background_from_format(game, task);
    }

    const char* list = game.gsys ? GetStr(game.gsys, "menu_str") : nullptr;
    copy_cut(g_scenario.select_list, sizeof g_scenario.select_list, list ? list : "");
    if (hooks.fill_select_menu) hooks.fill_select_menu(game, g_scenario.select_list);

    g_scenario.drawing = false;
    int pending = game.gsys ? GetNum(game.gsys, "select_menu") : -1;
    g_scenario.select_pending = pending > 0;
    background = game.gsys ? GetStr(game.gsys, "backgraphic_name") : nullptr;
    LogLinef("読み込み　SelectMenu :%d back_graphic %s"_sj, int(g_scenario.select_pending),
             background ? background : "");
    if (g_scenario.select_pending && hooks.show_selecter) hooks.show_selecter(game, true);

    const char* base = game.gsys ? GetStr(game.gsys, "base_text") : nullptr;
    if (base) {
        copy_cut(g_scenario.text, sizeof g_scenario.text, base);
        g_scenario.continuation = 0;
    } else {
        MessageDialog("gsysにbase_textがない"_sj);
    }
    if (hooks.text_step) hooks.text_step(game, task);
    return 1;
}
