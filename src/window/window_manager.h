// The state of the window manager (one instance) and the operations that change stacking,
// visibility and the active window.
#pragma once

#include <cstdint>

#include "core/pool.h"
#include "core/system.h"

// The two window-system bits of the system flag word.
constexpr uint32_t FLAG_MODAL_OPEN = FLAG_WINDOW_SYSTEM;  // a modal window is open

struct WindowManager {
    Handle root;
    Handle system_gc;  // gc of every top-level window; inactive decorations
    Handle active_gc;  // decorations of the active window
    Handle third_gc;
    Handle window_font;  // titles
    Handle active;       // the active window
    int16_t open_count;
    Handle redraw_cursor;  // where the redraw walk resumes
    Handle object_cursor;  // where object drawing resumes
    Handle hovered_object;
    uint16_t last_buttons;
    Handle capture;  // task holding the mouse capture, 0 = none
    int16_t spacing_x;
    int16_t spacing_y;
};
extern WindowManager g_window_manager;

// Clears the window manager's state (start-up and tests).
void ResetWindowManager();

// The depth pass: depth and WIN_DRAWABLE of every window from the stacking order.
void window_depth();
// Rectangles overlap when they intersect or touch.
bool windows_overlap(Handle a, Handle b);
// True when an open sibling in front of the window covers it.
bool anyone_window(Handle window);

// Moves the window to the front of its siblings (no drawing).
void raise_window(Handle window);
// Opens the window at (x, y) and activates it; a second modal window is refused.
void open_window(Handle window, int x, int y);
void activate_window(Handle window);
void close_window(Handle window);
void close_all_windows();
void move_window(Handle window, int x, int y);

// Marks the open siblings that a vanished or moved area of `window` uncovers (WIN_REDRAW);
// returns how many were marked.
int mark_uncovered(Handle window);
// Marks `window` and, when it is covered, the windows in front of it that overlap it.
int mark_with_cover(Handle window);

// Sends the window's owner `code` with the window in the value field.
void notify_owner(Handle window, uint16_t code);
// ReqDrawEvent to the window's owner.
void request_draw(Handle window);
