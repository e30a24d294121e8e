#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "kernel/event.h"
#include "kernel/kernel_test_env.h"
#include "kernel/scheduler.h"
#include "kernel/system.h"
#include "kernel/task.h"
#include "kernel/task_record.h"
#include "resource/resource.h"

namespace {

class EventTest : public KernelTest {
protected:
    const EventRecord& Current(Handle task) { return *event_record(CurrentEvent(task)); }
};

TEST_F(EventTest, ATaskRegisteredBehindTenEventsWalksThemOnePerReceive) {
    // The first event plus nine more, addressed to 40, to everybody or elsewhere.
    const uint32_t destinations[9] = {40, 41, TASK_ID_ALL, 41, 40, 0, TASK_ID_ALL, 41, 40};
    for (int i = 0; i < 9; ++i)
        SendEvent(5, destinations[i], uint16_t(0x600 + i));
    Handle task = Register("Listener", 40);
    ASSERT_EQ(TaskId(task), 40u);
    // The oldest event counts as the task's own the first time, whatever its destination.
    ASSERT_EQ(ReciveEvent(task), RECEIVE_EVENT);
    EXPECT_EQ(Current(task).code, EVENT_FIRST);
    EXPECT_FALSE(task_record(task)->flags & TASK_NOT_STARTED);
    for (int i = 0; i < 9; ++i) {
        bool mine = destinations[i] == 40 || destinations[i] == TASK_ID_ALL;
        EXPECT_EQ(ReciveEvent(task), mine ? RECEIVE_EVENT : RECEIVE_NOT_MINE) << i;
        EXPECT_EQ(Current(task).code, 0x600 + i);
    }
    EXPECT_EQ(ReciveEvent(task), RECEIVE_NO_EVENT);
    EXPECT_EQ(CurrentEvent(task), 0u);
}

TEST_F(EventTest, ACursorOnTheYoungestEventWaitsForTheNextSendWithoutSkippingIt) {
    Handle task = Register("Waiter", 40);
    EXPECT_EQ(ReciveEvent(task), RECEIVE_EVENT);  // the first event
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ReciveEvent(task), RECEIVE_NO_EVENT);
    Handle sent = SendEvent(1, 40, 0x700);
    EXPECT_EQ(CurrentEvent(task), sent);
    EXPECT_EQ(ReciveEvent(task), RECEIVE_EVENT);
    EXPECT_EQ(Current(task).code, 0x700);
    SendEvent(1, 40, 0x701);  // the cursor still stands on 0x700: it just moves on
    EXPECT_EQ(ReciveEvent(task), RECEIVE_EVENT);
    EXPECT_EQ(Current(task).code, 0x701);
    EXPECT_EQ(ReciveEvent(task), RECEIVE_NO_EVENT);
}

TEST_F(EventTest, PausedDisabledAndDeadEventsAreNotDelivered) {
    Handle task = Register("Picky", 40);
    ReciveEvent(task);
    EXPECT_EQ(ReciveEvent(0), RECEIVE_NO_TASK);
    SendEvent(1, 40, 0x700);
    task_record(task)->flags |= TASK_PAUSED;
    EXPECT_EQ(ReciveEvent(task), RECEIVE_NOT_MINE);
    task_record(task)->flags &= ~TASK_PAUSED;
    Handle dead = SendEvent(1, 40, 0x701);
    event_record(dead)->flags &= ~EVENT_LIVE;
    EXPECT_EQ(ReciveEvent(task), RECEIVE_NOT_MINE);
    SendEvent(1, 40, 0x702);
    task_record(task)->flags |= TASK_DISABLED;
    EXPECT_EQ(ReciveEvent(task), RECEIVE_DISABLED);
    EXPECT_EQ(Current(task).code, 0x701);  // a disabled task does not move
}

