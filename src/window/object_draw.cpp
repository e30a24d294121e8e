// Drawing window objects by kind. Faces are drawn into the object's own sub-window with the
// window drawing operations, so they are clipped to the object and refused while it is covered.
#include "window/object_draw.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/log.h"
#include "host/sjis.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "text/text.h"
#include "window/backing_store.h"
#include "window/colors.h"
#include "window/draw.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/graphic.h"
#include "window/object.h"
#include "window/panel.h"
#include "window/text_task.h"
#include "window/win_bitmap.h"
#include "window/win_text.h"
#include "window/window.h"
#include "window/window_draw.h"
#include "window/window_manager.h"

ObjectMenuDrawer g_object_menu_drawer = nullptr;

namespace {

constexpr uint32_t kMessageDarkening = 0x7878;  // red and green by 120, as window backgrounds
constexpr int kTextTop = 5;                     // text of text buttons, labels
constexpr int kHelpTextX = 20;
constexpr int kHelpTextY = 7;

struct Colors {
    uint32_t fill = 0xC0C0C0, edge1 = 0xFFFFFF, edge2 = 0x404040, text = 0;
};

Colors colors_of(Handle gc) {
    Colors c;
    if (GCRecord* g = gc_record(gc)) {
        c.fill = g->fill;
        c.edge1 = g->edge1;
        c.edge2 = g->edge2;
        c.text = g->text;
    }
    return c;
}

struct Obj {
    Handle handle = 0;
    Handle window = 0;  // the sub-window
    Handle parent = 0;
    Handle gc = 0;
    uint16_t kind = 0;
    uint32_t flags = 0;
    int width = 0, height = 0;
};

bool read_object(Handle object, Obj* out) {
    ObjectRecord* o = object_record(object);
    WindowRecord* w = o ? window_record(o->window) : nullptr;
    if (!w) return false;
    *out = {object, o->window, o->parent, o->gc, o->kind, o->flags, w->width, w->height};
    return true;
}

// A bar with semicircular ends (a circle when it is square), lying along its longer side.
void pill(Handle window, int x, int y, int width, int height, uint32_t color) {
    if (width < 1 || height < 1) return;
    if (width >= height) {
        Circle(window, x, y, uint16_t(height), uint16_t(height), color);
        Circle(window, x + width - height, y, uint16_t(height), uint16_t(height), color);
        FillRectangle(window, x + height / 2, y, uint16_t(width - height), uint16_t(height), color);
    } else {
        Circle(window, x, y, uint16_t(width), uint16_t(width), color);
        Circle(window, x, y + height - width, uint16_t(width), uint16_t(width), color);
        FillRectangle(window, x, y + width / 2, uint16_t(width), uint16_t(height - width), color);
    }
}

// The button face: the dark edge one pixel down and right, the light edge over it, the fill
// inside. Pressed swaps the edges.
void face(Handle window, int x, int y, int width, int height, Handle gc, bool pressed) {
    Colors c = colors_of(gc);
    if (pressed) std::swap(c.edge1, c.edge2);
    pill(window, x + 1, y + 1, width - 1, height - 1, c.edge2);
    pill(window, x, y, width - 1, height - 1, c.edge1);
    pill(window, x + 1, y + 1, width - 2, height - 2, c.fill);
}

// A sunken 1-pixel frame: dark top and left, light bottom and right.
void sunken_frame(Handle window, int x, int y, int width, int height, Handle gc) {
    Colors c = colors_of(gc);
    if (width < 2 || height < 2) return;
    FillRectangle(window, x, y, uint16_t(width - 1), 1, c.edge2);
    FillRectangle(window, x, y, 1, uint16_t(height - 1), c.edge2);
    FillRectangle(window, x, y + height - 1, uint16_t(width), 1, c.edge1);
    FillRectangle(window, x + width - 1, y, 1, uint16_t(height), c.edge1);
}

void draw_check(const Obj& o, bool ticked) {
    Colors c = colors_of(o.gc);
    WindowRecord* root = window_record(g_window_manager.root);
    uint32_t paper = colors_of(root ? root->gc : 0).fill;
    FillRectangle(o.window, 0, 0, 12, 12, paper);
    Rectangle(o.window, 0, 0, 12, 12, c.edge2);
    Rectangle(o.window, 1, 1, 10, 10, c.edge1);
    if (!ticked) return;
    for (int dy = 0; dy < 2; ++dy) {
        Line(o.window, 2, 5 + dy, 5, 8 + dy, c.edge2);
        Line(o.window, 5, 8 + dy, 10, 3 + dy, c.edge2);
    }
}

// An arrow of a 12-pixel shaft and a 4-pixel head, pointing along the kind's direction.
void draw_arrow(const Obj& o) {
    uint32_t color = colors_of(o.gc).text;
    Handle w = o.window;
    switch (o.kind) {
        case OBJ_UP:
            Line(w, 8, 2, 8, 14, color);
            Line(w, 8, 2, 4, 6, color);
            Line(w, 8, 2, 12, 6, color);
            break;
        case OBJ_DOWN:
            Line(w, 8, 13, 8, 1, color);
            Line(w, 8, 13, 4, 9, color);
            Line(w, 8, 13, 12, 9, color);
            break;
        case OBJ_LEFT:
            Line(w, 2, 8, 14, 8, color);
            Line(w, 2, 8, 6, 4, color);
            Line(w, 2, 8, 6, 12, color);
            break;
        default:
            Line(w, 13, 8, 1, 8, color);
            Line(w, 13, 8, 9, 4, color);
            Line(w, 13, 8, 9, 12, color);
            break;
    }
}

// The elevator: a sunken track with a round knob at the scroll position.
void draw_elevator(const Obj& o) {
    ObjectRecord* r = object_record(o.handle);
    ElevatorState s;
    std::memcpy(&s, r->text, sizeof s);
    Colors c = colors_of(o.gc);
    FillRectangle(o.window, 0, 0, uint16_t(o.width), uint16_t(o.height), c.fill);
    sunken_frame(o.window, 0, 0, o.width, o.height, o.gc);
    int travel = std::max(0, o.height - o.width);
    int knob = 0;
    if (s.maximum > s.minimum) {
        long long p = std::clamp(s.position, s.minimum, s.maximum) - s.minimum;
        knob = int(p * travel / (static_cast<long long>(s.maximum) - s.minimum));
    }
    face(o.window, 0, knob, o.width, std::min(o.width, o.height), o.gc, false);
}

void draw_help(const Obj& o) {
    face(o.window, 0, 0, o.width, o.height, o.gc, false);
    sunken_frame(o.window, 10, 5, o.width - 20, o.height - 10, o.gc);
    ObjectRecord* r = object_record(o.handle);
    if (r->text[0]) WinGCMessage(o.window, kHelpTextX, kHelpTextY, r->text, o.gc);
}

void draw_graphic(const Obj& o) {
    LogLine("--draw graphic");
    LogLine("draw_graphicobject()");
    GraphicRecord* g = graphic_record(object_record(o.handle)->data);
    if (g) WinPutBitmap(o.window, 0, 0, o.width, o.height, g->bitmap);
}

// The text of a message, drawn plainly: tags are left out, lines break at line feeds and where
// the next character would pass the right margin. The margins are those of the text effects.
void draw_message_text(const Obj& o) {
    const char* text = MessageObjectText(o.handle);
    if (!text) return;
    std::string copy = text;  // the pool may move while drawing
    int cell = object_cell_width(o.gc), line = object_line_height(o.gc);
    int left = o.width / 16, top = o.height / 14, right = o.width - left;
    int x = left, y = top;
    std::string run;
    auto flush = [&] {
        if (!run.empty()) WinGCMessage(o.window, x, y, run.c_str(), o.gc);
        x += cell * int(run.size());
        run.clear();
    };
    for (size_t i = 0; i < copy.size();) {
        unsigned char b = uint8_t(copy[i]);
        if (b == '<') {
            size_t end = copy.find('>', i);
            i = end == std::string::npos ? copy.size() : end + 1;
            continue;
        }
        if (b == '\n') {
            flush();
            x = left;
            y += line;
            ++i;
            continue;
        }
        size_t n =
            IsSjisLead(b) && i + 1 < copy.size() && IsSjisTrail(uint8_t(copy[i + 1])) ? 2 : 1;
        if (x + cell * int(run.size() + n) > right && !run.empty()) {
            flush();
            x = left;
            y += line;
        }
        run.append(copy, i, n);
        i += n;
    }
    flush();
}

void draw_message(const Obj& o) {
    LogLine("--draw message");
    LogLine("draw_message() in");
    bool save_graphic = test_window_mode(o.parent, WIN_SAVEGRAPHIC);
    WindowRecord* w = window_record(o.window);
    if (w->backing_store && !save_graphic) {
        RestoreBackingStore(o.window);
    } else {
        if (!(o.flags & OBJ_BARE)) {
            if (!save_graphic)
                FillRectangle(o.window, 0, 0, uint16_t(o.width), uint16_t(o.height),
                              colors_of(o.gc).fill);
            WinSemitransRectangle(o.window, 0, 0, uint16_t(o.width), uint16_t(o.height),
                                  kMessageDarkening);
        }
        if (save_graphic) {
            LogLine("draw_message SaveWindowGraphic");
            SaveBackingStore(o.window);
        } else if (!window_record(o.window)->backing_store) {
            BackingStore(o.window);
            SaveBackingStore(o.window);
        }
    }
    if (g_redraw_effect)
        g_redraw_effect(window_record(o.window)->owner, o.handle, 0);
    else
        draw_message_text(o);
}

void draw_menu_panel(const Obj& o) {
    if (o.kind == OBJ_SELECTER) LogLine("--draw selecter");
    WinPanel(o.window, 1, o.gc);
    if (g_object_menu_drawer) g_object_menu_drawer(o.handle);
}

void draw_menubar_item(const Obj& o) {
    WindowRecord* w = window_record(o.window);
    Rectangle(o.parent, w->x - 1, w->y - 1, uint16_t(o.width + 2), uint16_t(o.height + 2),
              colors_of(o.gc).text);
}

void draw_text_button(const Obj& o, bool pressed) {
    face(o.window, 0, 0, o.width, o.height, o.gc, pressed);
    const char* text = object_record(o.handle)->text;
    int x = object_cell_width(o.gc) + (pressed ? 2 : 0);
    char copy[kObjectTextSize];
    std::memcpy(copy, text, sizeof copy);
    WinGCMessage(o.window, x, kTextTop, copy, o.gc);
}

void draw_label(const Obj& o) {
    char copy[kObjectTextSize];
    std::memcpy(copy, object_record(o.handle)->text, sizeof copy);
    WinGCMessage(o.window, object_cell_width(o.gc), kTextTop, copy, o.gc);
}

}  // namespace

