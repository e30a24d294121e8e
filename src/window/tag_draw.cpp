#include "window/tag_draw.h"

#include <cstdlib>
#include <cstring>

#include "core/log.h"
#include "host/sjis.h"
#include "text/str.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/win_bitmap.h"
#include "window/win_text.h"
#include "window/window.h"

namespace {

struct Pen {
    int start_x, x, y;
};

Handle gc_font(Handle gc) {
    GCRecord* g = gc_record(gc);
    return g ? g->font : 0;
}

void apply_tag(Handle window, Handle gc, char* tag, Pen& pen) {
    char name[kMaxTagLength + 1];
    char* rest = NextWord(tag, name);
    if (*rest) ++rest;  // the separator after the name
    RemoveBlanks(rest);
    if (!std::strcmp(name, "font_color")) {
        SetGCColorName(gc, rest);
    } else if (!std::strcmp(name, "font_size")) {
        // The font is selected for the task that draws into the window, its owner. A number
        // that names no font leaves the GC's font as it is.
        WindowRecord* w = window_record(window);
        if (Handle font = FindFont(w ? w->owner : 0, std::atoi(rest))) SetGCFont(gc, font);
    } else if (!std::strcmp(name, "div")) {
        pen.y += FontLineHeight(gc_font(gc));
        pen.x = pen.start_x;
    } else if (!std::strcmp(name, "img")) {
        WinDrawBMPFile(window, pen.x, pen.y, rest);
    } else {
        LogLine("str.c tag_draw() unknow code");
        LogLine(name);
    }
}

}  // namespace

int tag_draw(Handle window, int x, int y, const char* text, Handle gc) {
    LogLine("tag_draw()");
    if (!text) return 0;
    Pen pen{x, x, y};
    char tag[kMaxTagLength + 1];
    for (const char* p = text; *p;) {
        if (*p == '\n') {
            pen.y += FontLineHeight(gc_font(gc));
            pen.x = pen.start_x;
            ++p;
        } else if (*p == '<') {
            const char* end = std::strchr(p + 1, '>');
            if (!end) break;
            size_t length = size_t(end - (p + 1));
            if (length > size_t(kMaxTagLength)) length = kMaxTagLength;
            std::memcpy(tag, p + 1, length);
            tag[length] = '\0';
            apply_tag(window, gc, tag, pen);
            p = end + 1;
        } else {
            char character[3] = {p[0], 0, 0};
            int size = FontSize(gc_font(gc));
            if (IsSjisLead(uint8_t(p[0])) && IsSjisTrail(uint8_t(p[1]))) {
                character[1] = p[1];
                WinGCMessage(window, pen.x, pen.y, character, gc);
                pen.x += size;
                p += 2;
            } else {
                WinGCMessage(window, pen.x, pen.y, character, gc);
                pen.x += size / 2;
                p += 1;
            }
        }
    }
    return 0;
}
