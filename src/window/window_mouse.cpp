#include "window/window_mouse.h"

#include <algorithm>

#include "host/input.h"
#include "host/raster.h"
#include "host/services.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "window/backing_store.h"
#include "window/redraw.h"
#include "window/window.h"
#include "window/window_draw.h"
#include "window/window_events.h"
#include "window/window_manager.h"
#include "window/window_objects.h"

namespace {

struct Rect {
    int x, y, width, height;
    bool contains(int px, int py) const {
        return px > x && px < x + width && py > y && py < y + height;
    }
};

Rect outer_rect(Handle window) {
    return {outer_left(window), outer_top(window), outer_width(window), outer_height(window)};
}

Rect bar_rect(Handle window) {
    return {client_left(window), bar_top(window), window_record(window)->width, kBarHeight};
}

// The box hit areas: 14 by 14 squares standing on the bar's bottom edge.
Rect close_box_rect(Handle window) {
    return {client_left(window), bar_top(window) + kBarHeight - kBoxSize, kBoxSize, kBoxSize};
}

Rect resize_box_rect(Handle window) {
    return {client_left(window) + window_record(window)->width - kBoxSize,
            bar_top(window) + kBarHeight - kBoxSize, kBoxSize, kBoxSize};
}

Handle front_window_at(int x, int y) {
    WindowRecord* root = window_record(g_window_manager.root);
    for (Handle s = root ? root->last_child : 0; s;) {
        WindowRecord* w = window_record(s);
        if ((w->mode & WIN_OPEN) && point_in_outer(s, x, y)) return s;
        s = w->back;
    }
    return 0;
}

// Waits, polling every 10 ms, until every button is up.
void wait_release() {
    while (HostSleep() != 0) {
    }
}

void close_box_click(Handle window) {
    Handle gc = decoration_gc(window);
    draw_close_box(window, gc, true);
    wait_release();
    HostPoint p = HostCursor();
    if (close_box_rect(window).contains(p.x, p.y))
        close_window(window);
    else
        draw_close_box(window, gc, false);
}

void move_drag(Handle window, int press_x, int press_y) {
    Rect r = outer_rect(window);
    int grab_x = press_x - r.x, grab_y = press_y - r.y;
    HostFocusRect(r.x, r.y, r.width, r.height);
    int x = r.x, y = r.y;
    while (HostSleep() != 0) {
        HostPoint p = HostCursor();
        int nx = p.x - grab_x, ny = p.y - grab_y;
        if (nx == x && ny == y) continue;
        HostEraseFocusRect();
        x = nx;
        y = ny;
        HostFocusRect(x, y, r.width, r.height);
    }
    HostEraseFocusRect();
    HostPoint p = HostCursor();
    if (p.x == press_x && p.y == press_y) return;
    // The client moves with the outer rectangle.
    WindowRecord* w = window_record(window);
    int cx = w->x + p.x - grab_x - r.x, cy = w->y + p.y - grab_y - r.y;
    move_window(window, cx, cy);
    window_depth();
}

bool overlaps_other_open_top_level(Handle window) {
    WindowRecord* root = window_record(g_window_manager.root);
    for (Handle s = root ? root->first_child : 0; s;) {
        WindowRecord* w = window_record(s);
        if (s != window && (w->mode & WIN_OPEN) && windows_overlap(s, window)) return true;
        s = w->next;
    }
    return false;
}

// Returns true when the size changed.
bool resize_drag(Handle window, int press_x, int press_y) {
    Rect r = outer_rect(window);
    WindowRecord* w = window_record(window);
    int min_dw = 1 - w->width, min_dh = 1 - w->height;  // the client keeps at least 1 pixel
    int dw = 0, dh = 0;
    HostFocusRect(r.x, r.y, r.width, r.height);
    while (HostSleep() != 0) {
        HostPoint p = HostCursor();
        int ndw = std::max(p.x - press_x, min_dw);
        int ndh = std::max(p.y - press_y, min_dh);
        if (ndw == dw && ndh == dh) continue;
        HostEraseFocusRect();
        dw = ndw;
        dh = ndh;
        HostFocusRect(r.x, r.y, r.width + dw, r.height + dh);
    }
    HostEraseFocusRect();
    if (dw == 0 && dh == 0) return false;

    clear_window(window);
    if (!overlaps_other_open_top_level(window)) {
        resize_window(window, dw, dh);
        SaveBackingStore(window);
        draw_window(window);
        request_draw(window);
    } else {
        mark_uncovered(window);
        start_redraw_motion();
        resize_window(window, dw, dh);
    }
    window_depth();
    notify_owner(window, EVENT_WINDOW_RESIZED);
    return true;
}

void bar_click(Handle window, int x, int y) {
    uint32_t mode = window_mode(window);
    if ((mode & WIN_CLOSEBOX) && close_box_rect(window).contains(x, y)) {
        close_box_click(window);
    } else if ((mode & WIN_RESIZEBOX) && resize_box_rect(window).contains(x, y)) {
        Handle gc = decoration_gc(window);
        draw_resize_box(window, gc, true);
        if (!resize_drag(window, x, y)) draw_resize_box(window, gc, false);
    } else {
        move_drag(window, x, y);
    }
}

void send_hover(uint16_t code, Handle object, Handle window) {
    uint32_t destination =
        IsSelecterObject(object) ? TASK_ID_MENU : window_owner_id(g_window_manager.active);
    if (destination) SendObjectEvent(destination, code, window, object);
}

}  // namespace

