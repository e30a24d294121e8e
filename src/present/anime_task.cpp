// AnimeTask: the animation script player. Until animations exist it only takes its one event
// per cycle.
#include "present/anime_task.h"

#include "kernel/event.h"
#include "kernel/scheduler.h"

void AnimeTask(Handle task) {
    ReciveEvent(task);
}
