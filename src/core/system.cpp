#include "core/system.h"

#include "host/clock.h"

SystemData g_system = {"NOMA", PHASE_INIT, FLAG_TRACE, {}, {}, {}, {}, 0, {}, {}, 0, 0, 0, {}};

ClockRecord MakeClockRecord(int year, int month, int day, int hour, int minute, int second,
                            int milliseconds) {
    ClockRecord c;
    c.date = (uint32_t(year) & 0x3FFF) | (uint32_t(month) & 0xF) << 14 |
             (uint32_t(day) & 0x1F) << 18 | (uint32_t(hour) & 0x1F) << 23;
    c.time = (uint32_t(minute) & 0x3F) | (uint32_t(second) & 0x3F) << 6 |
             (uint32_t(milliseconds) & 0x3FF) << 12;
    return c;
}

ClockRecord ClockNow() {
    HostTime t = HostClockNow();
    return MakeClockRecord(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond);
}
