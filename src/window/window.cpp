#include "window/window.h"

#include <algorithm>
#include <cstring>

#include "core/log.h"
#include "host/input.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"
#include "resource/task_record.h"
#include "window/backing_store.h"
#include "window/gc.h"
#include "window/graphic.h"
#include "window/window_manager.h"
#include "window/window_objects.h"

namespace {

void unlink_from_parent(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    Handle next = w->next, back = w->back, parent = w->parent;
    if (WindowRecord* n = window_record(next)) n->back = back;
    if (WindowRecord* b = window_record(back)) b->next = next;
    if (WindowRecord* p = window_record(parent)) {
        if (p->first_child == window) p->first_child = next;
        if (p->last_child == window) p->last_child = back;
    }
    w->next = w->back = 0;
}

void update_origins(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    int ox = w->origin_x + w->x, oy = w->origin_y + w->y;
    for (Handle c = w->first_child; c;) {
        WindowRecord* child = window_record(c);
        if (!child) break;
        child->origin_x = int16_t(ox);
        child->origin_y = int16_t(oy);
        Handle next = child->next;
        update_origins(c);
        c = next;
    }
}

}  // namespace

WindowRecord* window_record(Handle window) {
    if (!window || !g_resources.window) return nullptr;
    HandleEntry* e = handle_entry(window);
    // Only records of the window resource are windows: an object or any other record of the
    // same size must not pass for one.
    if (!e || !e->body || (e->flags & RECORD_INACTIVE) || e->owner != g_resources.window ||
        e->size < sizeof(WindowRecord))
        return nullptr;
    return reinterpret_cast<WindowRecord*>(handle_body(window));
}

Handle create_window(Handle owner, Handle parent, uint16_t width, uint16_t height, uint32_t mode) {
    Handle handle = CreateRecord(g_resources.window, -1, sizeof(WindowRecord));
    WindowRecord* w = window_record(handle);
    if (!w) return 0;
    std::memset(w, 0, sizeof *w);
    std::strcpy(w->name, "NON");
    w->width = width;
    w->height = height;
    w->mode = mode;
    w->owner = owner;
    if (!parent) parent = g_window_manager.root;
    if (!parent || parent == handle) return handle;  // the root itself

    WindowRecord* p = window_record(parent);
    if (!p) return handle;
    w->parent = parent;
    w->origin_x = int16_t(p->origin_x + p->x);
    w->origin_y = int16_t(p->origin_y + p->y);
    w->gc = parent == g_window_manager.root ? g_window_manager.system_gc : p->gc;
    w->back = p->last_child;
    Handle old_last = p->last_child;
    p->last_child = handle;
    if (!p->first_child) p->first_child = handle;
    if (WindowRecord* b = window_record(old_last)) b->next = handle;
    return handle;
}

void DestroyWindow(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    if (window == g_window_manager.root) LogLine("root window を削除しようとしています"_sj);
    if (window == g_window_manager.active) LogLine("!!! DestroyWindow Warning !!!");

    DestroyWindowObjects(window);
    w = window_record(window);
    Handle store = w->backing_store, paper = w->wallpaper, owner = w->owner;
    w->backing_store = w->wallpaper = 0;
    if (store) FreeGraphic(owner, 0, store);
    if (paper) FreeGraphic(owner, 0, paper);
    unlink_from_parent(window);

    WindowManager& m = g_window_manager;
    if (m.root == window) m.root = 0;
    if (m.active == window) m.active = 0;
    if (m.redraw_cursor == window) m.redraw_cursor = 0;
    RemoveRecord(owner, g_resources.window, window);
}

void set_window_mode(Handle window, uint32_t bits) {
    if (WindowRecord* w = window_record(window)) w->mode |= bits;
}
void clear_window_mode(Handle window, uint32_t bits) {
    if (WindowRecord* w = window_record(window)) w->mode &= ~bits;
}
bool test_window_mode(Handle window, uint32_t bits) {
    WindowRecord* w = window_record(window);
    return w && (w->mode & bits) != 0;
}
void replace_window_mode(Handle window, uint32_t mode) {
    if (WindowRecord* w = window_record(window)) w->mode = mode;
}
uint32_t window_mode(Handle window) {
    WindowRecord* w = window_record(window);
    return w ? w->mode : 0;
}

void set_window_name(Handle window, const char* name) {
    WindowRecord* w = window_record(window);
    if (!w || !name) return;
    // The field holds 22 bytes; a name that fills it has no terminator of its own (the two
    // pad bytes after it stay 0).
    size_t length = std::min(std::strlen(name), sizeof w->name);
    std::memset(w->name, 0, sizeof w->name);
    std::memcpy(w->name, name, length);
}

void set_window_gc(Handle window, Handle gc) {
    if (WindowRecord* w = window_record(window)) w->gc = gc;
}

