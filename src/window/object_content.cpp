// What objects show: showing, hiding and drawing them, their pictures, texts, help lines,
// input texts, scroll positions, and window wallpapers.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/log.h"
#include "host/bitmap.h"
#include "host/raster_blit.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "resource/resource.h"
#include "text/text.h"
#include "window/backing_store.h"
#include "window/gc.h"
#include "window/graphic.h"
#include "window/object.h"
#include "window/object_draw.h"
#include "window/win_bitmap.h"
#include "window/win_text.h"
#include "window/window.h"
#include "window/window_draw.h"
#include "window/window_manager.h"

namespace {

constexpr int kShowMargin = 10;
constexpr size_t kHelpTextLimit = 40;

// An input line (or a text line of the text task) and its text.
Handle input_text(Handle window, uint16_t number, const char* operation) {
    Handle object = ReqObject(window, number);
    ObjectRecord* o = object_record(object);
    if (!o) {
        LogLinef("Object番号指定ミス %s"_sj, operation);
        return 0;
    }
    if (o->kind != OBJ_INPUT && o->kind != OBJ_TEXTLINE) return 0;
    return text_header(o->data) ? o->data : 0;
}

Handle elevator(Handle window, uint16_t number) {
    Handle object = ReqObject(window, number);
    ObjectRecord* o = object_record(object);
    return o && o->kind == OBJ_ELEVATOR ? object : 0;
}

void update_elevator(Handle object, int32_t minimum, int32_t maximum, int32_t position) {
    ObjectRecord* o = object_record(object);
    ElevatorState s = {minimum, maximum, position};
    std::memcpy(o->text, &s, sizeof s);
    if (test_window_mode(o->window, WIN_DRAWABLE)) draw_object(object);
}

}  // namespace

void ShowObject(Handle window, uint16_t number, int x, int y) {
    Handle object = ReqObject(window, number);
    ObjectRecord* o = object_record(object);
    WindowRecord* w = o ? window_record(o->window) : nullptr;
    if (!w) return;
    if ((w->mode & WIN_SHOW) && w->x == x && w->y == y) return;
    Handle sub = o->window;
    w->mode |= WIN_SHOW;
    set_position(sub, x, y);
    clamp_window(sub, kShowMargin);
    window_depth();
    if (test_window_mode(sub, WIN_BACKSTORE)) SaveBackingStore(sub);
    draw_object(object);
}

void HideObject(Handle window, uint16_t number) {
    ObjectRecord* o = object_record(ReqObject(window, number));
    WindowRecord* w = o ? window_record(o->window) : nullptr;
    if (!w) return;
    w->mode &= ~WIN_SHOW;
    if (w->mode & WIN_BACKSTORE) {
        RestoreBackingStore(o->window);
        return;
    }
    Handle parent = o->parent;
    if (!test_window_mode(parent, WIN_OPEN)) return;
    draw_window(parent);
    window_depth();
    ReqDrawEvent(window_owner_id(parent), parent);
}

void DrawObject(Handle window, uint16_t number) {
    Handle object = ReqObject(window, number);
    ObjectRecord* o = object_record(object);
    WindowRecord* w = o ? window_record(o->window) : nullptr;
    if (!w) return;
    if (w->backing_store) {
        LogLinef("draw object SaveWindowGraphic() name %.22s", w->name);
        SaveBackingStore(o->window);
    }
    draw_object(object);
}

void SetGraphicObject(Handle window, uint16_t number, Handle picture) {
    Handle object = ReqObject(window, number);
    ObjectRecord* o = object_record(object);
    if (!o || o->kind != OBJ_GRAPHIC || (!o->data && !picture)) return;
    o->data = picture;
    if (!picture) {
        HideObject(window, number);
        return;
    }
    set_window_mode(o->window, WIN_SHOW);
    // The picture and every later shown object are drawn again over it.
    set_window_mode(window, WIN_SAVEGRAPHIC);
    for (Handle h = object; h;) {
        ObjectRecord* r = object_record(h);
        if (!r) break;
        Handle next = r->next;
        if (test_window_mode(r->window, WIN_SHOW)) draw_object(h);
        h = next;
    }
    clear_window_mode(window, WIN_SAVEGRAPHIC);
}

void SetMessageButtonText(Handle window, uint16_t number, const char* text) {
    Handle object = ReqObject(window, number);
    ObjectRecord* o = object_record(object);
    if (!o || o->kind != OBJ_MESSAGE_BUTTON) return;
    set_object_text(object, text);
    if (test_window_mode(object_record(object)->window, WIN_SHOW)) draw_object(object);
}