int object_cell_width(Handle gc) {
    GCRecord* g = gc_record(gc);
    return std::max(1, FontCellWidth(g ? g->font : 0));
}

int object_line_height(Handle gc) {
    GCRecord* g = gc_record(gc);
    return std::max(1, FontLineHeight(g ? g->font : 0));
}

int set_object_text(Handle object, const char* text) {
    ObjectRecord* o = object_record(object);
    if (!o) return 0;
    if (!text) text = "";
    size_t length = std::strlen(text);
    size_t kept = 0;
    while (kept < length) {
        size_t n = IsSjisLead(uint8_t(text[kept])) && text[kept + 1] ? 2 : 1;
        if (kept + n > kObjectTextSize - 1) break;
        kept += n;
    }
    if (kept < length)
        LogLinef("object text too long (%d bytes), cut to %d: %s", int(length), int(kept), text);
    std::memset(o->text, 0, sizeof o->text);
    std::memcpy(o->text, text, kept);
    return int(kept);
}

void draw_object_face(Handle object, bool pressed) {
    Obj o;
    if (!read_object(object, &o)) return;
    switch (o.kind) {
        case OBJ_BUTTON:
            face(o.window, 0, 0, o.width, o.height, o.gc, pressed);
            break;
        case OBJ_CHECK:
            draw_check(o, pressed);
            break;
        case OBJ_MESSAGE_BUTTON:
            draw_text_button(o, pressed);
            break;
        case OBJ_UP:
        case OBJ_DOWN:
        case OBJ_LEFT:
        case OBJ_RIGHT:
            face(o.window, 0, 0, o.width, o.height, o.gc, pressed);
            draw_arrow(o);
            break;
        default:
            break;
    }
}

