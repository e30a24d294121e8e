#include "kernel/task.h"

#include <cstring>

#include "core/log.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "resource/resource.h"
#include "resource/resource_file.h"
#include "resource/task_record.h"

uint32_t g_next_task_id = TASK_ID_FIRST_APPLICATION;

Handle RegisterTask(const char* name, uint32_t id, uint8_t kind) {
    if (!name) name = "";
    if (FindTaskByName(name) != -1) LogSystemMessage(76, name);
    Handle task = CreateRecord(g_resources.task, -1, sizeof(TaskRecord));
    TaskRecord* t = task_record(task);
    if (!t) return 0;
    if (id == 0) id = g_next_task_id++;
    // The two work areas belong to the task; everything else starts cleared.
    t->id = id;
    std::memset(t->name, 0, sizeof t->name);
    std::memcpy(t->name, name, strnlen(name, sizeof t->name - 1));
    t->flags = TASK_NOT_STARTED;
    t->group = g_current_group;
    t->kind = kind;
    t->work1 = 0;
    t->work2 = 0;
    t->work3 = 0;
    t->work4 = 0;
    t->work5 = 0;
    t->event_resource2 = 0;
    t->first_event = 0;
    t->event_resource1 = 0;
    t->cursor = 0;
    t->last_opened_resource = 0;
    t->last_selected_record = 0;
    t->spare = 0;
    if (Handle* slot = TaskHandleSlot(name)) *slot = task;
    return task;
}

uint32_t OpenTaskEvents(Handle task) {
    TaskRecord* t = task_record(task);
    if (!t) return 0;
    t->flags |= TASK_CURSOR_FRESH;
    Handle first = OpenResource(task, "SYSTEM", "EVENT");
    Handle second = OpenResource(task, "SYSTEM", "EVENT");
    t = task_record(task);
    t->event_resource1 = first;
    t->event_resource2 = second;
    t->cursor = g_event_head;
    t->first_event = g_event_head;
    return t->flags;
}

int32_t FindTaskByName(const char* name) {
    if (!name) return -1;
    for (Handle task = FirstRecord(g_resources.task); task; task = NextRecord(task)) {
        const TaskRecord* t = task_record(task);
        if (t && !std::strncmp(t->name, name, sizeof t->name) && std::strlen(name) < sizeof t->name)
            return int32_t(t->id);
    }
    return -1;
}

uint32_t TaskId(Handle task) {
    const TaskRecord* t = task_record(task);
    return t ? t->id : 0;
}

int CheckTask(Handle task) {
    const ResourceAttr* tasks = resource_attr(g_resources.task);
    if (!tasks) return 1;
    Handle record = tasks->first_record;
    for (int i = 0; record && i < tasks->record_count; ++i) {
        if (record == task) return 0;
        const HandleEntry* e = handle_entry(record);
        record = e ? e->next : 0;
    }
    return 1;
}
