// The small send functions: one event each, with its data fields filled right after sending.
#include <algorithm>
#include <cstring>

#include "core/log.h"
#include "core/system.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/task.h"

namespace {

EventRecord* send(uint32_t source, uint32_t destination, uint16_t code, uint32_t value) {
    Handle event = SendEvent(source, destination, code);
    if (!event) return nullptr;
    EventRecord* e = event_record(event);
    e->value = value;
    return e;
}

// Copies at most `room` - 1 bytes of `text` and a NUL; returns the bytes copied.
size_t copy_text(char* out, const char* text, size_t room) {
    size_t n = text ? strnlen(text, room - 1) : 0;
    if (n) std::memcpy(out, text, n);
    out[n] = '\0';
    return n;
}

}  // namespace

int SendValueEvent(uint32_t source, uint32_t destination, uint16_t code, uint32_t value) {
    return send(source, destination, code, value) ? 0 : 1;
}

int SendStringEvent(Handle task, uint32_t destination, const char* text) {
    if (!text) text = "";
    if (std::strlen(text) > kEventStringWarning)
        LogLine("SendStringEventで送信するﾃﾞｰﾀｻｲｽﾞが大きすぎます"_sj);
    Handle event = SendEvent(TaskId(task), destination, EVENT_STRING);
    if (!event) return 1;
    EventRecord* e = event_record(event);
    e->long_a = uint32_t(copy_text(e->data, text, kEventStringMax + 1));
    return 0;
}

int RequestShutDown(Handle task) {
    return SendEvent(TaskId(task), TASK_ID_MANAGER, EVENT_SHUTDOWN) ? 0 : 1;
}

int ReqDrawEvent(uint32_t destination, Handle window) {
    g_last_draw_request = window;
    return send(TASK_ID_WINDOW, destination, EVENT_REQ_DRAW, window) ? 0 : 1;
}

int SendWindowPointEvent(Handle task, Handle window, int16_t x, int16_t y) {
    EventRecord* e = send(TaskId(task), TASK_ID_WINDOW, EVENT_WINDOW_OPEN, window);
    if (!e) return 1;
    e->word_a = uint16_t(x);
    e->word_b = uint16_t(y);
    return 0;
}

int SendWindowEvent(Handle task, Handle window) {
    return send(TaskId(task), TASK_ID_WINDOW, EVENT_WINDOW_CLOSE, window) ? 0 : 1;
}

int RequestCloseWindows(uint32_t task_id) {
    return SendEvent(task_id, TASK_ID_WINDOW, EVENT_CLOSE_WINDOWS) ? 0 : 1;
}

int AddMenuItemEvent(Handle task, uint16_t item, const char* label, const char* help) {
    Handle event = SendEvent(TaskId(task), TASK_ID_MENU, EVENT_MENU_ADD);
    if (!event) return 1;
    EventRecord* e = event_record(event);
    std::memcpy(e->data, &item, sizeof item);
    copy_text(e->data + kMenuEventLabel, label, kMenuEventLabelSize);
    copy_text(e->data + kMenuEventHelp, help, kEventDataSize - kMenuEventHelp);
    return 0;
}
