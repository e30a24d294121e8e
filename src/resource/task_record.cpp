#include "resource/task_record.h"

TaskRecord* task_record(Handle task) {
    HandleEntry* e = handle_entry(task);
    if (!e || e->size < sizeof(TaskRecord)) return nullptr;
    return reinterpret_cast<TaskRecord*>(handle_body(task));
}
