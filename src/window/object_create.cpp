// The creators of every object kind: each sizes the object as its kind says, names its
// sub-window and fills the kind's data.
#include <cstdio>
#include <cstring>

#include "core/log.h"
#include "host/sjis_literal.h"
#include "kernel/task.h"
#include "resource/resource.h"
#include "text/text.h"
#include "window/gc.h"
#include "window/object.h"
#include "window/object_draw.h"
#include "window/text_task.h"
#include "window/window.h"

namespace {

constexpr int kArrowSide = 16;
constexpr int kCheckSide = 12;

Handle window_gc(Handle window) {
    WindowRecord* w = window_record(window);
    return w ? w->gc : 0;
}

// The size of a text button or label for `text` in the window GC's font.
void text_button_size(Handle window, const char* text, int* width, int* height) {
    Handle gc = window_gc(window);
    *width = object_cell_width(gc) * (int(std::strlen(text)) + 2) + 10;
    *height = object_line_height(gc) + 10;
}

Handle text_object(Handle window, uint16_t number, uint16_t kind, int x, int y, const char* text,
                   const char* name) {
    if (!text) text = "";
    // The size follows the text as it is kept in the record.
    char kept[kObjectTextSize];
    std::snprintf(kept, sizeof kept, "%s", text);
    int width, height;
    text_button_size(window, kept, &width, &height);
    Handle object = CreateObject(window, number, kind, x, y, width, height, name);
    if (object) set_object_text(object, text);
    return object;
}

// The text line record of a message object, in the owner task's shared "TEXTWORK" text.
Handle message_text_line(Handle window) {
    WindowRecord* w = window_record(window);
    Handle owner = w ? w->owner : 0;
    char name[32];
    std::snprintf(name, sizeof name, "TEXTWORK%u", TaskId(owner));
    Handle resource = CreateResource(owner, name, "TEXT");
    if (!resource) return 0;
    return CreateRecord(resource, -1, kMessageLineCapacity + 1);
}

int input_serial = 0;

Handle input_line(Handle window, uint16_t number, int x, int y, int length, Handle owner,
                  uint32_t text_flags) {
    Handle gc = window_gc(window);
    if (!window_record(window) || length < 1 || length > kTextLineCapacity) {
        LogLine("    CreateMessageLine null error");
        return 0;
    }
    char name[32];
    std::snprintf(name, sizeof name, "INPUTLINE%u-%d", TaskId(owner), ++input_serial);
    Handle text = CreateText(owner, name, TEXT_FLAG_SINGLE_LINE | text_flags);
    if (text) {
        text_delete(text, 0, 0, kTextLineCapacity);
        text_insert(text, 0, 0, "demo text", 9);
    }
    int width = object_cell_width(gc) * (length + 1) + 4;
    int height = object_line_height(gc) + 4;
    Handle object = CreateTextLine(text, window, number, x, y, width, height);
    ObjectRecord* o = object_record(object);
    if (!o) {
        LogLine("    CreateMessageLine null error");
        if (text) CloseText(owner, text);
        return 0;
    }
    o->kind = OBJ_INPUT;
    // The line holds `length` bytes; the cell after them keeps room for the cursor.
    TextLineState state;
    std::memcpy(&state, o->text, sizeof state);
    state.visible_columns = uint16_t(length);
    std::memcpy(o->text, &state, sizeof state);
    return object;
}

}  // namespace

Handle Button(Handle window, uint16_t number, int x, int y, int width, int height) {
    return CreateObject(window, number, OBJ_BUTTON, x, y, width, height);
}

Handle CheckButton(Handle window, uint16_t number, int x, int y) {
    return CreateObject(window, number, OBJ_CHECK, x, y, kCheckSide, kCheckSide);
}

Handle MessageButton(Handle window, uint16_t number, int x, int y, const char* text) {
    return text_object(window, number, OBJ_MESSAGE_BUTTON, x, y, text, "MessageButton");
}

Handle Label(Handle window, uint16_t number, int x, int y, const char* text) {
    return text_object(window, number, OBJ_LABEL, x, y, text, nullptr);
}

Handle GraphicObject(Handle window, uint16_t number, int x, int y, int width, int height,
                     Handle picture) {
    Handle object = CreateObject(window, number, OBJ_GRAPHIC, x, y, width, height, "GraphicObject");
    if (ObjectRecord* o = object_record(object)) {
        o->data = picture;
        if (!picture) clear_window_mode(o->window, WIN_SHOW);
    }
    return object;
}

Handle Popupmenu(Handle window, uint16_t number, int x, int y, int width, int height, Handle menu) {
    Handle object = CreateObject(window, number, OBJ_POPUP, x, y, width, height, "Popupmenu");
    if (ObjectRecord* o = object_record(object)) o->data = menu;
    return object;
}

