// Receiving: each task moves its cursor one event per call and takes the events addressed to
// it or to everybody.
#include <cstring>

#include "core/log.h"
#include "core/system.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "resource/task_record.h"

int NextEvent(Handle task) {
    TaskRecord* t = task_record(task);
    if (!t) return RECEIVE_NO_EVENT;
    if (t->flags & TASK_CURSOR_FRESH) {
        // Freshly placed: the event under the cursor has not been looked at yet.
        t->flags &= ~TASK_CURSOR_FRESH;
        return t->cursor ? 0 : RECEIVE_NO_EVENT;
    }
    if (!t->cursor) return RECEIVE_NO_EVENT;
    EventRecord* e = event_record(t->cursor);
    t->cursor = e ? e->next : 0;
    return t->cursor ? 0 : RECEIVE_NO_EVENT;
}

Handle CurrentEvent(Handle task) {
    TaskRecord* t = task_record(task);
    return t ? t->cursor : 0;
}

int ReciveEvent(Handle task) {
    TaskRecord* t = task_record(task);
    if (!t) return RECEIVE_NO_TASK;
    if (t->flags & TASK_DISABLED) return RECEIVE_DISABLED;
    if (TestSystemFlag(FLAG_TASK)) {
        g_current_task = 0;
        if (CheckTask(task))
            SystemErrorReport(g_tasks.event, 72, "ReciveEvent()で異常なタスクが指定された"_sj);
        g_current_task = task;
        t = task_record(task);
        if (!t) return RECEIVE_NO_TASK;
        LogLinef("Change %ld:%s", long(t->id), t->name);
    }
    if (NextEvent(task) == RECEIVE_NO_EVENT) return RECEIVE_NO_EVENT;
    t = task_record(task);
    const EventRecord* e = event_record(t->cursor);
    if (t->flags & TASK_NOT_STARTED) {
        // The first event a task sees counts as its own, whatever its destination.
        if (TestSystemFlag(FLAG_EVENT_TEST)) {
            LogLinef("ID %2ld : %s ｽﾀｰﾄ"_sj, long(t->id), t->name);
            if (e && e->code == EVENT_START)
                LogLinef(" 始めに受け取ったｲﾍﾞﾝﾄがｽﾀｰﾄ･ｲﾍﾞﾝﾄです  %s"_sj, t->name);
            else
                LogLinef(" 始めに受け取ったｲﾍﾞﾝﾄがｽﾀｰﾄ･ｲﾍﾞﾝﾄではありませんでした  %s"_sj, t->name);
        }
        t->flags &= ~TASK_NOT_STARTED;
        return RECEIVE_EVENT;
    }
    if (t->flags & TASK_PAUSED) return RECEIVE_NOT_MINE;
    if (!e || (e->destination != t->id && e->destination != TASK_ID_ALL)) return RECEIVE_NOT_MINE;
    if (!(e->flags & EVENT_LIVE)) return RECEIVE_NOT_MINE;
    return RECEIVE_EVENT;
}
