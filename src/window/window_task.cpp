// WindowTask: the window manager's task. It takes one event per cycle; without one it polls
// the mouse buttons.
#include "window/window_task.h"

#include "core/log.h"
#include "core/system.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "window/draw.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/redraw.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window/window_mouse.h"
#include "window/window_status.h"

namespace {

// Item of the system menu that asks for the status dump.
constexpr uint16_t kStatusMenuItem = 5;
constexpr int kWindowFontSize = 14;

void initialise(Handle task) {
    if (g_system.system_name[0] != 'N') LogLine("      WindowManager init SYS error!!");
    WindowManager& m = g_window_manager;
    if (WindowRecord* root = window_record(m.root)) {
        GCRecord* g = gc_record(root->gc);
        FillRectangle(m.root, 0, 0, root->width, root->height, g ? g->fill : 0);
    }
    m.window_font = CreateFont(kWindowFontSize, kWindowFontSize + 2, 0, nullptr);
    AddMenuItemEvent(task, kStatusMenuItem, "WindowSTS", "Window Sts Loging!");
}

void start() {
    LogLine("WindowManager start!");
    WindowRecord* root = window_record(g_window_manager.root);
    LogLinef("    root window size %d/%d dot.", root ? root->width : 0, root ? root->height : 0);
}

void open_request(Handle window, int x, int y) {
    WindowRecord* w = window_record(window);
    if (!(w->mode & WIN_OPEN)) {
        open_window(window, x, y);
    } else if (window != g_window_manager.active || w->depth != 1) {
        activate_window(window);
    }
}

void activate_request(Handle window) {
    WindowManager& m = g_window_manager;
    if (window == m.active) return;
    if (window_record(window)->depth != 1) {
        activate_window(window);
    } else {
        raise_window(window);
        m.active = window;
    }
    window_depth();
}

void window_request(const EventRecord& e) {
    Handle window = e.value;
    if (!window_record(window)) return;
    int x = int16_t(e.word_a), y = int16_t(e.word_b);
    switch (e.code) {
        case EVENT_WINDOW_OPEN:
            open_request(window, x, y);
            break;
        case EVENT_WINDOW_CLOSE:
            // A window that is not open has nothing to close (and must not be counted again).
            if (test_window_mode(window, WIN_OPEN)) close_window(window);
            break;
        case EVENT_RET_DRAW:
            continue_redraw_motion(window);
            break;
        case EVENT_WINDOW_ACTIVATE:
            activate_request(window);
            break;
        case EVENT_WINDOW_MOVE:
            move_window(window, x, y);
            window_depth();
            break;
        case EVENT_WINDOW_RAISE:
            raise_window(window);
            window_depth();
            break;
        default:
            break;
    }
}

void handle_event(Handle task, const EventRecord& e) {
    switch (e.code) {
        case EVENT_SYSTEM_READY:
            initialise(task);
            break;
        case EVENT_START:
            start();
            break;
        case EVENT_MENU_SELECT:
            LogWindowStatus();
            break;
        case EVENT_HALF_SECOND:
            hover_objects();
            break;
        case EVENT_CLOSE_WINDOWS:
            close_all_windows();
            break;
        default:
            window_request(e);
            break;
    }
}

}  // namespace

void WindowTask(Handle task) {
    if (ReciveEvent(task) == RECEIVE_EVENT) {
        const EventRecord* e = event_record(CurrentEvent(task));
        if (!e) return;
        EventRecord copy = *e;  // handling sends events, which may move the record
        handle_event(task, copy);
        return;
    }
    if (g_system.phase == PHASE_RUNNING) poll_mouse_buttons();
}
