// Task registration and lookup. A task is a record of the system resource "Task"
// (resource/task_record.h); ids below 30 are the fixed system task ids, later ids are handed out
// in registration order.
#pragma once

#include <cstdint>

#include "core/pool.h"

enum TaskIdNumber : uint32_t {
    TASK_ID_MANAGER = 1,
    TASK_ID_WINDOW = 2,
    TASK_ID_MENU = 7,
    TASK_ID_EVENT = 9,
    TASK_ID_ANIME = 11,
    TASK_ID_EFFECT = 12,
    TASK_ID_TEXT = 18,
    TASK_ID_START_SCREEN = 19,
    TASK_ID_KEY = 22,
    TASK_ID_FIRST_APPLICATION = 30,
};

// The next id handed out for id 0 (30 after start-up).
extern uint32_t g_next_task_id;

// Creates the task record; empty when it cannot be created. A name already registered is
// reported (system message 76) and registered again. Id 0 takes the next free id.
Handle RegisterTask(const char* name, uint32_t id, uint8_t kind);
// Opens the task's two "EVENT" resources and puts its cursor on the oldest live event;
// returns the task's flags. Must follow every RegisterTask.
uint32_t OpenTaskEvents(Handle task);
// Id of the first task named exactly `name`, or -1.
int32_t FindTaskByName(const char* name);
uint32_t TaskId(Handle task);
// 1 when `task` is not a record of the Task resource, else 0.
int CheckTask(Handle task);
