// TextTask: editing of input lines from the keyboard. Until input lines exist it only takes
// its one event per cycle and reports its initialisation.
#include "text/text_task.h"

#include "core/log.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"

void TextTask(Handle task) {
    if (ReciveEvent(task) != RECEIVE_EVENT) return;
    const EventRecord* e = event_record(CurrentEvent(task));
    if (e && e->code == EVENT_SYSTEM_READY) LogLine("init TextTask start!");
}
