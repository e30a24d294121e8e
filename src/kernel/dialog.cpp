#include "kernel/dialog.h"

#include "core/log.h"
#include "core/system.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "resource/task_record.h"

int SystemMessageDialog(int number, const char* detail) {
    LogSystemMessage(number, detail);
    return 0;
}

void CreateSystemDialogs(Handle) {}

void SystemErrorReport(Handle task, int number, const char* detail) {
    const TaskRecord* t = task_record(task);
    if (!t && TestSystemFlag(FLAG_TASK)) t = task_record(g_current_task);
    LogLinef("%sでエラーが発生！"_sj, t ? t->name : "");
    ClockRecord now = ClockNow();
    LogLinef("(%d/%d %2d:%2d)", ClockMonth(now), ClockDay(now), ClockHour(now), ClockMinute(now));
    LogSystemMessage(number, detail);
}

int MessageDialog(const char*) {
    LogLine("DLG OPEN ERROR!");
    return 1;
}
