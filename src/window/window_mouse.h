// The mouse in the window manager: button polling, click routing, the close-box wait, the
// move and resize drags, and hovering over objects.
#pragma once

#include <cstdint>

#include "core/pool.h"

// Polls the buttons (the poll waits 10 ms) and acts on a change: a release goes to the active
// window's owner, a press to the capturing task or to click routing.
void poll_mouse_buttons();
// A press at absolute (x, y) with no capture.
void route_click(int x, int y, uint16_t buttons);
// Follows the mouse over the active window's objects (the half-second tick).
void hover_objects();

// The task that gets every press while it holds the capture (0 releases it).
void SetMouseCapture(Handle task);
void ReleaseMouseCapture();