const char* MessageObjectText(Handle object) {
    ObjectRecord* o = object_record(object);
    if (!o || o->kind != OBJ_MESSAGE) return nullptr;
    HandleEntry* e = handle_entry(o->data);
    if (!e || !e->body || (e->flags & RECORD_INACTIVE) || e->size < kMessageLineCapacity + 1)
        return nullptr;
    return reinterpret_cast<const char*>(handle_body(o->data));
}

Handle SetMessageObject(Handle window, uint16_t number, const char* text) {
    clear_window_mode(window, WIN_SAVEGRAPHIC);
    Handle object = ReqObject(window, number);
    if (!MessageObjectText(object) || !text) return 0;
    if (std::strlen(text) > size_t(kMessageLineCapacity)) {
        LogLine("SetMessageObject() text length error");
        return 0;
    }
    char* line = reinterpret_cast<char*>(handle_body(object_record(object)->data));
    std::memset(line, 0, kMessageLineCapacity + 1);
    std::memcpy(line, text, std::strlen(text));
    return object;
}

void SetHelpMessage(Handle window, const char* text) {
    Handle object = NthObject(window, OBJ_HELP, 1);
    ObjectRecord* o = object_record(object);
    WindowRecord* w = o ? window_record(o->window) : nullptr;
    if (!w) return;
    if (text && std::strlen(text) > kHelpTextLimit) {
        std::fputs("helpmessageの文字列が長すぎます\n"_sj, stdout);
        std::fflush(stdout);
    }
    set_object_text(object, text ? text : "");
    draw_object(object);
}

char* GetInputText(Handle window, uint16_t number, char* buffer) {
    Handle text = input_text(window, number, "GetInputText");
    if (!text || !buffer) return nullptr;
    if (!GetTextLine(text, 0, buffer, kTextLineCapacity + 1)) buffer[0] = '\0';
    return buffer;
}

int32_t GetInputNumber(Handle window, uint16_t number) {
    char buffer[kTextLineCapacity + 1];
    if (!GetInputText(window, number, buffer)) return -1;
    char* end = nullptr;
    long value = std::strtol(buffer, &end, 10);
    return end == buffer ? -1 : int32_t(value);
}

int PutInputText(Handle window, uint16_t number, const char* text) {
    Handle t = input_text(window, number, "PutInputText");
    if (!t || !text || std::strlen(text) > size_t(kTextLineCapacity)) return 1;
    TextHeader* h = text_header(t);
    text_delete(t, 0, 0, int(h->size) + 1);
    if (*text && text_insert(t, 0, 0, text, int(std::strlen(text)))) return 1;
    h = text_header(t);
    h->cursor_x = 0;
    h->cursor_y = 0;
    Handle object = ReqObject(window, number);
    if (test_window_mode(object_record(object)->window, WIN_DRAWABLE)) draw_input_line(object);
    return 0;
}

int PutInputNumber(Handle window, uint16_t number, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", int(value));
    return PutInputText(window, number, text);
}

void SetScrollRange(Handle window, uint16_t number, int32_t minimum, int32_t maximum) {
    Handle object = elevator(window, number);
    if (!object) return;
    ElevatorState s;
    std::memcpy(&s, object_record(object)->text, sizeof s);
    update_elevator(object, minimum, maximum, s.position);
}

void SetScrollPosition(Handle window, uint16_t number, int32_t position) {
    Handle object = elevator(window, number);
    if (!object) return;
    ElevatorState s;
    std::memcpy(&s, object_record(object)->text, sizeof s);
    update_elevator(object, s.minimum, s.maximum, position);
}

int32_t ScrollPosition(Handle window, uint16_t number) {
    Handle object = elevator(window, number);
    if (!object) return -1;
    ElevatorState s;
    std::memcpy(&s, object_record(object)->text, sizeof s);
    return s.position;
}

void Wallpaper(Handle window, Handle picture) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    Handle owner = w->owner, old = w->wallpaper;
    int width = w->width, height = w->height;
    w->wallpaper = 0;
    if (old) FreeGraphic(owner, 0, old);
    Handle paper = CreateGraphic(owner, 0, width + 1, height + 1);
    if (!paper) {
        LogLinef("Wallpaperでメモリ確保に失敗 %s"_sj, window_owner_name(window));
        return;
    }
    window_record(window)->wallpaper = paper;
    GraphicRecord* p = graphic_record(picture);
    if (!p) return;
    uint32_t bitmap = p->bitmap;
    // The wallpaper keeps the picture, so that later redraws of the window show it again.
    int pw = 0, ph = 0;
    if (HostBitmapSize(bitmap, &pw, &ph))
        RasterStretch(HostBitmapTarget(graphic_record(paper)->bitmap), 0, 0, width + 1, height + 1,
                      HostBitmapTarget(bitmap), 0, 0, pw, ph);
    WinStretchBitmap(window, 0, 0, width, height, bitmap);
}
