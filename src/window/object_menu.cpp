#include "window/object_menu.h"

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
        default:
            return false;
    }
    out->window = o->window;
    out->parent = o->parent;
    out->menu = o->data;
    return true;
}
