#include "kernel/key_task.h"

#include <cstddef>
#include <cstring>

#include "core/log.h"
#include "host/clock.h"
#include "host/input.h"
#include "host/sjis.h"
#include "kernel/event.h"
#include "kernel/task.h"

void KeyTask(Handle task) {
    if (ReciveEvent(task) == RECEIVE_EVENT) {
        // A cycle that brings the task an event reads no key.
        const EventRecord* e = event_record(CurrentEvent(task));
        if (e && e->code == EVENT_SYSTEM_READY) LogLine("KeyTask start!");
        return;
    }
    char buffer[3];
    if (ReadKey(buffer)) SendKeyEvent(TASK_ID_ALL, buffer, HostModifiers());
}

int ReadKey(char* buffer) {
    uint8_t first = uint8_t(HostReadKey() & 0xFF);
    if (!first) return 0;
    buffer[0] = char(first);
    // The trail byte of a double-byte character is taken at once; 0 when it has not arrived.
    buffer[1] = IsSjisLead(first) ? char(HostReadKey() & 0xFF) : '\0';
    buffer[2] = '\0';
    return 1;
}

Handle SendKeyEvent(uint32_t destination, const char* buffer, uint32_t modifiers) {
    Handle event = SendEvent(TASK_ID_KEY, destination, EVENT_KEY);
    EventRecord* e = event_record(event);
    if (!e) return 0;
    // The three key bytes fill word A and the byte after it.
    std::memcpy(reinterpret_cast<uint8_t*>(e) + offsetof(EventRecord, word_a), buffer, 3);
    e->long_a = modifiers;
    return event;
}

void Delay(uint32_t ticks) {
    uint32_t start = HostTickCount();
    while (HostTickCount() - start < ticks * 10)
        HostClockSleep(1);
}
