#include "game/game_actions.h"

#include <cstdio>
#include <cstring>

#include "game/auto_save.h"
#include "game/background_name.h"
#include "game/game_resources.h"
#include "game/game_task.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/screen.h"
#include "game/settings.h"
#include "game/status_sheet.h"
#include "kernel/dialog.h"
#include "kernel/event.h"
#include "kernel/task.h"
#include "present/anime_data.h"
#include "resource/resource.h"
#include "window/graphic.h"
#include "window/object.h"
#include "window/win_bitmap.h"
#include "window/window.h"

namespace {

// Seconds a highlighted change stays before the sheet is drawn again.
constexpr int kHighlightSeconds = 3;

void send_anime(Handle task, uint32_t request, Handle window, const char* script) {
    EventRecord* e = event_record(SendEvent(TaskId(task), TASK_ID_ANIME, EVENT_EFFECT_REQUEST));
    if (!e) return;
    e->long_a = request;
    AnimeRequestData d = {};
    d.window = window;
    if (script) std::snprintf(d.script, sizeof d.script, "%s", script);
    std::memcpy(e->data, &d, sizeof d);
}

Handle cut_in_object(int slot) {
    return ReqObject(g_game.main_window, uint16_t(kCutinObject + slot));
}

// Opens cut-in window n at its default place, beside the status window.
void open_cut_in_window(Handle object) {
    const int x = (g_game.screen.small_sts ? 180 : 140) + 10;
    OpenSubWindow(object, x, g_game.screen.status_y);
}

}  // namespace

void show_background_file(IlvaneGame& game, Handle task, const char* file) {
    if (!file || !file[0]) return;
    // The picture on the screen already: nothing to draw again.
    const GraphicRecord* shown = graphic_record(game.screen.background);
    if (shown && std::strncmp(file, shown->name, sizeof shown->name) == 0) return;
    Handle picture = LoadGraphic(task, 0, file);
    if (!picture) return;
    std::snprintf(game.background_file, sizeof game.background_file, "%s", file);
    Handle old = game.screen.background;
    game.screen.background = picture;
    if (ObjectRecord* o = object_record(ReqObject(game.main_window, kBackgroundObject))) {
        // The picture goes into the object and the whole main window is drawn again, its
        // objects over the new picture in their order.
        o->data = picture;
        set_window_mode(o->window, WIN_SHOW);
    } else {
        // The start picture did not load: the background object comes with the first one.
        const WindowRecord* w = window_record(game.main_window);
        if (w)
            GraphicObject(game.main_window, kBackgroundObject, 0, 0, w->width,
                          game.screen.graphic_height > 0 ? game.screen.graphic_height : w->height,
                          picture);
    }
    g_flow.redraw_pending = true;
    if (old && old != picture) FreeGraphic(task, 0, old);
}

void show_background_from_format(IlvaneGame& game, Handle task) {
    char file[kGameTextSize];
    bg_file_name(game, file, sizeof file);
    show_background_file(game, task, file);
}

void load_bg_format(IlvaneGame& game, const char* key) {
    ReadSetting(key, game.bg_format, sizeof game.bg_format);
    if (game.gsys) SetStr(game.gsys, "bg_format", game.bg_format);
}

bool open_cut_in(Handle task, int slot, const char* file) {
    if (slot < 0 || slot >= int(g_game.cutin_windows.size())) return false;
    Handle object = cut_in_object(slot);
    Handle window = g_game.cutin_windows[size_t(slot)];
    if (!object || !window) return false;
    if (CutInIsAnimation(slot)) {
        open_cut_in_window(object);
        send_anime(task, ANIME_START, window, file);
        return true;
    }
    Handle picture = LoadGraphic(task, 0, file);
    if (!picture) return false;
    Handle& held = g_game.cutin_pictures[size_t(slot)];
    if (held) FreeGraphic(task, 0, held);
    held = picture;
    open_cut_in_window(object);
    return true;
}

void close_cut_in(Handle task, int slot) {
    if (slot < 0 || slot >= int(g_game.cutin_windows.size())) return;
    Handle window = g_game.cutin_windows[size_t(slot)];
    if (CutInIsAnimation(slot)) send_anime(task, ANIME_STOP, window, nullptr);
    if (window && test_window_mode(window, WIN_SHOW))
        if (Handle object = cut_in_object(slot)) CloseSubWindow(object);
    Handle& held = g_game.cutin_pictures[size_t(slot)];
    if (held) FreeGraphic(task, 0, held);
    held = 0;
}

void draw_cut_in(int slot) {
    Handle picture = g_game.cutin_pictures[size_t(slot)];
    const GraphicRecord* g = graphic_record(picture);
    if (g) WinDrawBitmap(g_game.cutin_windows[size_t(slot)], 0, 0, g->bitmap);
}

int highlight_and_count(const char* expression) {
    int highlighted = highlight_changes(g_game, expression);
    if (highlighted) g_game.highlight_countdown = kHighlightSeconds;
    return highlighted;
}

Handle switch_player(const char* name) {
    Handle player = get_player(g_game, name);
    if (!player) {
        char text[64];
        std::snprintf(text, sizeof text, "no player data! (%s)", name);
        MessageDialog(text);
    }
    return player;
}

const char* game_mode_word(int slot, int position) {
    if (slot < 1 || slot > g_game.modes.count || position < 0 || position >= kModeWords)
        return nullptr;
    return g_game.modes.words[slot - 1][position];
}

void act_show_background_format(Handle task) {
    show_background_from_format(g_game, task);
}
void act_show_background_file(Handle task, const char* file) {
    show_background_file(g_game, task, file);
}
void act_load_bg_format(Handle, const char* key) {
    load_bg_format(g_game, key);
}
void act_open_status(Handle) {
    show_status_window(g_game, true);
}
void act_close_status(Handle) {
    show_status_window(g_game, false);
}
void act_redraw_status(Handle) {
    draw_status_sheet(g_game);
}
int act_highest_sheet() {
    return g_game.highest_sheet;
}
void act_switch_sheet(int sheet) {
    g_game.now_sheet = sheet;
}
void act_open_result(Handle task) {
    open_save_window(task, int(SaveWindowMode::Result));
}
int act_auto_save(Handle task) {
    return auto_save(g_game, task);
}
int act_restore_save(Handle task) {
    return restore_save(g_game, task);
}

void hook_fill_select_menu(IlvaneGame&, const char* list) {
    FillSelectMenu(list);
}

void hook_show_selecter(IlvaneGame& game, bool shown) {
    show_selecter(game, shown);
    if (shown && g_scenario.select_pending) enable_load_save(g_flow.task, true);
}

void hook_text_step(IlvaneGame&, Handle task) {
    text_step(task);
}
