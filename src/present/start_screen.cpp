// StartScreenTEST: the start screen. A key file (the start-screen file, named in NOMA.ini or
// later by a string event) describes an optional logo shown first, and a title screen made of
// a background picture and up to ten text buttons. The button pressed closes the title screen
// and its number goes, as word A of the start event, to the program task the file names.
#include "present/start_screen.h"

#include <cstdio>
#include <cstring>

#include "core/config.h"
#include "core/log.h"
#include "host/screen.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "present/start_screen_file.h"
#include "window/graphic.h"
#include "window/object.h"
#include "window/win_bitmap.h"
#include "window/window.h"
#include "window/window_events.h"
#include "window/window_manager.h"

StartScreenState g_start_screen = {};

namespace {

constexpr uint16_t kBackgroundObject = 1002;

void copy_name(char* to, size_t size, const char* from) {
    size_t n = strnlen(from, size - 1);
    std::memcpy(to, from, n);
    to[n] = 0;
}

// Takes the title window and its background picture away (a title screen opened again, or
// after its button was pressed).
void destroy_title() {
    StartScreenState& s = g_start_screen;
    if (s.title_window) {
        if (window_mode(s.title_window) & WIN_OPEN) close_window(s.title_window);
        DestroyWindow(s.title_window);
    }
    if (s.background) FreeGraphic(s.task, 0, s.background);
    s.title_window = s.background = 0;
}

void open_title(Handle task) {
    StartScreenState& s = g_start_screen;
    destroy_title();
    StartScreenFile file = ReadStartScreenFile(s.file);
    Handle window = create_window(task, 0, uint16_t(g_screen_width), uint16_t(g_screen_height), 0);
    if (!window) return;
    s.title_window = window;
    set_position(window, 0, 0);
    if (WindowRecord* w = window_record(window)) w->origin_x = w->origin_y = 0;
    if (file.background[0]) s.background = LoadGraphic(task, 0, file.background);
    if (s.background)
        GraphicObject(window, kBackgroundObject, 0, 0, g_screen_width, g_screen_height,
                      s.background);
    for (int i = 0; i < file.button_count; ++i) {
        const StartScreenButton& b = file.buttons[i];
        MessageButton(window, b.number, b.x, b.y, b.text);
        LogLinef("Screen CrateButton() %s x%d/y%d  num %d", b.value, b.x, b.y, int(b.number));
    }
    SendWindowPointEvent(task, window, 0, 0);
}

void start(Handle task) {
    StartScreenState& s = g_start_screen;
    s.task = task;
    char value[kIniValueSize];
    if (!SysString("StartScreenFile", value)) return;
    copy_name(s.file, sizeof s.file, value);
    if (!GetIniString("LOGO_TITLE", value, s.file)) {
        open_title(task);
        return;
    }
    copy_name(s.logo, sizeof s.logo, value);
    if (s.logo_window) DestroyWindow(s.logo_window);
    s.logo_window = create_window(task, 0, uint16_t(g_screen_width), uint16_t(g_screen_height), 0);
    if (s.logo_window) SendWindowPointEvent(task, s.logo_window, 0, 0);
}

void start_program() {
    StartScreenState& s = g_start_screen;
    StartScreenFile file = ReadStartScreenFile(s.file);
    int32_t id = file.program[0] ? FindTaskByName(file.program) : -1;
    if (id <= 0) {
        MessageDialog("START_PROGRAMを要求したタスク名が正しくありません。"_sj);
        return;
    }
    if (EventRecord* e = event_record(SendEvent(TASK_ID_START_SCREEN, uint32_t(id), EVENT_START)))
        e->word_a = s.start_mode;
}

void window_closed(Handle task, Handle window) {
    StartScreenState& s = g_start_screen;
    if (window && window == s.logo_window) {
        DestroyWindow(s.logo_window);
        s.logo_window = 0;
        open_title(task);
    } else if (window && window == s.title_window) {
        start_program();
        destroy_title();
    }
}

void handle(Handle task, const EventRecord& e) {
    StartScreenState& s = g_start_screen;
    switch (e.code) {
        case EVENT_START:
            start(task);
            break;
        case EVENT_REQ_DRAW:
            if (e.value && e.value == s.logo_window) {
                WinDrawBMPFile(s.logo_window, 0, 0, s.logo);
                RetDrawEvent(task, s.logo_window);
            } else {
                RetDrawEvent(task, s.title_window);
            }
            break;
        case EVENT_MOUSE_DOWN:
            if (e.value && e.value == s.logo_window && ((e.long_a >> 16) & 1))
                SendWindowEvent(task, s.logo_window);
            break;
        case EVENT_WINDOW_CLOSED:
            window_closed(task, e.value);
            break;
        case EVENT_OBJECT_NOTICE:
            if (!s.title_window || e.value != s.title_window) break;
            s.start_mode = uint16_t(e.long_a);
            SendWindowEvent(task, s.title_window);
            break;
        case EVENT_STRING: {
            char name[kEventStringMax + 1];
            copy_name(name, sizeof name, e.data);
            copy_name(s.file, sizeof s.file, name);
            open_title(task);
            break;
        }
        default:
            break;
    }
}

}  // namespace

void ResetStartScreen() {
    g_start_screen = {};
}

void StartScreenTEST(Handle task) {
    if (ReciveEvent(task) != RECEIVE_EVENT) return;
    const EventRecord* e = event_record(CurrentEvent(task));
    if (!e) return;
    EventRecord copy = *e;  // handling allocates, which may move the record
    handle(task, copy);
}
