// Number texts exist only for 0 to 60 (the original table); larger or negative numbers are
// written with plain digits rather than leaving a gap, so long play times stay readable.
#include "game/calendar.h"

#include <cstdio>

#include "core/log.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"

namespace {

constexpr int kNumberTexts = 61;

const char* full_width_number(int n) {
    static const char* const table[kNumberTexts] = {
        "　"_sj,   "１"_sj,   "２"_sj,   "３"_sj,   "４"_sj,   "５"_sj,   "６"_sj,   "７"_sj,
        "８"_sj,   "９"_sj,   "１０"_sj, "１１"_sj, "１２"_sj, "１３"_sj, "１４"_sj, "１５"_sj,
        "１６"_sj, "１７"_sj, "１８"_sj, "１９"_sj, "２０"_sj, "２１"_sj, "２２"_sj, "２３"_sj,
        "２４"_sj, "２５"_sj, "２６"_sj, "２７"_sj, "２８"_sj, "２９"_sj, "３０"_sj, "３１"_sj,
        "３２"_sj, "３３"_sj, "３４"_sj, "３５"_sj, "３６"_sj, "３７"_sj, "３８"_sj, "３９"_sj,
        "４０"_sj, "４１"_sj, "４２"_sj, "４３"_sj, "４４"_sj, "４５"_sj, "４６"_sj, "４７"_sj,
        "４８"_sj, "４９"_sj, "５０"_sj, "５１"_sj, "５２"_sj, "５３"_sj, "５４"_sj, "５５"_sj,
        "５６"_sj, "５７"_sj, "５８"_sj, "５９"_sj, "６０"_sj};
    return n >= 0 && n < kNumberTexts ? table[n] : nullptr;
}

int format_date(int month, int day, int week, char* out, size_t size) {
    char m[16], d[16];
    std::snprintf(out, size, "%s月 %s日 (%s)"_sj, NumberText(month, m, sizeof m),
                  NumberText(day, d, sizeof d), WeekdayText(week));
    return 1;
}

}  // namespace

const char* NumberText(int n, char* out, size_t size) {
    const char* text = full_width_number(n);
    if (text)
        std::snprintf(out, size, "%s", text);
    else
        std::snprintf(out, size, "%d", n);
    return out;
}

const char* WeekdayText(int week) {
    static const char* const names[8] = {"　"_sj, "月"_sj, "火"_sj, "水"_sj,
                                         "木"_sj, "金"_sj, "土"_sj, "日"_sj};
    return week >= 0 && week < 8 ? names[week] : names[0];
}

int date_text(const Calendar& calendar, char* out, size_t size) {
    return format_date(calendar.month, calendar.day, calendar.week, out, size);
}

int record_date_text(Handle record, char* out, size_t size) {
    int month = GetNum(record, "month");
    int day = GetNum(record, "day");
    int week = GetNum(record, "week");
    if (size) out[0] = '\0';
    if (month < 0) {
        LogLine("取得monthが0です."_sj);
        return 0;
    }
    if (day < 0) {
        LogLine("取得dayが0です."_sj);
        return 0;
    }
    if (week < 0) {
        LogLine("取得weekが0です."_sj);
        return 0;
    }
    return format_date(month, day, week, out, size);
}

int time_text(Handle record, char* out, size_t size) {
    int t = GetNum(record, "time");
    if (size) out[0] = '\0';
    if (t < 0) {
        LogLine("取得時間が０以下です."_sj);
        return 0;
    }
    char h[16], m[16];
    if (t < 60)
        std::snprintf(out, size, " ０時 %s分"_sj, NumberText(t, m, sizeof m));
    else if (t % 60 == 0)
        std::snprintf(out, size, " %s時 ０分"_sj, NumberText(t / 60, h, sizeof h));
    else
        std::snprintf(out, size, " %s時 %s分"_sj, NumberText(t / 60, h, sizeof h),
                      NumberText(t % 60, m, sizeof m));
    return 1;
}
