// How MenuTask reads the menu of a window object: the object kinds that carry a menu (Popupmenu,
// Pulldownmenu, Selecter, menu bar item) with their sub-window, holding window and menu.
#pragma once

#include "window/menu_task.h"

// Fills `out` for an object that carries a menu; false for any other handle.
bool ReadMenuObject(Handle object, MenuObject* out);
