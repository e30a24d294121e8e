// Every object of the game lives in the main window and is made here, once; later code finds
// them by number. Keys of the settings file decide sizes: a missing height or width key keeps
// the standard layout for an 800 x 600 screen.
#include "game/screen.h"

#include <cstdio>
#include "core/log.h"

#include "core/system.h"
#include "game/settings.h"
#include "host/screen.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "window/backing_store.h"
#include "window/colors.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/graphic.h"
#include "window/menu.h"
#include "window/object.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

constexpr int kMessageWidth = 700;
constexpr int kSideMenuHeight = 140;

Handle named_gc(const char* text, const char* fill, const char* edge1, const char* edge2,
                Handle font) {
    Handle gc =
        CreateGC(ColorByName(fill), ColorByName(edge1), ColorByName(edge2), ColorByName(text));
    if (gc && font) SetGCFont(gc, font);
    return gc;
}

void make_debug_menu(Handle menu) {
    const char* blank = " ";
    SetMenuItem(menu, 1, "Pﾘｽﾄ保存"_sj, blank, 1004);
    SetMenuItem(menu, 3, "保存"_sj, blank, 1000);
    SetMenuItem(menu, 4, "読込"_sj, blank, 1002);
    SetMenuItem(menu, 5, "DEBUG", blank, 1007);
    SetMenuItem(menu, 6, "リザルト"_sj, blank, 1003);
    SetMenuItem(menu, 7, "STS表示"_sj, blank, 1006);
    ToggleMenuItemFlags(menu, 8, ITEM_SEPARATOR, false);
    SetMenuItem(menu, 9, "ゲーム終了"_sj, blank, 1009);
}

void make_side_menu(Handle menu) {
    SetMenuItem(menu, 1, "LOAD", " ", 1002);
    SetMenuItem(menu, 2, "SAVE", " ", 1000);
    SetMenuItem(menu, 5, "END", " ", 1009);
}

// A sub-window object that its owner draws, hidden until opened.
Handle hidden_sub_window(Handle main, uint16_t number, int x, int y, int width, int height,
                         uint32_t mode, Handle gc) {
    Handle object = SubWindow(main, number, x, y, width, height, mode);
    ObjectRecord* o = object_record(object);
    if (!o) return 0;
    Handle window = o->window;
    if (gc) set_window_gc(window, gc);
    clear_window_mode(window, WIN_SHOW);
    return window;
}

int positive_or(int value, int fallback) {
    return value >= 1 ? value : fallback;
}

}  // namespace

void create_fonts(IlvaneGame& game) {
    GameScreen& s = game.screen;
    s.font_tiny = CreateFont(10, 10, 2, nullptr);
    s.font_standard = CreateFont(12, 14, 2, nullptr);
    s.font_medium = CreateFont(16, 16, 2, nullptr);
    s.font_large = CreateFont(18, 18, 2, nullptr);
    s.font_message = CreateFont(20, 20, 2, nullptr);
    s.font_title = CreateFont(24, 24, 2, nullptr);
    s.font_huge = CreateFont(48, 48, 2, nullptr);
}

void create_standard_gc(IlvaneGame& game) {
    if (game.screen.gc_standard) return;
    game.screen.gc_standard =
        named_gc("white", "gray", "lightgray", "darkgray", game.screen.font_standard);
}

