// Opening, activating, closing, raising and moving windows.
#include <cstdio>

#include "core/log.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "window/backing_store.h"
#include "window/redraw.h"
#include "window/window.h"
#include "window/window_draw.h"
#include "window/window_events.h"
#include "window/window_manager.h"

WindowManager g_window_manager = {};

void ResetWindowManager() {
    g_window_manager = WindowManager{};
    ClearSystemFlag(FLAG_MODAL_OPEN | FLAG_REDRAW_MOTION);
}

namespace {

bool is_top_level(const WindowRecord* w) {
    return w->parent == g_window_manager.root;
}

// Sets WIN_DRAWABLE on the direct children.
void children_drawable(Handle window) {
    WindowRecord* w = window_record(window);
    for (Handle c = w ? w->first_child : 0; c;) {
        WindowRecord* child = window_record(c);
        child->mode |= WIN_DRAWABLE;
        c = child->next;
    }
}

// Sets WIN_DRAWABLE on every open or shown descendant.
void descendants_drawable(Handle window) {
    WindowRecord* w = window_record(window);
    for (Handle c = w ? w->first_child : 0; c;) {
        WindowRecord* child = window_record(c);
        if (child->mode & (WIN_OPEN | WIN_SHOW)) child->mode |= WIN_DRAWABLE;
        descendants_drawable(c);
        c = child->next;
    }
}

// The window that becomes active when `closed` goes: the nearest open sibling behind it,
// else the front-most open top-level window.
Handle next_active(Handle closed) {
    WindowRecord* w = window_record(closed);
    for (Handle s = w->back; s;) {
        WindowRecord* sibling = window_record(s);
        if (sibling->mode & WIN_OPEN) return s;
        s = sibling->back;
    }
    WindowRecord* root = window_record(g_window_manager.root);
    for (Handle s = root ? root->last_child : 0; s;) {
        WindowRecord* sibling = window_record(s);
        if (sibling->mode & WIN_OPEN) return s;
        s = sibling->back;
    }
    return 0;
}

int overlapping_open_top_level(Handle window) {
    WindowRecord* root = window_record(g_window_manager.root);
    int n = 0;
    for (Handle s = root ? root->first_child : 0; s;) {
        WindowRecord* sibling = window_record(s);
        if ((sibling->mode & WIN_OPEN) && windows_overlap(s, window)) ++n;
        s = sibling->next;
    }
    return n;
}

}  // namespace

void notify_owner(Handle window, uint16_t code) {
    uint32_t owner = window_owner_id(window);
    if (owner) SendWindowManagerEvent(owner, code, window);
}

void request_draw(Handle window) {
    uint32_t owner = window_owner_id(window);
    if (owner) SendReqDraw(owner, window);
}

void raise_window(Handle window) {
    WindowRecord* w = window_record(window);
    WindowRecord* p = w ? window_record(w->parent) : nullptr;
    if (!p || p->last_child == window) return;
    // Unlink.
    if (WindowRecord* n = window_record(w->next)) n->back = w->back;
    if (WindowRecord* b = window_record(w->back)) b->next = w->next;
    if (p->first_child == window) p->first_child = w->next;
    // Append at the front.
    Handle old_last = p->last_child;
    w->back = old_last;
    w->next = 0;
    if (WindowRecord* last = window_record(old_last)) last->next = window;
    p->last_child = window;
    if (!p->first_child) p->first_child = window;
}

void open_window(Handle window, int x, int y) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    if (w->mode & WIN_MODAL) {
        if (TestSystemFlag(FLAG_MODAL_OPEN)) return;
        SetSystemFlag(FLAG_MODAL_OPEN);
    }
    ++g_window_manager.open_count;
    w->mode |= WIN_OPEN | WIN_DRAWABLE;
    set_position(window, x, y);
    if (!is_top_level(window_record(window))) clamp_window(window, 10);
    notify_owner(window, EVENT_WINDOW_OPENED);
    if (window_mode(window) & WIN_BACKSTORE) SaveBackingStore(window);
    activate_window(window);
    window_depth();
    descendants_drawable(window);
}

void activate_window(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w || !(w->mode & WIN_OPEN)) return;
    WindowManager& m = g_window_manager;
    if (Handle old = m.active) {
        notify_owner(old, EVENT_WINDOW_INACTIVE);
        if (test_window_mode(old, WIN_OPEN)) {
            set_window_mode(old, WIN_DRAWABLE);
            repaint_decorations(old, m.system_gc);
        }
    }
    raise_window(window);
    window_depth();
    set_window_mode(window, WIN_DRAWABLE);
    m.active = window;
    children_drawable(window);

    draw_window(window);
    request_draw(window);
    SetSystemFlag(FLAG_REDRAW_MOTION);
    w = window_record(window);
    m.redraw_cursor = w ? w->first_child : 0;
    notify_owner(window, EVENT_WINDOW_ACTIVE);
}

void close_window(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    WindowManager& m = g_window_manager;
    if (w->mode & WIN_MODAL) ClearSystemFlag(FLAG_MODAL_OPEN);
    --m.open_count;
    notify_owner(window, EVENT_WINDOW_CLOSED);
    w = window_record(window);
    for (Handle c = w->first_child; c;) {
        WindowRecord* child = window_record(c);
        child->mode &= ~WIN_DRAWABLE;
        c = child->next;
    }

    if (w->mode & WIN_BACKSTORE)
        RestoreBackingStore(window);
    else
        clear_window(window);
    w = window_record(window);
    w->depth = 0;
    w->mode &= ~(WIN_SHOW | WIN_OPEN | WIN_DRAWABLE);

    if (!is_top_level(w)) {
        window_depth();
        LogLine("WindowTask subwindow close ");
        return;
    }
    if (m.open_count <= 0) return;
    Handle active = next_active(window);
    if (!active) {
        LogLine("active window LOST for close_window()");
        return;
    }
    m.active = active;

    if (window_mode(window) & WIN_BACKSTORE) {
        window_depth();
        repaint_decorations(active, m.active_gc);
        return;
    }
    repaint_decorations(active, m.active_gc);
    if (mark_uncovered(window) == 0) {
        window_depth();
        LogLinef("CLOSEによる再描画枚数が0枚なんて... win %lx work %lx"_sj, (unsigned long)window,
                 (unsigned long)active);
        return;
    }
    raise_window(active);
    window_depth();
    set_window_mode(active, WIN_DRAWABLE);
    if (m.open_count > 0 && !TestSystemFlag(FLAG_MODAL_OPEN)) start_redraw_motion();
}

void close_all_windows() {
    WindowRecord* root = window_record(g_window_manager.root);
    for (Handle s = root ? root->last_child : 0; s;) {
        WindowRecord* w = window_record(s);
        Handle back = w->back;
        if (w->mode & WIN_OPEN) close_window(s);
        s = back;
    }
}

void move_window(Handle window, int x, int y) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    if (w->mode & WIN_BACKSTORE)
        RestoreBackingStore(window);
    else
        clear_window(window);

    if (is_top_level(window_record(window))) {
        if (overlapping_open_top_level(window) < 2) {
            set_position(window, x, y);
            raise_window(window);
            request_draw(window);
            draw_window(window);
        } else {
            mark_uncovered(window);
            set_position(window, x, y);
            start_redraw_motion();
            raise_window(window);
        }
    } else {
        set_position(window, x, y);
        clamp_window(window, 10);
        raise_window(window);
        if (window_mode(window) & WIN_BACKSTORE) SaveBackingStore(window);
        draw_window(window);
        request_draw(window);
        window_depth();
    }
    notify_owner(window, EVENT_WINDOW_MOVE);
}
