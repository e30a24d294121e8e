// Object records: creation, the window's object list, lookups by number and kind, flags, and
// the destruction of objects with their sub-windows.
#include "window/object.h"

#include <algorithm>
#include <cstring>

#include "core/log.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "resource/resource.h"
#include "text/text.h"
#include "window/object_draw.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

// Sides beyond this are refused: no object window larger than any screen reaches the raster.
constexpr int kMaxObjectSide = 4096;

void unlink_object(Handle object) {
    ObjectRecord* o = object_record(object);
    if (!o) return;
    Handle next = o->next, back = o->back, parent = o->parent;
    if (ObjectRecord* n = object_record(next)) n->back = back;
    if (ObjectRecord* b = object_record(back)) b->next = next;
    if (WindowRecord* p = window_record(parent)) {
        if (p->first_object == object) p->first_object = next;
        if (p->last_object == object) p->last_object = back;
    }
    o->next = o->back = 0;
}

// The kind-specific data an object owns: a message object's text line, an input line's text.
void free_object_data(Handle object) {
    ObjectRecord* o = object_record(object);
    if (!o || !o->data) return;
    Handle data = o->data;
    uint16_t kind = o->kind;
    Handle owner = window_record(o->window) ? window_record(o->window)->owner : 0;
    o->data = 0;
    if (kind == OBJ_MESSAGE) {
        if (HandleEntry* e = handle_entry(data)) RemoveRecord(owner, e->owner, data);
    } else if (kind == OBJ_INPUT || kind == OBJ_TEXTLINE) {
        FreeText(owner, data);
    }
}

}  // namespace

ObjectRecord* object_record(Handle object) {
    if (!object || !g_resources.object) return nullptr;
    HandleEntry* e = handle_entry(object);
    if (!e || !e->body || (e->flags & RECORD_INACTIVE) || e->owner != g_resources.object ||
        e->size < sizeof(ObjectRecord))
        return nullptr;
    return reinterpret_cast<ObjectRecord*>(handle_body(object));
}

Handle CreateObject(Handle window, uint16_t number, uint16_t kind, int x, int y, int width,
                    int height, const char* name, uint32_t extra_mode) {
    WindowRecord* p = window_record(window);
    if (!p || width < 0 || height < 0 || width > kMaxObjectSide || height > kMaxObjectSide)
        return 0;
    InstallWindowObjects();
    Handle owner = p->owner, gc = p->gc;
    Handle object = CreateRecord(g_resources.object, -1, sizeof(ObjectRecord));
    ObjectRecord* o = object_record(object);
    if (!o) return 0;
    std::memset(o, 0, sizeof *o);
    o->flags = OBJ_CREATED;
    o->kind = 1;
    Handle sub = create_window(owner, window, uint16_t(width), uint16_t(height),
                               kObjectWindowMode | extra_mode);
    if (!sub) {
        RemoveRecord(owner, g_resources.object, object);
        return 0;
    }
    set_rectangle(sub, x, y, width, height);
    if (name) set_window_name(sub, name);
    o = object_record(object);
    o->window = sub;
    o->parent = window;
    o->kind = kind;
    o->number = number;
    o->gc = gc;
    p = window_record(window);
    o->back = p->last_object;
    if (ObjectRecord* last = object_record(p->last_object))
        last->next = object;
    else
        p->first_object = object;
    p->last_object = object;
    return object;
}

void DeleteObject(Handle object) {
    ObjectRecord* o = object_record(object);
    if (!o) return;
    WindowManager& m = g_window_manager;
    if (m.hovered_object == object) m.hovered_object = 0;
    if (m.object_cursor == object) m.object_cursor = 0;
    free_object_data(object);
    unlink_object(object);
    o = object_record(object);
    Handle sub = o->window, owner = window_record(o->parent) ? window_record(o->parent)->owner : 0;
    o->window = 0;
    if (sub) DestroyWindow(sub);
    RemoveRecord(owner, g_resources.object, object);
}

Handle ReqObject(Handle window, uint16_t number) {
    WindowRecord* w = window_record(window);
    for (Handle h = w ? w->first_object : 0; h;) {
        ObjectRecord* o = object_record(h);
        if (!o) break;
        if (o->number == number) return h;
        h = o->next;
    }
    return 0;
}

int ObjectCount(Handle window, uint16_t kind) {
    int n = 0;
    WindowRecord* w = window_record(window);
    for (Handle h = w ? w->first_object : 0; h;) {
        ObjectRecord* o = object_record(h);
        if (!o) break;
        n += o->kind == kind;
        h = o->next;
    }
    return n;
}