Handle create_screen(IlvaneGame& game, Handle task) {
    GameScreen& s = game.screen;
    const int width = g_screen_width;
    const int height = g_screen_height;
    create_standard_gc(game);

    s.window_frame = SettingSwitch("WINDOW_FRAME");
    Handle main = create_window(task, 0, uint16_t(width), uint16_t(height),
                                WIN_FRAME | WIN_CONTROLBAR | WIN_RULED);
    if (!main) return 0;
    game.main_window = main;
    game.save_window = create_window(task, 0, uint16_t(width), uint16_t(height), 0);
    s.gc_save = named_gc("white", "gray", "lightgray", "darkgray", s.font_large);
    set_window_gc(game.save_window, s.gc_save);
    s.gc_title = named_gc("white", "gray", "lightgray", "darkgray", s.font_title);

    char file[kGameTextSize];
    ReadSetting("Start_BackGraphic", file, sizeof file);
    Handle picture = file[0] ? LoadGraphic(task, 0, file) : 0;
    if (!picture) {
        std::snprintf(file, sizeof file, "robyA.bmp");
        picture = LoadGraphic(task, 0, file);
    }
    if (picture) {
        std::snprintf(game.background_file, sizeof game.background_file, "%s", file);
        s.background = picture;
        s.graphic_height = positive_or(SettingNumber("GRAPHIC_HIGHT"), height);
        GraphicObject(main, kBackgroundObject, 0, 0, width, s.graphic_height, picture);
    }

    s.gc_message = named_gc("white", "gray", "lightgray", "darkgray", s.font_message);
    if (!s.gc_message) MessageDialog("ILV GC create error!");
    s.text_height = positive_or(SettingNumber("TEXT_HIGHT"), 200);
    Message(main, kMessageObject, (width - kMessageWidth) / 2, height - s.text_height,
            kMessageWidth, s.text_height, s.gc_message);
    SetObjectFlags(main, kMessageObject, OBJ_INERT);

    s.select_width = positive_or(SettingNumber("SELECT_WIDTH"), 100);
    s.select_height = positive_or(SettingNumber("SELECT_HIGHT"), 330);
    s.debug_menu = CreateMenu(task, 11);
    make_debug_menu(s.debug_menu);
    s.select_menu = CreateMenu(task, 34);
    if (SettingSwitch("PopupMenu"))
        Popupmenu(main, kPopupObject, 0, 0, width, height, s.debug_menu);
    s.gc_selecter = named_gc("black", "gray", "lightgray", "darkgray", s.font_large);
    if (SettingSwitch("ReverseColor")) {
        SetGCColors(s.gc_selecter, ColorByName("darkgray"), ColorByName("gray"),
                    ColorByName("black"));
        SetGCTextColor(s.gc_selecter, ColorByName("white"));
    }
    s.selecter_x = width - s.select_width - 5;
    s.selecter_y = 0;
    Handle selecter = Selecter(main, kSelecterObject, s.selecter_x, s.selecter_y, s.select_width,
                               s.select_height, s.select_menu, s.gc_selecter);
    if (ObjectRecord* o = object_record(selecter)) {
        Handle window = o->window;
        BackingStore(window);
        char menu_picture[kGameTextSize];
        if (ReadSetting("MENU_GRAPHIC", menu_picture, sizeof menu_picture))
            if (Handle p = LoadGraphic(task, 0, menu_picture)) Wallpaper(window, p);
    }
    s.side_menu = CreateMenu(task, 11);
    make_side_menu(s.side_menu);
    s.gc_side = CreateGC(RGBColor(200, 100, 100), RGBColor(250, 150, 150), RGBColor(100, 50, 50),
                         ColorByName("black"));
    if (s.gc_side) SetGCFont(s.gc_side, s.font_standard);
    int side_x = (width - kMessageWidth) / 2 + kMessageWidth;
    Selecter(main, kSideMenuObject, side_x, height - kSideMenuHeight,
             (width - kMessageWidth) / 2 - 1, kSideMenuHeight, s.side_menu, s.gc_side);

    s.small_sts = SettingSwitch("SmallSts");
    if (s.small_sts) game.entries_per_sheet = 4;
    uint32_t sub_mode = WIN_FRAME | (s.window_frame ? WIN_CONTROLBAR : 0);
    s.status_y = s.window_frame ? 25 : 0;
    game.status_window =
        hidden_sub_window(main, kStatusObject, 0, s.status_y, s.small_sts ? 180 : 140,
                          s.small_sts ? 110 : 210, sub_mode, s.gc_standard);
    if (!game.status_window) return 0;
    BackingStore(game.status_window);
    for (int n = 0; n < 10; ++n)
        game.cutin_windows[size_t(n)] =
            hidden_sub_window(main, uint16_t(kCutinObject + n), 0, 0, 200, 110, sub_mode, 0);
    return main;
}

void show_status_window(IlvaneGame& game, bool open) {
    Handle object = ReqObject(game.main_window, kStatusObject);
    if (!object) return;
    if (open)
        OpenSubWindow(object, 0, game.screen.status_y);
    else
        CloseSubWindow(object);
    game.status_open = open;
}

void show_selecter(IlvaneGame& game, bool shown) {
    if (shown)
        ShowObject(game.main_window, kSelecterObject, game.screen.selecter_x,
                   game.screen.selecter_y);
    else
        HideObject(game.main_window, kSelecterObject);
}

void install_screen_hooks(IlvaneGame& game) {
    game.hooks.show_selecter = show_selecter;
    game.hooks.show_status_window = show_status_window;
}
