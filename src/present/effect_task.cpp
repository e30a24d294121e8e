// EffectTask: the text effect player. Until effects exist it only takes its one event per
// cycle.
#include "present/effect_task.h"

#include "kernel/event.h"
#include "kernel/scheduler.h"

void EffectTask(Handle task) {
    ReciveEvent(task);
}
