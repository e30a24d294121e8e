// Ilvane: the game's task. Until the game exists it only takes its one event per cycle and
// reports its start.
#include "game/ilvane.h"

#include "core/log.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"

void Ilvane(Handle task) {
    if (ReciveEvent(task) != RECEIVE_EVENT) return;
    const EventRecord* e = event_record(CurrentEvent(task));
    if (e && e->code == EVENT_START) LogLinef("%s %s  start!", "DuskIlvane", "0.702");
}