TEST_F(EventTest, StringAndMenuEventsCarryTheirData) {
    Handle task = Register("Writer", 40);
    std::string text79(79, 'a');
    ASSERT_EQ(SendStringEvent(task, 41, text79.c_str()), 0);
    EXPECT_TRUE(Logged(Sj("SendStringEventで送信するﾃﾞｰﾀｻｲｽﾞが大きすぎます")));
    const EventRecord* e = event_record(g_event_tail);
    EXPECT_EQ(e->code, EVENT_STRING);
    EXPECT_EQ(e->source, 40u);
    EXPECT_EQ(e->long_a, 79u);
    EXPECT_EQ(std::string(e->data), text79);

    std::string text800(800, 'b');
    SendStringEvent(task, 41, text800.c_str());
    EXPECT_EQ(std::string(event_record(g_event_tail)->data), std::string(kEventStringMax, 'b'));

    ASSERT_EQ(AddMenuItemEvent(task, 7, "a label longer than twenty-one", "help"), 0);
    e = event_record(g_event_tail);
    EXPECT_EQ(e->code, EVENT_MENU_ADD);
    EXPECT_EQ(e->destination, uint32_t(TASK_ID_MENU));
    uint16_t item;
    std::memcpy(&item, e->data, 2);
    EXPECT_EQ(item, 7);
    EXPECT_EQ(std::string(e->data + kMenuEventLabel), "a label longer than t");
    EXPECT_EQ(std::string(e->data + kMenuEventHelp), "help");

    ASSERT_EQ(SendWindowPointEvent(task, 1234, -5, 300), 0);
    e = event_record(g_event_tail);
    EXPECT_EQ(e->code, EVENT_WINDOW_OPEN);
    EXPECT_EQ(e->value, 1234u);
    EXPECT_EQ(int16_t(e->word_a), -5);
    EXPECT_EQ(e->word_b, 300);

    RequestShutDown(task);
    EXPECT_EQ(Chain().back(), (Sent{EVENT_SHUTDOWN, 40, TASK_ID_MANAGER}));
    RequestCloseWindows(TASK_ID_MANAGER);
    EXPECT_EQ(Chain().back(), (Sent{EVENT_CLOSE_WINDOWS, TASK_ID_MANAGER, TASK_ID_WINDOW}));
}

TEST_F(EventTest, DrawEventsRememberTheWindowAndStopDrawingDuringARedrawMotion) {
    Handle task = Register("Owner", 40);
    constexpr uint32_t kDrawable = 0x10000, kOpen = 0x20000;
    Handle window = CreateRecord(g_resources.window, -1, 88);
    auto mode = [&] { return uint32_t(LoadLong(record_body(window) + 12)); };
    StoreLong(record_body(window) + 12, int32_t(kDrawable | kOpen));

    ReqDrawEvent(40, window);
    EXPECT_EQ(g_last_draw_request, window);
    EXPECT_EQ(Chain().back(), (Sent{EVENT_REQ_DRAW, TASK_ID_WINDOW, 40}));
    RetDrawEvent(task, window);
    EXPECT_EQ(mode(), kDrawable | kOpen);
    SetSystemFlag(FLAG_REDRAW_MOTION);
    RetDrawEvent(task, window);
    EXPECT_EQ(mode(), kOpen);
    EXPECT_EQ(Chain().back(), (Sent{EVENT_RET_DRAW, 40, TASK_ID_WINDOW}));
    EXPECT_EQ(event_record(g_event_tail)->value, window);
}

