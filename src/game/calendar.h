// Dates and times as the game shows them: numbers in full-width digits, weekday names, the
// calendar date, a record's date and a record's time of day.
#pragma once

#include <cstddef>

#include "core/pool.h"
#include "game/game_data.h"

// Full-width text of `n`: a full-width space for 0, "１" to "６０" for 1 to 60; any other
// number in plain decimal digits. Written into `out` (at least 12 bytes).
const char* NumberText(int n, char* out, size_t size);
// The weekday name of 1 to 7 (月 ... 日); a full-width space for any other value.
const char* WeekdayText(int week);

// "%s月 %s日 (%s)" of the calendar. Returns 1.
int date_text(const Calendar& calendar, char* out, size_t size);
// The same text from the record's numbers month, day and week; 0 (after logging which one) when
// one of them is negative.
int record_date_text(Handle record, char* out, size_t size);
// The record's time of day (item "time", minutes since midnight) as hours and minutes; 0 after
// logging when it is negative.
int time_text(Handle record, char* out, size_t size);
