// Drawing menus into windows: item bars, titles, texts (label and help, cut with ".."),
// separators, disabled items with their offset shadow, ticks and pictures. Everything is in
// the colours of the window's GC: items stand on the fill colour in the text colour; the
// highlighted item and the title stand on edge2 in edge1 (the light edge reads on the dark
// one); a disabled item is edge2 over an edge1 copy one pixel down and right.
#include <algorithm>
#include <cstring>
#include <string>

#include "window/draw.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/menu.h"
#include "window/win_bitmap.h"
#include "window/win_text.h"
#include "window/window.h"

namespace {

constexpr int kTextLeft = 6;
constexpr int kTextTop = 2;
constexpr int kBarInset = 2;
constexpr int kSeparatorInset = 5;
constexpr int kTickWidth = 12;
constexpr int kTickRoom = 14;

struct Colors {
    uint32_t fill = 0xC0C0C0, edge1 = 0xFFFFFF, edge2 = 0x404040, text = 0;
};

Colors colors_of(Handle window) {
    Colors c;
    WindowRecord* w = window_record(window);
    if (GCRecord* g = gc_record(w ? w->gc : 0)) {
        c.fill = g->fill;
        c.edge1 = g->edge1;
        c.edge2 = g->edge2;
        c.text = g->text;
    }
    return c;
}

int cell_width(Handle window) {
    WindowRecord* w = window_record(window);
    GCRecord* g = gc_record(w ? w->gc : 0);
    return std::max(1, FontCellWidth(g ? g->font : 0));
}

bool any_tick(Handle menu) {
    for (int i = 0; i < MenuItemCount(menu); ++i)
        if (menu_item(menu, i)->flags & ITEM_TICK) return true;
    return false;
}

// The item's text as shown: the label, or label and help; cut to the room with "..".
std::string item_text(Handle menu, int index, Handle window, int room) {
    const MenuHeader* h = menu_header(menu);
    const MenuItem* item = menu_item(menu, index);
    std::string text(item->label, strnlen(item->label, sizeof item->label));
    if ((h->flags & MENU_HELP_TEXT) && item->help[0])
        text += " " + std::string(item->help, strnlen(item->help, sizeof item->help));
    if (!(h->flags & MENU_CUT_TEXT)) return text;
    int cells = room / cell_width(window);
    if (int(text.size()) <= cells) return text;
    if (cells < 2) return "";
    text.resize(size_t(SjisFitBytes(text.c_str(), cells - 2)));
    return text + "..";
}

void draw_tick(Handle window, int x, int top, int height, uint32_t color) {
    int mid = top + height / 2;
    for (int t = 0; t < 2; ++t) {
        Line(window, x, mid - 1 + t, x + 4, mid + 3 + t, color);
        Line(window, x + 4, mid + 3 + t, x + kTickWidth, mid - 5 + t, color);
    }
}

// A shown menu and the window it went into, for redraws on request.
struct Shown {
    Handle menu;
    Handle window;
};
constexpr int kShownSlots = 32;
Shown g_shown[kShownSlots];
int g_shown_next = 0;

void remember(Handle menu, Handle window) {
    for (Shown& s : g_shown)
        if (s.menu == menu) {
            s.window = window;
            return;
        }
    g_shown[g_shown_next] = {menu, window};
    g_shown_next = (g_shown_next + 1) % kShownSlots;
}

}  // namespace

Handle MenuShownIn(Handle menu) {
    for (const Shown& s : g_shown)
        if (s.menu == menu && menu) return s.window;
    return 0;
}

void ForgetShownMenus() {
    for (Shown& s : g_shown)
        s = {};
    g_shown_next = 0;
}

void FillMenuItemBar(Handle menu, int index, Handle window, uint32_t color) {
    WindowRecord* w = window_record(window);
    if (!w || !menu_item(menu, index)) return;
    int width = w->width;
    FillRectangle(window, kBarInset, MenuItemTop(menu, index, window),
                  uint16_t(std::max(0, width - 2 * kBarInset)),
                  uint16_t(MenuItemHeight(menu, index, window)), color);
}

void DrawMenuItem(Handle menu, int index, Handle window) {
    WindowRecord* w = window_record(window);
    const MenuHeader* h = menu_header(menu);
    const MenuItem* found = menu_item(menu, index);
    if (!w || !h || !found) return;
    const MenuItem item = *found;
    const Colors c = colors_of(window);
    const int width = w->width;
    const int top = MenuItemTop(menu, index, window);
    const int height = MenuItemHeight(menu, index, window);
    const int text_x = kTextLeft + (any_tick(menu) ? kTickRoom : 0);
    const int room = width - text_x - kTextLeft;

    if (index == 0 && (h->flags & MENU_TITLE)) {
        FillRectangle(window, 0, top, uint16_t(width), uint16_t(height), c.edge2);
        Line(window, 0, top + height - 1, width, top + height - 1, c.edge1);
        WinColorMessage(window, text_x, top + kTextTop,
                        item_text(menu, index, window, room).c_str(), c.edge1);
        return;
    }
    if (item.flags & ITEM_SEPARATOR) {
        int mid = top + height / 2;
        Line(window, kSeparatorInset, mid - 1, width - kSeparatorInset, mid - 1, c.edge2);
        Line(window, kSeparatorInset, mid, width - kSeparatorInset, mid, c.edge1);
        return;
    }
    if ((item.flags & ITEM_PICTURE) && item.picture)
        WinDrawBitmap(window, kBarInset, top, item.picture);
    const std::string text = item_text(menu, index, window, room);
    const bool lit = item.flags & ITEM_HIGHLIGHT;
    uint32_t color = lit ? c.edge1 : c.text;
    if (item.flags & ITEM_DISABLED) {
        WinColorMessage(window, text_x + 1, top + kTextTop + 1, text.c_str(), c.edge1);
        color = c.edge2;
    }
    WinColorMessage(window, text_x, top + kTextTop, text.c_str(), color);
    if (item.flags & ITEM_TICK) draw_tick(window, kBarInset, top, height, color);
}

void DrawMenu(Handle menu, Handle window) {
    if (!menu_header(menu) || !window_record(window)) return;
    remember(menu, window);
    const Colors c = colors_of(window);
    for (int i = 0; i < MenuItemCount(menu); ++i) {
        bool lit = menu_item(menu, i)->flags & ITEM_HIGHLIGHT;
        if (!(i == 0 && (menu_header(menu)->flags & MENU_TITLE)))
            FillMenuItemBar(menu, i, window, lit ? c.edge2 : c.fill);
        DrawMenuItem(menu, i, window);
    }
}
