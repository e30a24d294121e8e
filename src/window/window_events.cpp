#include "window/window_events.h"

#include <cstring>

#include "core/system.h"
#include "kernel/event.h"
#include "kernel/task.h"
#include "window/window.h"

void SendWindowManagerEvent(uint32_t destination, uint16_t code, Handle window) {
    SendValueEvent(TASK_ID_WINDOW, destination, code, window);
}

void SendReqDraw(uint32_t destination, Handle window) {
    ReqDrawEvent(destination, window);
}

void SendMouseEvent(uint32_t destination, uint16_t code, Handle window, uint16_t buttons, int x,
                    int y) {
    EventRecord* e = event_record(SendEvent(TASK_ID_WINDOW, destination, code));
    if (!e) return;
    e->value = window;
    e->long_a = uint32_t(buttons) << 16;
    e->word_a = uint16_t(x);
    e->word_b = uint16_t(y);
}

void SendObjectEvent(uint32_t destination, uint16_t code, Handle window, Handle object) {
    EventRecord* e = event_record(SendEvent(TASK_ID_WINDOW, destination, code));
    if (!e) return;
    e->value = window;
    std::memcpy(e->data, &object, sizeof object);
}

int RetDrawEvent(Handle task, Handle window) {
    if (TestSystemFlag(FLAG_REDRAW_MOTION))
        if (WindowRecord* w = window_record(window)) w->mode &= ~WIN_DRAWABLE;
    return SendValueEvent(TaskId(task), TASK_ID_WINDOW, EVENT_RET_DRAW, window);
}
