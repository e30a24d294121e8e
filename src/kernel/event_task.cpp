#include "kernel/event_task.h"

#include "core/log.h"
#include "host/clock.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "resource/resource.h"

ClockCounters g_clock = {0, 0, 0, 0, 1, 1, {}};
uint8_t g_max_event = 255;

namespace {

constexpr uint32_t kMillisecondMask = 0x3FF;
constexpr uint32_t kMillisecondShift = 12;
constexpr uint32_t kSyncAfterMs = 99;

void broadcast(uint16_t code) {
    SendEvent(TASK_ID_EVENT, TASK_ID_ALL, code);
}

void set_milliseconds(ClockRecord& c, uint32_t ms) {
    c.time = (c.time & ~(kMillisecondMask << kMillisecondShift)) | (ms & kMillisecondMask)
                                                                       << kMillisecondShift;
}

// Field masks of the clock record: the second, minute (time word), hour, day, month, year
// (date word).
constexpr uint32_t kSecondBits = 0x3Fu << 6;
constexpr uint32_t kMinuteBits = 0x3Fu;
constexpr uint32_t kHourBits = 0x1Fu << 23;
constexpr uint32_t kDayBits = 0x1Fu << 18;
constexpr uint32_t kMonthBits = 0xFu << 14;
constexpr uint32_t kYearBits = 0x3FFFu;

bool copy_if_changed(uint32_t& previous, uint32_t current, uint32_t bits) {
    if ((previous & bits) == (current & bits)) return false;
    previous = (previous & ~bits) | (current & bits);
    return true;
}

void log_minute_statistics(const ClockRecord& now) {
    uint32_t cycles = g_system.cycle_counter;
    LogLinef("%2d時%2d分%2d秒 %04dm秒 経過時間 %2d秒 %ld ｻｲｸﾙ  ﾊﾟﾌｫｰﾏﾝｽ %ld"_sj, ClockHour(now),
             ClockMinute(now), ClockSecond(now), ClockMillisecond(now), 60, long(cycles),
             long(cycles / 60));
}

// Sends the change events from the second on up, stopping at the first unchanged field.
void send_change_events() {
    ClockRecord& now = g_system.current_time;
    ClockRecord& before = g_clock.previous;
    if ((now.time & kSecondBits) == (before.time & kSecondBits)) return;
    g_clock.milli_sync = g_clock.sync;
    g_clock.quarter_divisor = uint16_t(g_clock.milli_sync / 4);
    g_clock.half_divisor = uint16_t(g_clock.milli_sync / 2);
    if (!g_clock.quarter_divisor) g_clock.quarter_divisor = 1;
    if (!g_clock.half_divisor) g_clock.half_divisor = 1;
    g_clock.sync = 1;
    copy_if_changed(before.time, now.time, kSecondBits);
    broadcast(EVENT_SECOND);

    if ((now.time & kMinuteBits) == (before.time & kMinuteBits)) return;
    log_minute_statistics(now);
    g_system.cycle_counter = 0;
    copy_if_changed(before.time, now.time, kMinuteBits);
    broadcast(EVENT_MINUTE);

    if (!copy_if_changed(before.date, now.date, kHourBits)) return;
    broadcast(EVENT_HOUR);
    if (!copy_if_changed(before.date, now.date, kDayBits)) return;
    broadcast(EVENT_DAY);
    if (!copy_if_changed(before.date, now.date, kMonthBits)) return;
    broadcast(EVENT_MONTH);
    if (!copy_if_changed(before.date, now.date, kYearBits)) return;
    broadcast(EVENT_YEAR);
}

// One step of the clock every fourth cycle while the system runs; false outside phase 3.
bool clock_step() {
    if (++g_clock.step <= 3) return true;
    if (g_system.phase != PHASE_RUNNING) return false;
    g_clock.step = 0;
    uint32_t elapsed = (HostTickCount() - g_clock.last_tick) & kMillisecondMask;
    set_milliseconds(g_system.current_time, elapsed);
    broadcast(EVENT_TICK);
    if (elapsed <= kSyncAfterMs) return true;
    g_system.current_time = ClockNow();
    g_clock.last_tick = HostTickCount();
    ++g_clock.sync;
    set_milliseconds(g_clock.previous, uint32_t(ClockMillisecond(g_system.current_time)));
    if (g_clock.sync % g_clock.quarter_divisor == 0) broadcast(EVENT_QUARTER_SECOND);
    if (g_clock.sync % g_clock.half_divisor == 0) broadcast(EVENT_HALF_SECOND);
    send_change_events();
    return true;
}

// Removes the oldest events that no cursor rests on: one per cycle, a burst at MAX_EVENT.
void keep_chain_short() {
    int top = TopEvent();
    int count = RecordCount(g_resources.event);
    if (count >= int(g_max_event)) {
        LogLine("MAX event count over.!!!");
        for (int i = 0; i < count - top - 1; ++i)
            if (EndEvent()) break;
    } else if (top > 1) {
        EndEvent();
    }
}

}  // namespace

void ResetClockCounters() {
    g_clock = {0, 0, 0, 0, 1, 1, {}};
}

void EventTask(Handle task) {
    if (ReciveEvent(task) == RECEIVE_EVENT) {
        const EventRecord* e = event_record(CurrentEvent(task));
        if (e && e->code == EVENT_START) {
            g_clock.quarter_divisor = 1;
            g_clock.half_divisor = 1;
            g_clock.milli_sync = 20;
            g_clock.sync = 20;
            g_clock.previous = g_system.current_time;
        }
    }
    ++g_system.cycle_counter;
    if (!clock_step()) return;
    keep_chain_short();
}