TEST_F(EventTest, TheOldestEventGoesOnlyWhenNoCursorHoldsIt) {
    Handle holder = Register("Holder", 40);
    for (int i = 0; i < 4; ++i)
        SendEvent(1, TASK_ID_ALL, uint16_t(0x700 + i));
    EXPECT_EQ(TopEvent(), 1);
    EXPECT_EQ(EndEvent(), 1);
    EXPECT_TRUE(Logged(Sj("Holderが握っています。")));
    EXPECT_EQ(RecordCount(g_resources.event), 5);

    ReciveEvent(holder);
    ReciveEvent(holder);
    ReciveEvent(holder);  // on 0x701, the third event
    EXPECT_EQ(TopEvent(), 3);
    EXPECT_EQ(EndEvent(), 0);
    EXPECT_EQ(TopEvent(), 2);
    EXPECT_EQ(Chain().front().code, 0x700);

    // A removed record is reused by the next send: the resource does not grow.
    const ResourceAttr* events = resource_attr(g_resources.event);
    uint16_t records = events->record_count;
    SendEvent(1, TASK_ID_ALL, 0x704);
    EXPECT_EQ(resource_attr(g_resources.event)->record_count, records);
    EXPECT_EQ(Chain().back().code, 0x704);
    EXPECT_EQ(Chain().size(), 5u);

    // With every cursor empty nothing is held.
    while (ReciveEvent(holder) != RECEIVE_NO_EVENT) {
    }
    EXPECT_EQ(TopEvent(), 0);
}

TEST_F(EventTest, EmptyingTheChainStartsItAgainCleanly) {
    SendEvent(1, TASK_ID_ALL, 0x700);
    EXPECT_EQ(EndEvent(), 0);
    EXPECT_EQ(EndEvent(), 0);
    EXPECT_EQ(g_event_head, 0u);
    EXPECT_EQ(EndEvent(), 1);
    SendEvent(1, TASK_ID_ALL, 0x701);
    SendEvent(1, TASK_ID_ALL, 0x702);
    ASSERT_EQ(Chain().size(), 2u);
    EXPECT_EQ(Chain()[0].code, 0x701);
    EXPECT_EQ(Chain()[1].code, 0x702);
}

TEST_F(EventTest, ACursorOutsideTheChainIsReportedAndIgnored) {
    Handle lost = Register("Lost", 40);
    Handle other = Register("Other", 41);
    SendEvent(1, TASK_ID_ALL, 0x700);
    ReciveEvent(other);
    ReciveEvent(other);  // position 2
    task_record(lost)->cursor = CreateRecord(g_resources.code, -1, 600);
    EXPECT_EQ(TopEvent(), 2);
    EXPECT_TRUE(Logged(Sj("ｲﾍﾞﾝﾄがみつかりません。for TopEvent (taskID: 40)")));
    EXPECT_TRUE(Logged(Sj("   ｲﾍﾞﾝﾄ･ﾁｪｰﾝが正しく連結されていません。 ")));
}

TEST_F(EventTest, TraceFlagsLogTheTaskChangesAndTheStartEvents) {
    g_tasks.event = Register("EventTask", TASK_ID_EVENT);
    Handle task = Register("Tracer", 40);
    SetSystemFlag(FLAG_TASK | FLAG_EVENT_TEST);
    ReciveEvent(task);
    EXPECT_TRUE(Logged("Change 40:Tracer"));
    EXPECT_EQ(g_current_task, task);
    EXPECT_TRUE(Logged(Sj("ID 40 : Tracer ｽﾀｰﾄ")));
    EXPECT_TRUE(Logged(Sj(" 始めに受け取ったｲﾍﾞﾝﾄがｽﾀｰﾄ･ｲﾍﾞﾝﾄではありませんでした  Tracer")));

    // A task without a cursor is placed on the next event sent: here its start event.
    Handle late = RegisterTask("Late", 41, 0);
    SendEvent(1, 41, EVENT_START);
    EXPECT_EQ(ReciveEvent(late), RECEIVE_EVENT);
    EXPECT_TRUE(Logged(Sj(" 始めに受け取ったｲﾍﾞﾝﾄがｽﾀｰﾄ･ｲﾍﾞﾝﾄです  Late")));

    // A handle that is no task record is reported in the name of EventTask.
    Handle bogus = CreateRecord(g_resources.code, -1, 600);
    ReciveEvent(bogus);
    EXPECT_TRUE(Logged(Sj("EventTaskでエラーが発生！")));
}

}  // namespace
