// Where window objects plug into the window manager. The manager draws a window's objects
// after the window, offers clicks to them, follows the mouse over them and destroys them with
// their window; the object module fills these entry points when it creates its first object.
// Until then no window has objects and every entry point is empty.
#pragma once

#include <cstdint>

#include "core/pool.h"

struct WindowObjectHooks {
    // Draws the window's shown objects, starting after `after` (0 = from the first). Stops
    // after a sub-window object, having sent its ReqDrawEvent, and returns that object (the
    // new object cursor); returns 0 when every object was drawn.
    Handle (*draw)(Handle window, Handle after);
    // The window that holds an object.
    Handle (*parent)(Handle object);
    // A press at absolute (x, y) with `buttons` inside the window's client area: returns 1
    // when an object took it (the object notice is sent), 0 otherwise.
    int (*click)(Handle window, int x, int y, uint16_t buttons);
    // The last object of the window whose sub-window is shown and contains (x, y), or 0.
    Handle (*under_mouse)(Handle window, int x, int y);
    // True for objects whose enter and leave notices go to the menu task.
    bool (*is_selecter)(Handle object);
    // Destroys every object of the window.
    void (*destroy)(Handle window);
};
extern WindowObjectHooks g_window_object_hooks;

// The calls the window manager makes; each does nothing while its entry point is empty.
Handle DrawWindowObjects(Handle window, Handle after);
Handle ObjectParentWindow(Handle object);
int ClickWindowObjects(Handle window, int x, int y, uint16_t buttons);
Handle ObjectUnderMouse(Handle window, int x, int y);
bool IsSelecterObject(Handle object);
void DestroyWindowObjects(Handle window);