Handle NthObject(Handle window, uint16_t kind, int n) {
    WindowRecord* w = window_record(window);
    if (n < 1) return 0;
    for (Handle h = w ? w->first_object : 0; h;) {
        ObjectRecord* o = object_record(h);
        if (!o) break;
        if (o->kind == kind && --n == 0) return h;
        h = o->next;
    }
    return 0;
}

void MoveObject(Handle window, uint16_t number, int x, int y) {
    if (ObjectRecord* o = object_record(ReqObject(window, number))) set_position(o->window, x, y);
}

void MoveScrollBar(Handle window, uint16_t number, int x, int y) {
    ObjectRecord* e = object_record(ReqObject(window, number));
    WindowRecord* ew = e ? window_record(e->window) : nullptr;
    if (!ew) return;
    int length = ew->height + 32;
    MoveObject(window, uint16_t(number + 1), x, y);
    MoveObject(window, uint16_t(number + 2), x, y + length - 16);
    MoveObject(window, number, x, y + 16);
}

int ObjectOn(Handle window, uint16_t number) {
    ObjectRecord* o = object_record(ReqObject(window, number));
    if (!o) return -1;
    return (o->flags & OBJ_ON) ? 1 : 0;
}

void SetObjectFlags(Handle window, uint16_t number, uint32_t flags) {
    if (ObjectRecord* o = object_record(ReqObject(window, number))) o->flags |= flags;
}

int ClearObjectFlags(Handle window, uint16_t number, uint32_t flags) {
    ObjectRecord* o = object_record(ReqObject(window, number));
    if (!o || !(o->flags & flags)) return 0;
    o->flags &= ~flags;
    return 1;
}

namespace {

// Applies `change` to the flags of every object of the window; how many changed.
template <typename Change>
int change_all(Handle window, Change change) {
    int changed = 0;
    WindowRecord* w = window_record(window);
    for (Handle h = w ? w->first_object : 0; h;) {
        ObjectRecord* o = object_record(h);
        if (!o) break;
        uint32_t before = o->flags;
        o->flags = change(before);
        changed += o->flags != before;
        h = o->next;
    }
    return changed;
}

// A check button, or a text button that shows its state, is redrawn when its state changes.
void set_on(Handle window, uint16_t number, bool on) {
    Handle object = ReqObject(window, number);
    ObjectRecord* o = object_record(object);
    if (!o) return;
    if (on)
        o->flags |= OBJ_ON;
    else
        o->flags &= ~OBJ_ON;
    if (o->kind == OBJ_CHECK || (o->kind == OBJ_MESSAGE_BUTTON && (o->flags & OBJ_INERT)))
        draw_object_face(object, on);
}

}  // namespace

int SetAllObjectFlags(Handle window, uint32_t flags) {
    return change_all(window, [flags](uint32_t f) { return f | flags; });
}

int ClearAllObjectFlags(Handle window, uint32_t flags) {
    return change_all(window, [flags](uint32_t f) { return f & ~flags; });
}

void SetObjectOn(Handle window, uint16_t number) {
    set_on(window, number, true);
}

void SetObjectOff(Handle window, uint16_t number) {
    set_on(window, number, false);
}

void DestroyObject(Handle window, uint16_t number) {
    DeleteObject(ReqObject(window, number));
}

void OpenSubWindow(Handle object, int x, int y) {
    ObjectRecord* o = object_record(object);
    WindowRecord* w = o ? window_record(o->window) : nullptr;
    if (!w) {
        LogLine("OpenSubWindow()でReqObject()エラー"_sj);
        return;
    }
    Handle sub = o->window, owner = w->owner;
    if (w->mode & WIN_SHOW) {
        LogLine("OpenSubWindow()ですでにWINDOWshowが起きている。"_sj);
        ReqDrawEvent(window_owner_id(sub), sub);
        return;
    }
    w->mode = (w->mode | WIN_SHOW) & ~WIN_OPEN;
    SendWindowPointEvent(owner, sub, int16_t(x), int16_t(y));
}

void CloseSubWindow(Handle object) {
    ObjectRecord* o = object_record(object);
    WindowRecord* w = o ? window_record(o->window) : nullptr;
    if (!w) {
        LogLine("CloseSubWindow()でReqObject()エラー"_sj);
        return;
    }
    w->mode &= ~WIN_SHOW;
    SendWindowEvent(w->owner, o->window);
}