void set_window_colors(Handle window, uint32_t fill, uint32_t edge1, uint32_t edge2) {
    WindowRecord* w = window_record(window);
    if (w) SetGCColors(w->gc, fill, edge1, edge2);
}

void set_position(Handle window, int x, int y) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    w->x = int16_t(x);
    w->y = int16_t(y);
    update_origins(window);
}

void centre_window(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    WindowRecord* p = window_record(w->parent);
    if (!p) return;
    w->x = int16_t((int(p->width) - int(w->width)) / 2);
    w->y = int16_t((int(p->height) - int(w->height)) / 2);
    update_origins(window);
}

void clamp_window(Handle window, int margin) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    WindowRecord* p = window_record(w->parent);
    int x = std::max<int>(w->x, margin), y = std::max<int>(w->y, margin);
    if (p) {
        if (x + w->width + margin > p->width) x = p->width - w->width - margin;
        if (y + w->height + margin > p->height) y = p->height - w->height - margin;
    }
    set_position(window, x, y);
}

void resize_window(Handle window, int dw, int dh) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    w->width = uint16_t(w->width + dw);
    w->height = uint16_t(w->height + dh);
    if (w->mode & WIN_BACKSTORE) BackingStore(window);
}

void set_rectangle(Handle window, int x, int y, int width, int height) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    w->width = uint16_t(width);
    w->height = uint16_t(height);
    set_position(window, x, y);
}

int client_left(Handle window) {
    WindowRecord* w = window_record(window);
    return w ? w->origin_x + w->x : 0;
}
int client_top(Handle window) {
    WindowRecord* w = window_record(window);
    return w ? w->origin_y + w->y : 0;
}
int outer_left(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return 0;
    return w->origin_x + w->x - (w->mode & WIN_FRAME ? kFrameWidth : 0);
}
int outer_top(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return 0;
    int top = w->origin_y + w->y;
    if (w->mode & WIN_FRAME) top -= kFrameWidth;
    if (w->mode & WIN_CONTROLBAR) top -= kBarHeight;
    if (w->mode & WIN_BAR2) top -= kBarHeight;
    return top;
}
int outer_width(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return 0;
    return w->width + (w->mode & WIN_FRAME ? 2 * kFrameWidth : 0);
}
int outer_height(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return 0;
    int h = w->height;
    if (w->mode & WIN_FRAME) h += 2 * kFrameWidth;
    if (w->mode & WIN_CONTROLBAR) h += kBarHeight;
    if (w->mode & WIN_BAR2) h += kBarHeight;
    return h;
}
int bar_top(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return 0;
    return w->origin_y + w->y - kBarHeight - (w->mode & WIN_BAR2 ? kBarHeight : 0);
}

bool point_in_window(Handle window, int px, int py) {
    WindowRecord* w = window_record(window);
    if (!w) return false;
    int left = w->origin_x + w->x, top = w->origin_y + w->y;
    return px > left && px < left + w->width && py > top && py < top + w->height;
}

bool point_in_outer(Handle window, int px, int py) {
    int left = outer_left(window), top = outer_top(window);
    return px > left && px < left + outer_width(window) && py > top &&
           py < top + outer_height(window);
}

namespace {
// The mouse belongs to the capturing task while one holds it: every other task sees it
// nowhere.
bool captured_by_other(Handle caller) {
    Handle capture = g_window_manager.capture;
    return capture && capture != caller;
}
}  // namespace

int mouse_x_in(Handle window, Handle caller) {
    HostPoint p = HostCursor();
    if (captured_by_other(caller) || !point_in_window(window, p.x, p.y)) return -1;
    return p.x - client_left(window);
}

int mouse_y_in(Handle window, Handle caller) {
    HostPoint p = HostCursor();
    if (captured_by_other(caller) || !point_in_window(window, p.x, p.y)) return -1;
    return p.y - client_top(window);
}

int mouse_over_top_window() {
    WindowRecord* root = window_record(g_window_manager.root);
    if (!root) return 0;
    HostPoint p = HostCursor();
    for (Handle c = root->first_child; c;) {
        WindowRecord* w = window_record(c);
        if (!w) break;
        if ((w->mode & WIN_OPEN) && w->depth == 1 && point_in_outer(c, p.x, p.y)) return 1;
        c = w->next;
    }
    return 0;
}

uint32_t window_owner_id(Handle window) {
    WindowRecord* w = window_record(window);
    TaskRecord* t = w ? task_record(w->owner) : nullptr;
    return t ? t->id : 0;
}

const char* window_owner_name(Handle window) {
    WindowRecord* w = window_record(window);
    TaskRecord* t = w ? task_record(w->owner) : nullptr;
    return t ? t->name : "";
}
