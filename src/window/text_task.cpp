// TextTask: one event per cycle. Keys go to the key handler (text_keys.cpp), second events
// blink the cursor of the focused field, a click on an input line gives it the focus, and a
// focused field whose window has closed or whose object is gone loses the focus.
#include "window/text_task.h"

#include <cstring>

#include "core/log.h"
#include "kernel/event.h"
#include "text/text.h"
#include "window/object.h"
#include "window/text_field.h"
#include "window/window.h"

using text_field::Field;

Handle g_text_focus = 0;
Handle g_first_text_line = 0;

namespace {

// The focused field, or false (and the focus dropped) when its object or text is gone.
bool focused(Field* f) {
    if (!g_text_focus) return false;
    if (!text_field::load(g_text_focus, f)) {
        g_text_focus = 0;
        return false;
    }
    return true;
}

void blink() {
    Field f;
    if (!focused(&f)) return;
    if (text_field::text_flags(f) & TEXT_CURSOR_SHOWN)
        TextCursorOff(f.object);
    else
        TextCursorOn(f.object);
}

// A notice of an object of `window`: the clicked field takes the focus when it is one, else
// the window's first field.
void object_notice(const EventRecord& e) {
    Handle window = e.value, object = 0;
    std::memcpy(&object, e.data, sizeof object);
    Field f;
    ObjectRecord* o = object_record(object);
    if (o && o->parent == window && text_field::load(object, &f)) {
        FocusTextField(object);
        return;
    }
    ChangeText(window, 1);
}

void handle_event(const EventRecord& e) {
    switch (e.code) {
        case EVENT_SYSTEM_READY:
            LogLine("init TextTask start!");
            g_text_focus = 0;
            g_first_text_line = 0;
            break;
        case EVENT_MOUSE_DOWN:
            LogLine("press edit task");
            break;
        case EVENT_KEY: {
            uint8_t bytes[2];
            std::memcpy(bytes, &e.word_a, sizeof bytes);
            TextKey(bytes[0], bytes[1], e.long_a);
            break;
        }
        case EVENT_SECOND:
            blink();
            break;
        case EVENT_OBJECT_NOTICE:
            object_notice(e);
            break;
        case EVENT_WINDOW_ACTIVE:
            ChangeText(e.value, 1);
            break;
        default:
            break;
    }
}

}  // namespace

void TextTask(Handle task) {
    if (ReciveEvent(task) == RECEIVE_EVENT) {
        if (const EventRecord* e = event_record(CurrentEvent(task))) {
            EventRecord copy = *e;  // handling sends events, which may move the record
            handle_event(copy);
        }
        return;
    }
    Field f;
    if (focused(&f) && !test_window_mode(f.parent, WIN_OPEN)) g_text_focus = 0;
}

Handle FocusTextField(Handle object) {
    Field f;
    if (!text_field::load(object, &f)) return 0;
    text_field::set_text_flags(f, TEXT_FOCUSED, 0);
    Field old;
    if (focused(&old)) {
        if (old.object != object) {
            TextCursorHide(old.object);
            text_field::set_text_flags(old, 0, TEXT_FOCUSED);
            g_text_focus = object;
        }
        TextCursorOn(object);
    } else {
        // The next second event draws the cursor.
        g_text_focus = object;
    }
    return object;
}

Handle ChangeText(Handle window, int n) {
    Handle object = 0;
    if (window_record(window) && n >= 1) {
        object = NthObject(window, OBJ_TEXTLINE, n);
        if (!object) object = NthObject(window, OBJ_INPUT, n);
    }
    if (!object) {
        LogLine(" text search call is NULL for ChangeText()");
        return 0;
    }
    return FocusTextField(object);
}

void DrawTextField(Handle object) {
    Field f;
    if (!text_field::load(object, &f)) return;
    text_field::draw_rows(f);
    text_field::Mark m = text_field::mark_of(f);
    if (m.length) text_field::mark_span(f, m.line, m.x, m.length);
    // A redraw paints the cursor's cell plainly; put the mark back when it was shown.
    if (object == g_text_focus && (text_field::text_flags(f) & TEXT_CURSOR_SHOWN))
        text_field::cursor_draw(f, true);
}

void TextCursorOn(Handle object) {
    Field f;
    if (!text_field::load(object, &f)) return;
    text_field::cursor_draw(f, true);
    text_field::set_text_flags(f, TEXT_CURSOR_SHOWN, 0);
}

void TextCursorOff(Handle object) {
    Field f;
    if (!text_field::load(object, &f)) return;
    text_field::cursor_draw(f, false);
    text_field::set_text_flags(f, 0, TEXT_CURSOR_SHOWN);
}

void TextCursorHide(Handle object) {
    Field f;
    if (!text_field::load(object, &f)) return;
    if (text_field::text_flags(f) & TEXT_CURSOR_SHOWN) text_field::cursor_draw(f, false);
    text_field::set_text_flags(f, 0, TEXT_CURSOR_SHOWN);
}

void RememberTextLine(Handle object) {
    if (!object_record(g_first_text_line)) g_first_text_line = object;
}
