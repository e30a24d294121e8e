// The kernel's system data block and the system flags word.
#pragma once

#include <atomic>
#include <cstdint>

// Clock record / time stamp: two little-endian words of bit fields.
// word0: year 0-13, month 14-17, day 18-22, hour 23-27; word1: minute 0-5, second 6-11,
// milliseconds 12-21.
struct ClockRecord {
    uint32_t date;
    uint32_t time;
};
static_assert(sizeof(ClockRecord) == 8);

ClockRecord MakeClockRecord(int year, int month, int day, int hour, int minute, int second,
                            int milliseconds);
ClockRecord ClockNow();  // local time of the host clock
inline int ClockYear(ClockRecord c) {
    return int(c.date & 0x3FFF);
}
inline int ClockMonth(ClockRecord c) {
    return int((c.date >> 14) & 0xF);
}
inline int ClockDay(ClockRecord c) {
    return int((c.date >> 18) & 0x1F);
}
inline int ClockHour(ClockRecord c) {
    return int((c.date >> 23) & 0x1F);
}
inline int ClockMinute(ClockRecord c) {
    return int(c.time & 0x3F);
}
inline int ClockSecond(ClockRecord c) {
    return int((c.time >> 6) & 0x3F);
}
inline int ClockMillisecond(ClockRecord c) {
    return int((c.time >> 12) & 0x3FF);
}

// System flag bits.
enum SystemFlag : uint32_t {
    FLAG_APPLICATION = 0x02,
    FLAG_STOP = 0x04,
    FLAG_TRACE = 0x10,
    FLAG_DEBAG = 0x20,
    FLAG_TEST_RUN = 0x40,
    FLAG_EVENT_TEST = 0x80,
    FLAG_RESOUCE_TEST = 0x100,
    FLAG_TASK = 0x200,
    FLAG_MOTOROLA = 0x2000,
    FLAG_LOOP_EXIT = 0x4000,
    FLAG_REDRAW_MOTION = 0x8000,
    FLAG_ERROR_REPORT = 0x40000,
    FLAG_TITLE = 0x80000,
    FLAG_PASSWORD = 0x100000,
    FLAG_WINDOW_SYSTEM = 0x400000,
};

// System phase values.
enum SystemPhase : uint16_t {
    PHASE_STARTING_SYSTEM_TASKS = 0,
    PHASE_STARTING_PROGRAM = 1,
    PHASE_INIT = 2,
    PHASE_RUNNING = 3,
    PHASE_SHUTTING_DOWN = 4,
};

// The system data block: the head of the core dump.
struct SystemData {
    char system_name[6];
    uint16_t phase;
    uint32_t flags;  // touch only through the functions below: the host thread shares it
    char owner_name[22];
    char long_machine_name[22];
    char short_machine_name[36];
    uint32_t counters[3];
    uint32_t start_count;
    ClockRecord start_time;
    ClockRecord current_time;
    uint32_t cycle_counter;
    int32_t cycle_wait;
    int32_t fastsync_wait;
    char error_log_name[256];
};

extern SystemData g_system;

inline uint32_t SystemFlags() {
    return std::atomic_ref<uint32_t>(g_system.flags).load(std::memory_order_acquire);
}
inline bool TestSystemFlag(uint32_t bits) {
    return (SystemFlags() & bits) != 0;
}
inline void SetSystemFlag(uint32_t bits) {
    std::atomic_ref<uint32_t>(g_system.flags).fetch_or(bits, std::memory_order_acq_rel);
}
inline void ClearSystemFlag(uint32_t bits) {
    std::atomic_ref<uint32_t>(g_system.flags).fetch_and(~bits, std::memory_order_acq_rel);
}
inline void StoreSystemFlags(uint32_t value) {
    std::atomic_ref<uint32_t>(g_system.flags).store(value, std::memory_order_release);
}
