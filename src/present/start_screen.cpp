// StartScreenTEST: the start screen. Until it exists the task only takes its one event per
// cycle.
#include "present/start_screen.h"

#include "kernel/event.h"
#include "kernel/scheduler.h"

void StartScreenTEST(Handle task) {
    ReciveEvent(task);
}
