#include "window/current_task.h"

#include "kernel/event.h"
#include "resource/task_record.h"

const char* current_task_name() {
    TaskRecord* t = task_record(g_current_task);
    return t ? t->name : nullptr;
}
