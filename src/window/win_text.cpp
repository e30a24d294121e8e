#include "window/win_text.h"

#include <cstring>
#include <string>

#include "core/log.h"
#include "host/sjis.h"
#include "host/sjis_literal.h"
#include "window/draw.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/window.h"

namespace {

// True when the byte at `p` starts a valid double-byte pair.
bool is_pair(const char* p) {
    return IsSjisLead(uint8_t(p[0])) && IsSjisTrail(uint8_t(p[1]));
}

bool too_long(const char* function, Handle window, const char* text) {
    if (std::strlen(text) <= size_t(kMaxWindowText)) return false;
    LogLinef("%s 描画文字列が長い(%s)"_sj, function, window_owner_name(window));
    LogLine(text);
    return true;
}

// Draws `text` at client (x, y) in `font` and `color`, cut to the client width.
void draw_fitted(Handle window, int x, int y, const char* text, uint32_t color, Handle font) {
    WindowRecord* w = window_record(window);
    int cell = FontCellWidth(font);
    int abs_x = w->origin_x + w->x + x, abs_y = w->origin_y + w->y + y;
    int width = w->width;
    if (SjisCharCount(text) * cell <= width) {
        DrawFontText(abs_x, abs_y, text, color, font);
        return;
    }
    std::string cut(text, size_t(SjisFitBytes(text, cell ? (width - x) / cell : 0)));
    DrawFontText(abs_x, abs_y, cut.c_str(), color, font);
}

}  // namespace

int SjisCharCount(const char* text) {
    int n = 0;
    for (const char* p = text; *p; ++n)
        p += IsSjisLead(uint8_t(*p)) && p[1] ? 2 : 1;
    return n;
}

int SjisFitBytes(const char* text, int cells) {
    int n = 0;
    while (text[n] && n < cells) {
        if (is_pair(text + n)) {
            if (n + 2 > cells) break;
            n += 2;
        } else {
            n += 1;
        }
    }
    return n;
}

void WinMessage(Handle window, int x, int y, const char* text) {
    WindowRecord* w = window_record(window);
    GCRecord* g = w ? gc_record(w->gc) : nullptr;
    if (g) WinColorMessage(window, x, y, text, g->text);
}

void WinColorMessage(Handle window, int x, int y, const char* text, uint32_t color) {
    WindowRecord* w = window_record(window);
    if (!w || !text || !(w->mode & WIN_DRAWABLE)) return;
    if (too_long("WinColorMessage()", window, text)) return;
    if (x < 0 || y < 0) {
        LogLinef("WinColorMessage() 座標が0以下　バグでないけれど現在指定不可2014/4/15(%s%d/%d)"_sj,
                 window_owner_name(window), x, y);
        LogLine(text);
        return;
    }
    w = window_record(window);
    GCRecord* g = gc_record(w->gc);
    Handle font = g ? g->font : 0;
    int cell = FontCellWidth(font);
    if (x > w->width || w->width - x < cell) return;
    if (y > w->height || w->height - y < FontLineHeight(font)) return;
    draw_fitted(window, x, y, text, color, font);
}

void WinGCMessage(Handle window, int x, int y, const char* text, Handle gc) {
    WindowRecord* w = window_record(window);
    if (!w || !text || !(w->mode & WIN_DRAWABLE) || !gc_record(gc)) return;
    if (too_long("WinGCMessage()", window, text)) return;
    w = window_record(window);
    GCRecord* g = gc_record(gc);
    Handle font = g->font;
    uint32_t color = g->text;
    if (x > w->width || w->width - x < FontSize(font)) return;
    if (y > w->height || w->height - y < FontLineHeight(font)) return;
    draw_fitted(window, x, y, text, color, font);
}

void WinBoxMessage(Handle window, int x, int y, const char* text, Handle gc) {
    GCRecord* g = gc_record(gc);
    if (!g || !text) return;
    Handle font = g->font;
    uint32_t fill = g->fill, color = g->text;
    FillRectangle(window, x, y, uint16_t(SjisCharCount(text) * FontCellWidth(font)),
                  uint16_t(FontLineHeight(font)), fill);
    WinColorMessage(window, x, y, text, color);
}

void WinCenterMessage(Handle window, int y, const char* text, Handle gc) {
    WindowRecord* w = window_record(window);
    GCRecord* g = gc_record(gc);
    if (!w || !g || !text) return;
    int n = SjisCharCount(text);
    if (is_pair(text)) {
        LogLine("WinCenterMessage() in 2byte charcter");
        n /= 2;
    }
    w = window_record(window);
    GCRecord* own = gc_record(w->gc);
    int cell = FontCellWidth(own ? own->font : 0);
    int x = w->width / 2 - (n * cell) / 2;
    if (x < 1) x = 1;

    Handle saved = w->gc;
    w->gc = gc;
    g = gc_record(gc);
    uint32_t fill = g->fill, edge1 = g->edge1;
    bool shadow = g->flags & GC_SHADOW_TEXT;
    WinColorMessage(window, x, y, text, fill);
    if (shadow) WinColorMessage(window, x - 1, y - 1, text, edge1);
    if (WindowRecord* again = window_record(window)) again->gc = saved;
}
