#include "window/window_draw.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "core/log.h"
#include "host/bitmap_draw.h"
#include "host/raster.h"
#include "host/sjis_literal.h"
#include "window/backing_store.h"
#include "window/draw.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/graphic.h"
#include "window/panel.h"
#include "window/win_bitmap.h"
#include "window/win_text.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window/window_objects.h"

namespace {

constexpr int kTitleCells = 15;
constexpr int kTitleGap = 4;  // between the title box and a box or the bar's end
constexpr int16_t kShadowDarkening = 0x0AAA;
constexpr uint32_t kSemitransDarkening = 0x7878;  // red and green by 120

struct Colors {
    uint32_t fill, edge1, edge2, text;
    Handle font;
};

Colors colors_of(Handle gc) {
    GCRecord* g = gc_record(gc);
    if (!g) return {0xC0C0C0, 0xFFFFFF, 0x404040, 0, 0};
    return {g->fill, g->edge1, g->edge2, g->text, g->font};
}

void panel(int x, int y, int width, int height, int edge, uint32_t fill, uint32_t light,
           uint32_t dark) {
    HostFillRect(x, y, width, height, fill);
    HostFillRect(x, y, width - edge, edge, light);
    HostFillRect(x, y, edge, height - edge, light);
    HostFillRect(x, y + height - edge, width - edge, edge, dark);
    HostFillRect(x + width - edge, y + edge, edge, height - edge, dark);
}

// The title box: 15 cells of the GC's font wide, past the close box (or a small margin) and
// clear of the resize box (or the bar's end). A bar too narrow for 15 cells gets the cells that
// fit, and the name is centred in those; only what still does not fit is cut.
void draw_title(Handle window, const Colors& c, int left, int top) {
    WindowRecord* w = window_record(window);
    char name[sizeof w->name + 1] = {};
    std::memcpy(name, w->name, sizeof w->name);
    int cell = std::max(1, FontCellWidth(c.font));
    int box_x = left + (w->mode & WIN_CLOSEBOX ? kBoxSize + kTitleGap : kTitleGap);
    int box_end = left + w->width - (w->mode & WIN_RESIZEBOX ? kBoxSize + kTitleGap : kTitleGap);
    int box_y = top + 3, box_width = std::min(kTitleCells * cell, box_end - box_x);
    if (box_width < 4) return;
    panel(box_x, box_y, box_width, kBoxSize, 1, c.fill, c.edge2, c.edge1);

    std::string shown = name;
    if (int(shown.size()) > kTitleCells) shown = shown.substr(0, 13) + "..";
    int cells = std::min(kTitleCells, box_width / cell);
    int x = box_x;
    if (int(shown.size()) < cells) x += ((cells - int(shown.size())) * cell) / 2;
    Handle font = g_window_manager.window_font ? g_window_manager.window_font : c.font;
    int title_cell = std::max(1, FontCellWidth(font));
    shown.resize(size_t(SjisFitBytes(shown.c_str(), (box_x + box_width - x) / title_cell)));
    DrawFontText(x, box_y, shown.c_str(), c.text, font);
}

void draw_bar2(Handle window, Handle gc) {
    if (!test_window_mode(window, WIN_DRAWABLE)) return;
    Colors c = colors_of(gc);
    panel(client_left(window), bar_top(window) + kBarHeight, window_record(window)->width,
          kBarHeight, 1, c.fill, c.edge2, c.edge1);
}

void draw_frame(Handle window, Handle gc) {
    Colors c = colors_of(gc);
    int x = outer_left(window), y = outer_top(window);
    int w = outer_width(window), h = outer_height(window), f = kFrameWidth;
    HostFillRect(x, y, w, f, c.fill);
    HostFillRect(x, y + h - f, w, f, c.fill);
    HostFillRect(x, y, f, h, c.fill);
    HostFillRect(x + w - f, y, f, h, c.fill);
    // Raised outside, sunken toward the client area.
    HostFillRect(x, y, w - 1, 1, c.edge1);
    HostFillRect(x, y, 1, h - 1, c.edge1);
    HostFillRect(x, y + h - 1, w, 1, c.edge2);
    HostFillRect(x + w - 1, y, 1, h, c.edge2);
    HostFillRect(x + f - 1, y + f - 1, w - 2 * f + 2, 1, c.edge2);
    HostFillRect(x + f - 1, y + f - 1, 1, h - 2 * f + 2, c.edge2);
    HostFillRect(x + f - 1, y + h - f, w - 2 * f + 2, 1, c.edge1);
    HostFillRect(x + w - f, y + f - 1, 1, h - 2 * f + 2, c.edge1);
}

void draw_shadow(Handle window) {
    WindowRecord* w = window_record(window);
    int top = w->mode & WIN_CONTROLBAR ? bar_top(window) : client_top(window);
    int height = client_top(window) + w->height - top;
    HostDarken(client_left(window) + 10, top + 10, w->width, height, kShadowDarkening);
}

uint32_t wallpaper_bitmap(Handle graphic) {
    GraphicRecord* g = graphic_record(graphic);
    return g ? g->bitmap : 0;
}

void draw_background(Handle window) {
    WindowRecord* w = window_record(window);
    Colors c = colors_of(w->gc);
    GCRecord* g = gc_record(w->gc);
    uint32_t tile = g ? g->tile : 0;
    int left = client_left(window), top = client_top(window);
    if (w->wallpaper) {
        HostDrawBitmapStretched(left, top, w->width, w->height, wallpaper_bitmap(w->wallpaper), 0,
                                0, -1, -1);
    } else if ((w->mode & WIN_TILED) && tile) {
        WinTile(window, tile);
    } else if (w->mode & WIN_GCFILL) {
        WinPanel(window, 1, w->gc);
    } else if (w->mode & WIN_SEMITRANS) {
        WinSemitransRectangle(window, 0, 0, w->width, w->height, kSemitransDarkening);
    } else if (!(w->mode & WIN_NOBACK)) {
        FillRectangle(window, 0, 0, w->width, w->height, c.fill);
    }
}

void draw_rules(Handle window) {
    WindowRecord* w = window_record(window);
    uint32_t color = colors_of(w->gc).fill | 0x070707;
    int left = client_left(window), top = client_top(window), width = w->width;
    for (int y = 0; y < w->height; y += 8)
        HostLine(left, top + y, left + width, top + y, color);
}

}  // namespace

