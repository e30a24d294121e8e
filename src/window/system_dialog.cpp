// The system dialogs' windows. A dialog is opened and closed by the kernel's dialog code in
// the middle of a task's call, while WindowTask does not run: it is therefore shown and drawn
// here directly (depth pass, backing store, draw_window) instead of through an open request
// and the redraw motion, and it never becomes the active window or counts as an open window.
#include "window/system_dialog.h"

#include <cstdint>

#include "host/sjis_literal.h"
#include "kernel/dialog_hooks.h"
#include "resource/resource.h"
#include "window/backing_store.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/object.h"
#include "window/object_draw.h"
#include "window/tag_draw.h"
#include "window/window.h"
#include "window/window_draw.h"
#include "window/window_manager.h"

namespace {

constexpr uint32_t kDialogMode = WIN_CONTROLBAR | WIN_FRAME | WIN_GCFILL | WIN_BACKSTORE;

struct DialogShape {
    int height_lines;  // client height in line heights
    const char* name;
    const char* labels[2];
};
// Button 1 first; the one-button dialogs have no second label.
const DialogShape kShapes[DIALOG_COUNT] = {
    {14, "ErrorDialog", {"再起動"_sj, " 終  了 "_sj}},
    {14, "SystemDialog", {"O K", nullptr}},
    {10, "MessageDialog", {"O K", nullptr}},
    {10, "YesNoDialog", {"Yes", "N o"}},
};

Handle dialogs[DIALOG_COUNT];
Handle dialog_gc;

int char_width() {
    return FontSize(SystemFont());
}

int line_height() {
    return FontLineHeight(SystemFont());
}

Handle dialog(int d) {
    if (d < 0 || d >= DIALOG_COUNT) return 0;
    return window_record(dialogs[d]) ? dialogs[d] : 0;
}

Handle make_dialog(Handle task, const DialogShape& shape) {
    int width = 50 * char_width() / 2, height = shape.height_lines * line_height();
    Handle w = create_window(task, 0, uint16_t(width), uint16_t(height), kDialogMode);
    if (!w) return 0;
    set_window_name(w, shape.name);
    set_window_gc(w, dialog_gc);
    BackingStore(w);
    int y = height - line_height() - 20;
    if (shape.labels[1]) {
        MessageButton(w, 1, width / 6, y, shape.labels[0]);
        MessageButton(w, 2, width / 2 + width / 6, y, shape.labels[1]);
    } else {
        MessageButton(w, 1, width - 120, y, shape.labels[0]);
    }
    return w;
}

unsigned create(Handle task) {
    if (!dialog_gc) dialog_gc = CreateGC(0xE0E0E0, 0xFFFFFF, 0x505050, 0x000000);
    unsigned made = 0;
    for (int d = 0; d < DIALOG_COUNT; ++d) {
        dialogs[d] = make_dialog(task, kShapes[d]);
        if (dialogs[d]) made |= 1u << d;
    }
    return made;
}

bool open(int d) {
    Handle w = dialog(d);
    if (!w) return false;
    centre_window(w);
    WindowRecord* r = window_record(w);
    r->mode |= WIN_OPEN | WIN_DRAWABLE;
    raise_window(w);
    window_depth();
    SaveBackingStore(w);
    draw_window(w);
    return true;
}

void close(int d) {
    Handle w = dialog(d);
    if (!w || !test_window_mode(w, WIN_OPEN)) return;
    RestoreBackingStore(w);
    clear_window_mode(w, WIN_OPEN | WIN_DRAWABLE | WIN_SHOW);
    window_record(w)->depth = 0;
    window_depth();
}

void text(int d, int x, int y, const char* text) {
    Handle w = dialog(d);
    if (!w) return;
    // Tags may change the colours and the font: they change a copy.
    Handle gc = CopyGC(dialog_gc);
    if (!gc) return;
    tag_draw(w, x, y, text, gc);
    DeactivateRecord(0, g_resources.gc, gc);
}

int button_at(int d, int x, int y) {
    Handle w = dialog(d);
    WindowRecord* r = window_record(w);
    for (Handle h = r ? r->last_object : 0; h;) {
        ObjectRecord* o = object_record(h);
        if (!o) break;
        if (point_in_window(o->window, x, y) && test_window_mode(o->window, WIN_SHOW))
            return o->number;
        h = o->back;
    }
    return 0;
}

void press(int d, int value, bool pressed) {
    draw_object_face(ReqObject(dialog(d), uint16_t(value)), pressed);
}

int width(int d) {
    WindowRecord* r = window_record(dialog(d));
    return r ? r->width : 0;
}

}  // namespace

Handle SystemDialogWindow(int d) {
    return dialog(d);
}

void InstallSystemDialogs() {
    for (Handle& d : dialogs)
        d = 0;
    dialog_gc = 0;
    g_dialog_hooks = {create, open, close, text, button_at, press, width, char_width, line_height};
}
