#include "kernel/event.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/log.h"
#include "core/system.h"
#include "host/message_box.h"
#include "host/sjis_literal.h"
#include "kernel/scheduler.h"
#include "resource/resource.h"
#include "resource/task_record.h"

Handle g_event_head = 0;
Handle g_event_tail = 0;
Handle g_last_draw_request = 0;
Handle g_current_task = 0;

EventRecord* event_record(Handle event) {
    HandleEntry* e = handle_entry(event);
    if (!e || e->size < sizeof(EventRecord)) return nullptr;
    return reinterpret_cast<EventRecord*>(handle_body(event));
}

void ResetEvents() {
    g_event_head = 0;
    g_event_tail = 0;
    g_last_draw_request = 0;
    g_current_task = 0;
}

bool InitEvents() {
    LogLinef("\tevent info size %d(keep %d)\tevent struct size %d", 20, 28, int(kEventRecordSize));
    ResetEvents();
    if (SendEvent(0, 0, EVENT_FIRST)) return true;
    HostMessageBox("init event errror!!");
    return false;
}

Handle SendEvent(uint32_t source, uint32_t destination, uint16_t code) {
    Handle event = CreateRecord(g_resources.event, -1, kEventRecordSize);
    if (!event || !event_record(event)) return 0;
    // A task that has seen every event gets this one next, without skipping it.
    for (Handle task = FirstRecord(g_resources.task); task; task = NextRecord(task)) {
        TaskRecord* t = task_record(task);
        if (t && !t->cursor) {
            t->cursor = event;
            t->flags |= TASK_CURSOR_FRESH;
        }
    }
    EventRecord* e = event_record(event);
    e->flags = uint8_t((e->flags & ~EVENT_SPARE_FLAG) | EVENT_LIVE);
    e->code = code;
    e->source = source;
    e->destination = destination;
    e->next = 0;
    if (EventRecord* tail = event_record(g_event_tail); tail && g_event_tail != event)
        tail->next = event;
    else
        g_event_head = event;
    g_event_tail = event;
    e->word_a = 0;
    return event;
}

int EndEvent() {
    ResourceAttr* events = resource_attr(g_resources.event);
    if (!events || events->record_count == 0 || !g_event_head) return 1;
    for (Handle task = FirstRecord(g_resources.task); task; task = NextRecord(task)) {
        TaskRecord* t = task_record(task);
        if (t && t->cursor == g_event_head) {
            LogLinef("%sが握っています。"_sj, t->name);
            return 1;
        }
    }
    if (TestSystemFlag(FLAG_EVENT_TEST)) CheckRecordChain(g_resources.event);
    Handle head = g_event_head;
    EventRecord* e = event_record(head);
    Handle next = e ? e->next : 0;
    DeactivateRecord(g_tasks.event, g_resources.event, head);
    g_event_head = next;
    // Removing the last event leaves an empty chain; the next send starts it again.
    if (head == g_event_tail) g_event_tail = 0;
    return 0;
}

int TopEvent() {
    // A cursor's position is its 1-based place among the active records of the Event resource.
    // One walk of those records answers every cursor at once.
    struct Holder {
        Handle cursor;
        uint32_t id;
        int position;
    };
    static std::vector<Holder> holders;  // kept between calls: no allocation per cycle
    holders.clear();
    for (Handle task = FirstRecord(g_resources.task); task; task = NextRecord(task)) {
        TaskRecord* t = task_record(task);
        if (t && t->cursor) holders.push_back({t->cursor, t->id, 0});
    }
    size_t unresolved = holders.size();
    int position = 0;
    for (Handle record = FirstRecord(g_resources.event); record && unresolved;
         record = NextRecord(record)) {
        ++position;
        for (Holder& h : holders)
            if (!h.position && h.cursor == record) {
                h.position = position;
                --unresolved;
            }
    }
    int top = 999;
    for (const Holder& h : holders) {
        if (!h.position) {
            LogLinef("ｲﾍﾞﾝﾄがみつかりません。for TopEvent (taskID: %ld)"_sj, long(h.id));
            LogLine("   ｲﾍﾞﾝﾄ･ﾁｪｰﾝが正しく連結されていません。 "_sj);
        } else if (h.position < top) {
            top = h.position;
        }
    }
    return top == 999 ? 0 : top;
}