Handle decoration_gc(Handle window) {
    const WindowManager& m = g_window_manager;
    return window == m.active ? m.active_gc : m.system_gc;
}

void draw_close_box(Handle window, Handle gc, bool pressed) {
    Colors c = colors_of(gc);
    if (pressed) std::swap(c.edge1, c.edge2);
    int x = client_left(window), y = bar_top(window) + 2;
    panel(x, y, kBoxSize, kBoxSize, 1, c.fill, c.edge1, c.edge2);
    HostFillRect(x + 3, y + 3, 8, 8, c.edge2);
}

void draw_resize_box(Handle window, Handle gc, bool pressed) {
    Colors c = colors_of(gc);
    if (pressed) std::swap(c.edge1, c.edge2);
    int x = client_left(window) + window_record(window)->width - kBoxSize;
    int y = bar_top(window) + 2;
    panel(x, y, kBoxSize, kBoxSize, 1, c.fill, c.edge1, c.edge2);
    HostRectangle(x + 2, y + 2, 9, 9, c.edge2);
    HostLine(x + 2, y + 7, x + 8, y + 7, c.edge2);
    HostLine(x + 7, y + 2, x + 7, y + 8, c.edge2);
}

void draw_control_bar(Handle window, Handle gc) {
    WindowRecord* w = window_record(window);
    if (!w || !(w->mode & WIN_DRAWABLE)) return;
    Colors c = colors_of(gc);
    int left = client_left(window), top = bar_top(window);
    panel(left, top, w->width, kBarHeight, 1, c.fill, c.edge1, c.edge2);
    uint32_t mode = w->mode;
    if (mode & WIN_CLOSEBOX) draw_close_box(window, gc, false);
    if (mode & WIN_RESIZEBOX) draw_resize_box(window, gc, false);
    if (mode & WIN_TITLE) draw_title(window, c, left, top);
}

void repaint_decorations(Handle window, Handle gc) {
    uint32_t mode = window_mode(window);
    if (mode & WIN_CONTROLBAR) draw_control_bar(window, gc);
    if (mode & WIN_BAR2) draw_bar2(window, gc);
    if (mode & WIN_FRAME) draw_frame(window, gc);
}

void draw_window(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w || (w->mode & WIN_NODRAW)) return;
    if (!(w->mode & WIN_OPEN)) {
        LogLinef("draw_window() no open! w%d h%d %s", w->width, w->height,
                 window_owner_name(window));
        return;
    }
    if (!(w->mode & WIN_DRAWABLE)) {
        LogLinef("DrawWindow()で%s(task %s)ｳｲﾝﾄﾞｳが描画禁止になっています。\n"_sj, w->name,
                 window_owner_name(window));
        w->mode |= WIN_DRAWABLE;
    }
    for (Handle c = w->first_child; c;) {
        WindowRecord* child = window_record(c);
        child->mode |= WIN_DRAWABLE;
        c = child->next;
    }
    w = window_record(window);
    if ((w->mode & WIN_BACKSTORE) && test_window_mode(w->parent, WIN_SAVEGRAPHIC))
        SaveBackingStore(window);

    Handle gc = decoration_gc(window);
    uint32_t mode = window_mode(window);
    if (mode & WIN_SHADOW) draw_shadow(window);
    if (mode & WIN_CONTROLBAR) draw_control_bar(window, gc);
    if (mode & WIN_BAR2) draw_bar2(window, gc);
    draw_background(window);
    if (mode & WIN_RULED) draw_rules(window);
    mode = window_mode(window);
    if ((mode & WIN_FRAME) && (mode & WIN_OPEN) && (mode & WIN_DRAWABLE)) draw_frame(window, gc);
    if (!(mode & WIN_NOOBJDRAW)) g_window_manager.object_cursor = DrawWindowObjects(window, 0);
}

void draw_window_background(Handle window) {
    if (!window_record(window)) return;
    draw_background(window);
    if (window_mode(window) & WIN_RULED) draw_rules(window);
}

void clear_window(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    if (!(w->mode & WIN_DRAWABLE)) {
        LogLine("clear_window() window mode異常"_sj);
        w->mode |= WIN_DRAWABLE;
    }
    if (w->mode & WIN_FRAME) {
        WindowRecord* root = window_record(g_window_manager.root);
        HostFillRect(outer_left(window), outer_top(window), outer_width(window),
                     outer_height(window), colors_of(root ? root->gc : 0).fill);
        return;
    }
    WindowRecord* parent = window_record(w->parent);
    uint32_t fill = colors_of(parent ? parent->gc : 0).fill;
    int top = w->mode & WIN_CONTROLBAR ? bar_top(window) : client_top(window);
    HostFillRect(client_left(window), top, w->width, client_top(window) + w->height - top, fill);
}
