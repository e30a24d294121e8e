// The task record: one 516-byte record of the system resource "Task" per task.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"

enum TaskFlag : uint32_t {
    TASK_CURSOR_FRESH = 0x04,  // next receive takes the event under the cursor
    TASK_PAUSED = 0x08,        // every event counts as not for this task
    TASK_NOT_STARTED = 0x40,   // cleared by the first successful receive
    TASK_DISABLED = 0x80,      // receive returns 6145
};

struct TaskRecord {
    uint32_t id;
    char name[28];
    uint32_t flags;
    uint16_t group;
    uint8_t kind;
    uint8_t pad0;
    uint8_t work_area[256];
    uint32_t work1;
    uint8_t work2;
    uint8_t pad1;
    uint16_t work3;
    uint32_t work4;
    uint32_t work5;
    Handle event_resource2;
    Handle first_event;
    Handle event_resource1;
    Handle cursor;
    uint8_t work_area2[176];
    Handle last_opened_resource;
    Handle last_selected_record;
    uint8_t spare;
    uint8_t pad2[3];
};
static_assert(sizeof(TaskRecord) == 516);
static_assert(offsetof(TaskRecord, flags) == 32);
static_assert(offsetof(TaskRecord, work_area) == 40);
static_assert(offsetof(TaskRecord, cursor) == 324);
static_assert(offsetof(TaskRecord, last_opened_resource) == 504);

// The task record behind a task handle, or nullptr for an empty or dead handle. The record
// lives in the pool: re-read it after any call that may allocate.
TaskRecord* task_record(Handle task);
