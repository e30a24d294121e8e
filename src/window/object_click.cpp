// Clicks on window objects: the search from the last object backwards, `action_button` by
// kind, and the object notices (0x308) to the window's owner, MenuTask or TextTask. Also the
// entry points the window manager calls (window_objects.h).
#include <cstring>

#include "core/log.h"
#include "host/services.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/task.h"
#include "window/object.h"
#include "window/object_draw.h"
#include "window/window.h"
#include "window/window_objects.h"

// The text effect player's redraw of a message object; the effect task installs it.
int (*g_redraw_effect)(Handle task, Handle object, int mode) = nullptr;

namespace {

constexpr uint16_t kPopupButtons = 2;

// Waits, polling every 10 ms, until every button is up. The main thread keeps presenting.
void wait_release() {
    while (HostSleep() != 0) {
    }
}

void send_notice(uint32_t destination, Handle object) {
    ObjectRecord* o = object_record(object);
    if (!o || !destination) return;
    uint32_t number = o->number;
    Handle parent = o->parent;
    EventRecord* e = event_record(SendEvent(TASK_ID_WINDOW, destination, EVENT_OBJECT_NOTICE));
    if (!e) return;
    e->long_a = number;
    e->value = parent;
    std::memcpy(e->data, &object, sizeof object);
}

void press_and_release(Handle object) {
    draw_object_face(object, true);
    wait_release();
    draw_object_face(object, false);
}

void toggle(Handle object) {
    ObjectRecord* o = object_record(object);
    o->flags ^= OBJ_ON;
    draw_object_face(object, o->flags & OBJ_ON);
    wait_release();
}

Handle first_object_at(Handle window, int x, int y, bool shown_only) {
    WindowRecord* w = window_record(window);
    for (Handle h = w ? w->last_object : 0; h;) {
        ObjectRecord* o = object_record(h);
        if (!o) break;
        if (point_in_window(o->window, x, y) &&
            (!shown_only || test_window_mode(o->window, WIN_SHOW)))
            return h;
        h = o->back;
    }
    return 0;
}

int click(Handle window, int x, int y, uint16_t buttons) {
    WindowRecord* w = window_record(window);
    for (Handle h = w ? w->last_object : 0; h;) {
        ObjectRecord* o = object_record(h);
        if (!o) break;
        Handle back = o->back, sub = o->window;
        if (!point_in_window(sub, x, y)) {
            h = back;
            continue;
        }
        if (o->kind == OBJ_POPUP) {
            if (!(o->flags & OBJ_INERT) && buttons == kPopupButtons) {
                send_notice(TASK_ID_MENU, h);
                return 1;
            }
            h = back;
            continue;
        }
        uint32_t mode = window_mode(sub);
        if (!(mode & WIN_SHOW) || !(mode & WIN_DRAWABLE) || o->kind == OBJ_GRAPHIC) {
            h = back;
            continue;
        }
        if (o->kind == OBJ_SUB) return click(sub, x, y, buttons);
        action_button(h);
        send_notice(window_owner_id(window), h);
        return 1;
    }
    return 0;
}

Handle under_mouse(Handle window, int x, int y) {
    return first_object_at(window, x, y, true);
}

Handle parent_of(Handle object) {
    ObjectRecord* o = object_record(object);
    return o ? o->parent : 0;
}

bool is_selecter(Handle object) {
    ObjectRecord* o = object_record(object);
    return o && o->kind == OBJ_SELECTER;
}

void destroy_all(Handle window) {
    // Each deletion unlinks the first object; the bound guards against a damaged list.
    for (int guard = 1 << 20; guard--;) {
        WindowRecord* w = window_record(window);
        if (!w || !object_record(w->first_object)) break;
        DeleteObject(w->first_object);
    }
    if (WindowRecord* w = window_record(window)) w->first_object = w->last_object = 0;
}

}  // namespace

void action_button(Handle object) {
    ObjectRecord* o = object_record(object);
    if (!o || (o->flags & OBJ_INERT)) return;
    bool hidden = o->flags & OBJ_HIDDEN;
    switch (o->kind) {
        case OBJ_BUTTON:
            if (!hidden) toggle(object);
            break;
        case OBJ_CHECK:
            toggle(object);
            break;
        case OBJ_MESSAGE_BUTTON:
            if (!hidden) press_and_release(object);
            break;
        case OBJ_MESSAGE: {
            WindowRecord* w = window_record(o->parent);
            Handle owner = w ? w->owner : 0;
            if (g_redraw_effect)
                g_redraw_effect(owner, object, 0);
            else
                draw_object(object);
            wait_release();
            break;
        }
        case OBJ_UP:
        case OBJ_DOWN:
        case OBJ_LEFT:
        case OBJ_RIGHT:
            press_and_release(object);
            break;
        case OBJ_INPUT:
            send_notice(TASK_ID_TEXT, object);
            break;
        case OBJ_POPUP:
        case OBJ_PULLDOWN:
        case OBJ_SELECTER:
        case OBJ_MENUBAR:
        case OBJ_TEXTLINE:
            send_notice(TASK_ID_MENU, object);
            break;
        case OBJ_GRAPHIC:
        case OBJ_ELEVATOR:
        case OBJ_HELP:
            break;
        default:
            LogLinef("action_button で未使用番号(%d)が指定されました\n"_sj, int(o->kind));
            break;
    }
}

void InstallWindowObjects() {
    WindowObjectHooks& h = g_window_object_hooks;
    if (h.draw == draw_window_objects) return;
    h.draw = draw_window_objects;
    h.parent = parent_of;
    h.click = click;
    h.under_mouse = under_mouse;
    h.is_selecter = is_selecter;
    h.destroy = destroy_all;
}