void SetMouseCapture(Handle task) {
    g_window_manager.capture = task;
}
void ReleaseMouseCapture() {
    g_window_manager.capture = 0;
}

void poll_mouse_buttons() {
    WindowManager& m = g_window_manager;
    uint16_t buttons = HostSleep();
    if (buttons == m.last_buttons) return;
    m.last_buttons = buttons;
    if (buttons == 0) {
        if (uint32_t owner = window_owner_id(m.active))
            SendMouseEvent(owner, EVENT_MOUSE_UP, m.active, 0, mouse_x_in(m.active, g_tasks.window),
                           mouse_y_in(m.active, g_tasks.window));
        return;
    }
    HostPoint p = HostCursor();
    if (m.capture) {
        SendMouseEvent(TaskId(m.capture), EVENT_MOUSE_DOWN, 0, buttons, p.x, p.y);
        return;
    }
    route_click(p.x, p.y, buttons);
}

void route_click(int x, int y, uint16_t buttons) {
    WindowManager& m = g_window_manager;
    Handle window = front_window_at(x, y);
    if (!window) return;
    WindowRecord* w = window_record(window);
    if (w->depth != 1) {
        activate_window(window);
        return;
    }
    if (TestSystemFlag(FLAG_MODAL_OPEN) && !(w->mode & WIN_MODAL)) return;
    if (window != m.active) {
        if (Handle old = m.active) repaint_decorations(old, m.system_gc);
        repaint_decorations(window, m.active_gc);
        m.active = window;
    }
    if ((window_mode(window) & WIN_CONTROLBAR) && bar_rect(window).contains(x, y)) {
        bar_click(window, x, y);
        return;
    }
    if (!point_in_window(window, x, y)) return;
    if (ClickWindowObjects(window, x, y, buttons)) return;
    if (uint32_t owner = window_owner_id(window))
        SendMouseEvent(owner, EVENT_MOUSE_DOWN, window, buttons, x - client_left(window),
                       y - client_top(window));
}

void hover_objects() {
    WindowManager& m = g_window_manager;
    WindowRecord* active = window_record(m.active);
    if (!active || !active->first_object) return;
    HostPoint p = HostCursor();
    Handle found = ObjectUnderMouse(m.active, p.x, p.y);
    if (!found) {
        if (m.hovered_object) {
            send_hover(EVENT_MOUSE_LEAVE, m.hovered_object, ObjectParentWindow(m.hovered_object));
            m.hovered_object = 0;
        }
        return;
    }
    if (found != m.hovered_object) {
        if (m.hovered_object)
            send_hover(EVENT_MOUSE_LEAVE, m.hovered_object, ObjectParentWindow(m.hovered_object));
        send_hover(EVENT_MOUSE_ENTER, found, m.active);
        m.hovered_object = found;
    } else if (IsSelecterObject(found)) {
        send_hover(EVENT_MOUSE_ENTER, found, m.active);
    }
}
