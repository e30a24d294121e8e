#include "window/object_menu.h"

#include <cstring>

#include "window/object.h"

bool ReadMenuObject(Handle object, MenuObject* out) {
    const ObjectRecord* o = object_record(object);
    if (!o) return false;
    switch (o->kind) {
        case OBJ_POPUP:
            out->kind = MENU_OBJECT_POPUP;
            break;
        case OBJ_PULLDOWN:
            out->kind = MENU_OBJECT_PULLDOWN;
            break;
        case OBJ_SELECTER:
            out->kind = MENU_OBJECT_SELECTER;
            break;
        case OBJ_MENUBAR:
            out->kind = MENU_OBJECT_MENUBAR;
            break;
        case OBJ_TEXTLINE: {
            // The data of a text line is its text; the menu it carries is kept in its state.
            TextLineState state;
            std::memcpy(&state, o->text, sizeof state);
            if (!state.menu) return false;
            out->kind = MENU_OBJECT_TEXTLINE;
            out->window = o->window;
            out->parent = o->parent;
            out->menu = state.menu;
            return true;
        }
        default:
            return false;
    }
    out->window = o->window;
    out->parent = o->parent;
    out->menu = o->data;
    return true;
}
