#include "window/window_objects.h"

WindowObjectHooks g_window_object_hooks = {};

Handle DrawWindowObjects(Handle window, Handle after) {
    return g_window_object_hooks.draw ? g_window_object_hooks.draw(window, after) : 0;
}

Handle ObjectParentWindow(Handle object) {
    return g_window_object_hooks.parent ? g_window_object_hooks.parent(object) : 0;
}

int ClickWindowObjects(Handle window, int x, int y, uint16_t buttons) {
    return g_window_object_hooks.click ? g_window_object_hooks.click(window, x, y, buttons) : 0;
}

Handle ObjectUnderMouse(Handle window, int x, int y) {
    return g_window_object_hooks.under_mouse ? g_window_object_hooks.under_mouse(window, x, y) : 0;
}

bool IsSelecterObject(Handle object) {
    return g_window_object_hooks.is_selecter && g_window_object_hooks.is_selecter(object);
}

void DestroyWindowObjects(Handle window) {
    if (g_window_object_hooks.destroy) g_window_object_hooks.destroy(window);
}
