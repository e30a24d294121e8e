// WindowTask: the window manager's task. Until the window tree exists it only takes its one
// event per cycle and reports its start.
#include "kernel/event.h"
#include "kernel/log.h"
#include "kernel/scheduler.h"

void WindowTask(Handle task) {
    if (ReciveEvent(task) != RECEIVE_EVENT) return;
    const EventRecord* e = event_record(CurrentEvent(task));
    if (e && e->code == EVENT_START) LogLine("WindowManager start!");
}
