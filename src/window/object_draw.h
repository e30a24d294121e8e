// Drawing window objects: the faces of buttons, check boxes, arrows and the elevator, labels,
// help lines, pictures, message areas, input lines and menu objects, and the object drawer the
// window manager calls after a window.
#pragma once

#include <cstdint>

#include "core/pool.h"

// Draws one object by its kind (nothing for a hidden object or one whose sub-window is not
// shown). Sub-window objects draw their sub-window only; the caller asks the owner for the rest.
void draw_object(Handle object);
// Draws the face of a button-like object normal or pressed (ticked for a check button).
void draw_object_face(Handle object, bool pressed);
// The window manager's object drawer (see window_objects.h).
Handle draw_window_objects(Handle window, Handle after);
// Redraws the text of an input line from its first shown line.
void draw_input_line(Handle object);

// Draws the menu of a menu object into its sub-window; MenuTask installs it.
using ObjectMenuDrawer = void (*)(Handle object);
extern ObjectMenuDrawer g_object_menu_drawer;

// The object's GC font metrics: the half-width cell and the line height.
int object_cell_width(Handle gc);
int object_line_height(Handle gc);

// Copies `text` into the object's 68-byte text field; a longer text is cut at a character
// boundary with a log line. Returns the bytes kept.
int set_object_text(Handle object, const char* text);
