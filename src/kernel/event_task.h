// EventTask: the clock events (tick, quarter and half second, second ... year) and the
// house-keeping of the event chain.
#pragma once

#include <cstdint>

#include "core/system.h"

struct ClockCounters {
    uint32_t step;        // calls since the last tick, 0..3
    uint32_t last_tick;   // host tick count at the last sync
    uint32_t sync;        // syncs in the current second
    uint32_t milli_sync;  // syncs counted in the last full second
    uint16_t quarter_divisor;
    uint16_t half_divisor;
    ClockRecord previous;  // the time at which the change events were last sent
};
extern ClockCounters g_clock;

// Live events at which EventTask frees events in bursts (MAX_EVENT, 8 bits).
extern uint8_t g_max_event;

// Clears the counters (divisors 1) and the previous time (start-up and tests).
void ResetClockCounters();
