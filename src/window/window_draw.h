// Drawing windows themselves: decorations, backgrounds, the frame, and erasing.
#pragma once

#include "core/pool.h"

// Draws the window's shadow, bars, background, rules, frame and objects.
void draw_window(Handle window);
// The GC the window's decorations are drawn in: the active GC for the active window.
Handle decoration_gc(Handle window);
// Control bar, second bar and frame in `gc`.
void repaint_decorations(Handle window, Handle gc);
void draw_control_bar(Handle window, Handle gc);
void draw_close_box(Handle window, Handle gc, bool pressed);
void draw_resize_box(Handle window, Handle gc, bool pressed);
// The window's background and rules as draw_window paints them (wallpaper, tile, panel,
// semi-transparent, or fill).
void draw_window_background(Handle window);
// Erases the window's area with the colour of what lies under it.
void clear_window(Handle window);