Handle Pulldownmenu(Handle window, uint16_t number, int x, int width, int height, uint32_t mode,
                    Handle menu) {
    Handle object =
        CreateObject(window, number, OBJ_PULLDOWN, x, 0, width, height, "Pulldownmenu", mode);
    if (ObjectRecord* o = object_record(object)) o->data = menu;
    return object;
}

Handle SubWindow(Handle window, uint16_t number, int x, int y, int width, int height,
                 uint32_t mode) {
    Handle object = CreateObject(window, number, OBJ_SUB, x, y, width, height, "SubWindow", mode);
    if (ObjectRecord* o = object_record(object)) o->flags |= OBJ_SUBWINDOW;
    return object;
}

Handle Message(Handle window, uint16_t number, int x, int y, int width, int height, Handle gc) {
    Handle object = CreateObject(window, number, OBJ_MESSAGE, x, y, width, height, "Message");
    if (!object) return 0;
    Handle line = message_text_line(window);
    ObjectRecord* o = object_record(object);
    if (gc) o->gc = gc;
    o->data = line;
    return object;
}

Handle UpButton(Handle window, uint16_t number, int x, int y) {
    return CreateObject(window, number, OBJ_UP, x, y, kArrowSide, kArrowSide);
}

Handle DownButton(Handle window, uint16_t number, int x, int y) {
    return CreateObject(window, number, OBJ_DOWN, x, y, kArrowSide, kArrowSide);
}

Handle Elebator(Handle window, uint16_t number, int x, int y, int height) {
    return CreateObject(window, number, OBJ_ELEVATOR, x, y, kArrowSide, height);
}

Handle HelpMessage(Handle window, uint16_t number) {
    if (NthObject(window, OBJ_HELP, 1)) {
        LogLine("CreateHelpMessageを２重作成しようとしました"_sj);
        return 0;
    }
    WindowRecord* w = window_record(window);
    if (!w) return 0;
    int line = object_line_height(w->gc);
    return CreateObject(window, number, OBJ_HELP, 0, w->height - 2 * line, w->width, 2 * line);
}

Handle Selecter(Handle window, uint16_t number, int x, int y, int width, int height, Handle menu,
                Handle gc) {
    Handle object = CreateObject(window, number, OBJ_SELECTER, x, y, width, height, "Selecter");
    ObjectRecord* o = object_record(object);
    if (!o) return 0;
    o->data = menu;
    if (gc) {
        o->gc = gc;
        set_window_gc(o->window, gc);
    }
    return object;
}

Handle MenuBarItem(Handle window, uint16_t number, int x, int y, int width, int height,
                   Handle menu) {
    Handle object = CreateObject(window, number, OBJ_MENUBAR, x, y, width, height);
    if (ObjectRecord* o = object_record(object)) o->data = menu;
    return object;
}

Handle ScrollBar(Handle window, uint16_t number, int x, int y, int length) {
    if (length < 2 * kArrowSide) return 0;
    UpButton(window, uint16_t(number + 1), x, y);
    DownButton(window, uint16_t(number + 2), x, y + length - kArrowSide);
    return Elebator(window, number, x, y + kArrowSide, length - 2 * kArrowSide);
}

Handle CreateTextLine(Handle text, Handle window, uint16_t number, int x, int y, int width,
                      int height) {
    TextHeader* h = text_header(text);
    if (!h) return 0;
    Handle task = h->task;
    Handle object = CreateObject(window, number, OBJ_TEXTLINE, x, y, width, height);
    ObjectRecord* o = object_record(object);
    if (!o) return 0;
    // The line belongs to the text's creating task.
    if (WindowRecord* sub = window_record(o->window)) sub->owner = task;
    o = object_record(object);
    Handle gc = o->gc;
    TextLineState state = {};
    state.one = 1;
    state.visible_columns = uint16_t(width / object_cell_width(gc));
    state.visible_lines = uint16_t(height / object_line_height(gc));
    std::memcpy(o->text, &state, sizeof state);
    o->data = text;
    RememberTextLine(object);
    return object;
}

Handle CreateMessageLine(Handle window, uint16_t number, int x, int y, int length, Handle owner) {
    return input_line(window, number, x, y, length, owner, 0);
}

Handle CreateNumericLine(Handle window, uint16_t number, int x, int y, int length, Handle owner) {
    return input_line(window, number, x, y, length, owner, TEXT_DIGITS_ONLY | TEXT_SINGLE_BYTE);
}

Handle CreateByteLine(Handle window, uint16_t number, int x, int y, int length, Handle owner) {
    return input_line(window, number, x, y, length, owner, TEXT_SINGLE_BYTE);
}