void draw_input_line(Handle object) {
    Obj o;
    if (!read_object(object, &o)) return;
    if (!text_header(object_record(object)->data)) {
        LogLine("  DrawInputMessage object is NULL");
        return;
    }
    FillRectangle(o.window, 0, 0, uint16_t(o.width), uint16_t(o.height), NearestColor(0xFFFFFF));
    sunken_frame(o.window, 0, 0, o.width, o.height, o.gc);
    DrawTextField(object);
}

void draw_object(Handle object) {
    Obj o;
    if (!read_object(object, &o)) return;
    if ((o.flags & OBJ_HIDDEN) || !test_window_mode(o.window, WIN_SHOW)) return;
    bool on = o.flags & OBJ_ON;
    switch (o.kind) {
        case OBJ_GRAPHIC:
            draw_graphic(o);
            break;
        case OBJ_SUB:
            LogLine("--draw subwindow");
            draw_window(o.window);
            break;
        case OBJ_MESSAGE:
            draw_message(o);
            break;
        case OBJ_INPUT:
        case OBJ_TEXTLINE:
            draw_input_line(object);
            break;
        case OBJ_SELECTER:
        case OBJ_PULLDOWN:
            draw_menu_panel(o);
            break;
        case OBJ_MENUBAR:
            draw_menubar_item(o);
            break;
        case OBJ_BUTTON:
        case OBJ_CHECK:
        case OBJ_MESSAGE_BUTTON:
            draw_object_face(object, on);
            break;
        case OBJ_LABEL:
            draw_label(o);
            break;
        case OBJ_HELP:
            draw_help(o);
            break;
        case OBJ_UP:
        case OBJ_DOWN:
        case OBJ_LEFT:
        case OBJ_RIGHT:
            draw_object_face(object, false);
            break;
        case OBJ_ELEVATOR:
            draw_elevator(o);
            break;
        default:
            break;
    }
}

Handle draw_window_objects(Handle window, Handle after) {
    WindowRecord* w = window_record(window);
    if (!w) return 0;
    Handle h = after ? (object_record(after) ? object_record(after)->next : 0) : w->first_object;
    while (h) {
        ObjectRecord* o = object_record(h);
        if (!o) break;
        Handle next = o->next, sub = o->window;
        bool drawn = !(o->flags & OBJ_HIDDEN) && test_window_mode(sub, WIN_SHOW);
        bool subwindow = o->flags & OBJ_SUBWINDOW;
        if (drawn) {
            draw_object(h);
            if (subwindow) {
                ReqDrawEvent(window_owner_id(window), sub);
                return h;
            }
        }
        h = next;
    }
    return 0;
}
