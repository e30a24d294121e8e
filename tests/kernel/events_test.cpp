// Events: sending, receiving, the clock task's events and house-keeping, key events.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include "core/system.h"
#include "host/clock.h"
#include "host/input.h"
#include "kernel/dialog.h"
#include "kernel/event.h"
#include "kernel/event_task.h"
#include "kernel/kernel_test_env.h"
#include "kernel/key_task.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "resource/resource.h"
#include "resource/task_record.h"
#include "window/window_events.h"

namespace {

class EventTest : public KernelTest {
protected:
    uint16_t Current(Handle task) { return event_record(CurrentEvent(task))->code; }
    const EventRecord& Youngest() { return *event_record(g_event_tail); }
};

TEST_F(EventTest, EachReceiveMovesTheCursorOneEventAndTakesTheTasksOwn) {
    // The first event plus nine more, addressed to 40, to everybody or elsewhere.
    const uint32_t destinations[9] = {40, 41, TASK_ID_ALL, 41, 40, 0, TASK_ID_ALL, 41, 40};
    for (int i = 0; i < 9; ++i)
        SendEvent(5, destinations[i], uint16_t(0x600 + i));
    Handle task = Register("Listener", 40);
    // The oldest event counts as the task's own the first time, whatever its destination.
    ASSERT_EQ(ReciveEvent(task), RECEIVE_EVENT);
    EXPECT_EQ(Current(task), EVENT_FIRST);
    EXPECT_FALSE(task_record(task)->flags & TASK_NOT_STARTED);
    for (int i = 0; i < 9; ++i) {
        bool mine = destinations[i] == 40 || destinations[i] == TASK_ID_ALL;
        EXPECT_EQ(ReciveEvent(task), mine ? RECEIVE_EVENT : RECEIVE_NOT_MINE) << i;
        EXPECT_EQ(Current(task), 0x600 + i);
    }
    // On the youngest event the task waits for the next send, without skipping it.
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(ReciveEvent(task), RECEIVE_NO_EVENT);
    EXPECT_EQ(CurrentEvent(task), 0u);
    Handle sent = SendEvent(1, 40, 0x700);
    EXPECT_EQ(CurrentEvent(task), sent);
    EXPECT_EQ(ReciveEvent(task), RECEIVE_EVENT);
    EXPECT_EQ(Current(task), 0x700);

    // Paused tasks, dead events and disabled tasks.
    EXPECT_EQ(ReciveEvent(0), RECEIVE_NO_TASK);
    SendEvent(1, 40, 0x701);  // the cursor still stands on 0x700: it just moves on
    task_record(task)->flags |= TASK_PAUSED;
    EXPECT_EQ(ReciveEvent(task), RECEIVE_NOT_MINE);
    task_record(task)->flags &= ~TASK_PAUSED;
    event_record(SendEvent(1, 40, 0x702))->flags &= ~EVENT_LIVE;
    EXPECT_EQ(ReciveEvent(task), RECEIVE_NOT_MINE);
    SendEvent(1, 40, 0x703);
    task_record(task)->flags |= TASK_DISABLED;
    EXPECT_EQ(ReciveEvent(task), RECEIVE_DISABLED);
    EXPECT_EQ(Current(task), 0x702);  // a disabled task does not move
}

TEST_F(EventTest, SendFunctionsFillTheirFields) {
    Handle task = Register("Writer", 40);
    std::string text79(79, 'a');
    ASSERT_EQ(SendStringEvent(task, 41, text79.c_str()), 0);
    EXPECT_TRUE(Logged(Sj("SendStringEventで送信するﾃﾞｰﾀｻｲｽﾞが大きすぎます")));
    EXPECT_EQ(Chain().back(), (Sent{EVENT_STRING, 40, 41}));
    EXPECT_EQ(Youngest().long_a, 79u);
    EXPECT_EQ(std::string(Youngest().data), text79);
    SendStringEvent(task, 41, std::string(800, 'b').c_str());
    EXPECT_EQ(std::string(Youngest().data), std::string(kEventStringMax, 'b'));

    ASSERT_EQ(AddMenuItemEvent(task, 7, "a label longer than twenty-one", "help"), 0);
    EXPECT_EQ(Chain().back(), (Sent{EVENT_MENU_ADD, 40, TASK_ID_MENU}));
    uint16_t item;
    std::memcpy(&item, Youngest().data, 2);
    EXPECT_EQ(item, 7);
    EXPECT_EQ(std::string(Youngest().data + kMenuEventLabel), "a label longer than t");
    EXPECT_EQ(std::string(Youngest().data + kMenuEventHelp), "help");

    ASSERT_EQ(SendWindowPointEvent(task, 1234, -5, 300), 0);
    EXPECT_EQ(Chain().back(), (Sent{EVENT_WINDOW_OPEN, 40, TASK_ID_WINDOW}));
    EXPECT_EQ(int16_t(Youngest().word_a), -5);

    // Draw events remember the window; during a redraw motion the owner's answer takes the
    // drawable bit (0x10000 of the window's mode word) away.
    Handle window = CreateRecord(g_resources.window, -1, 88);
    auto mode = [&] { return uint32_t(LoadLong(record_body(window) + 12)); };
    StoreLong(record_body(window) + 12, 0x30000);
    ReqDrawEvent(40, window);
    EXPECT_EQ(g_last_draw_request, window);
    EXPECT_EQ(Chain().back(), (Sent{EVENT_REQ_DRAW, TASK_ID_WINDOW, 40}));
    RetDrawEvent(task, window);
    EXPECT_EQ(mode(), 0x30000u);
    SetSystemFlag(FLAG_REDRAW_MOTION);
    RetDrawEvent(task, window);
    EXPECT_EQ(mode(), 0x20000u);
    EXPECT_EQ(Chain().back(), (Sent{EVENT_RET_DRAW, 40, TASK_ID_WINDOW}));
    EXPECT_EQ(Youngest().value, window);
}

TEST_F(EventTest, TheOldestEventGoesOnlyWhenNoCursorHoldsIt) {
    Handle holder = Register("Holder", 40);
    for (int i = 0; i < 4; ++i)
        SendEvent(1, TASK_ID_ALL, uint16_t(0x700 + i));
    Handle other = Register("Other", 41);
    for (int i = 0; i < 3; ++i)
        ReciveEvent(other);  // on 0x701, the third event
    EXPECT_EQ(TopEvent(), 1);
    EXPECT_EQ(EndEvent(), 1);
    EXPECT_TRUE(Logged(Sj("Holderが握っています。")));
    for (int i = 0; i < 3; ++i)
        ReciveEvent(holder);
    EXPECT_EQ(TopEvent(), 3);
    EXPECT_EQ(EndEvent(), 0);
    EXPECT_EQ(TopEvent(), 2);
    EXPECT_EQ(Chain().front().code, 0x700);

    // A cursor outside the chain is reported and ignored.
    task_record(holder)->cursor = CreateRecord(g_resources.code, -1, 600);
    EXPECT_EQ(TopEvent(), 2);
    EXPECT_TRUE(Logged(Sj("ｲﾍﾞﾝﾄがみつかりません。for TopEvent (taskID: 40)")));
    EXPECT_TRUE(Logged(Sj("   ｲﾍﾞﾝﾄ･ﾁｪｰﾝが正しく連結されていません。 ")));

    // A removed record is reused by the next send: the resource does not grow.
    uint16_t records = resource_attr(g_resources.event)->record_count;
    SendEvent(1, TASK_ID_ALL, 0x704);
    EXPECT_EQ(resource_attr(g_resources.event)->record_count, records);
    EXPECT_EQ(Chain().back().code, 0x704);
    EXPECT_EQ(Chain().size(), 5u);

    // Emptying the chain, then starting it again.
    task_record(holder)->cursor = task_record(other)->cursor = 0;
    EXPECT_EQ(TopEvent(), 0);
    while (g_event_head)
        ASSERT_EQ(EndEvent(), 0);
    EXPECT_EQ(EndEvent(), 1);
    SendEvent(1, TASK_ID_ALL, 0x710);
    SendEvent(1, TASK_ID_ALL, 0x711);
    EXPECT_EQ(Chain(), (std::vector<Sent>{{0x710, 1, TASK_ID_ALL}, {0x711, 1, TASK_ID_ALL}}));
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

    // A handle that is no task record is reported in the name of EventTask; a report without
    // a task names the current one.
    ReciveEvent(CreateRecord(g_resources.code, -1, 600));
    EXPECT_TRUE(Logged(Sj("EventTaskでエラーが発生！")));
    g_current_task = task;
    SystemErrorReport(0, 72, nullptr);
    EXPECT_TRUE(Logged(Sj("Tracerでエラーが発生！")));
}

using Codes = std::vector<uint16_t>;

class EventTaskTest : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        holder_ = Register("Holder", 40);  // never receives unless told: events stay
        clock_task_ = Register("EventTask", TASK_ID_EVENT);
    }
    // EventTask with its start event, from the current time on.
    void Start() {
        g_system.current_time = ClockNow();
        g_system.phase = PHASE_RUNNING;
        SendEvent(TASK_ID_MANAGER, TASK_ID_EVENT, EVENT_START);
        Calls(2);  // the first event of the chain, then the start event
        ASSERT_EQ(g_clock.sync, 20u);
    }
    void Calls(int count) {
        for (int i = 0; i < count; ++i)
            EventTask(clock_task_);
    }
    // Codes sent from the last tick on.
    Codes SinceLastTick() {
        Codes codes;
        for (const Sent& s : Chain()) {
            if (s.code == EVENT_TICK) codes.clear();
            codes.push_back(s.code);
        }
        return codes;
    }
    void Drain(Handle task) {
        while (ReciveEvent(task) != RECEIVE_NO_EVENT) {
        }
    }
    Handle holder_ = 0, clock_task_ = 0;
};

TEST_F(EventTaskTest, TicksComeEveryFourthCallAndOnlyWhileRunning) {
    g_system.phase = PHASE_STARTING_SYSTEM_TASKS;
    Calls(12);
    EXPECT_TRUE(Chain(EVENT_TICK).empty());
    g_system.phase = PHASE_RUNNING;
    Calls(40);
    EXPECT_EQ(Chain(EVENT_TICK), std::vector<Sent>(10, {EVENT_TICK, TASK_ID_EVENT, TASK_ID_ALL}));
}

TEST_F(EventTaskTest, ClockChangesFromTheSecondUpAndTheMinuteOnlyWithTheSecond) {
    // From the virtual clock's start, 2000-01-01 12:00:00, to 2000-12-31 23:59:59.
    Advance(365ull * 86400000 + 43199000);
    Start();
    Calls(2);  // the first tick syncs the clock at 23:59:59.000
    Advance(500);
    Calls(4);  // 23:59:59.500: a sync within the same second
    EXPECT_EQ(SinceLastTick(), (Codes{EVENT_TICK, EVENT_QUARTER_SECOND, EVENT_HALF_SECOND}));
    Advance(600);
    Calls(4);  // 2001-01-01 00:00:00.100
    EXPECT_EQ(SinceLastTick(),
              (Codes{EVENT_TICK, EVENT_QUARTER_SECOND, EVENT_HALF_SECOND, EVENT_SECOND,
                     EVENT_MINUTE, EVENT_HOUR, EVENT_DAY, EVENT_MONTH, EVENT_YEAR}));
    EXPECT_EQ(ClockYear(g_clock.previous), 2001);
    EXPECT_EQ(ClockMonth(g_clock.previous), 1);
    EXPECT_TRUE(Logged(Sj(" 0時 0分 0秒 0100m秒 経過時間 60秒 12 ｻｲｸﾙ  ﾊﾟﾌｫｰﾏﾝｽ 0")));
    // The start counts 20 syncs, three more came in the second that ended: the divisors of
    // the next second follow from them.
    EXPECT_EQ(g_clock.milli_sync, 23u);
    EXPECT_EQ(g_clock.quarter_divisor, 5);
    EXPECT_EQ(g_clock.half_divisor, 11);
    EXPECT_EQ(g_clock.sync, 1u);

    Calls(228);
    Advance(60000);  // 00:01:00.100: the minute changed, the second number did not
    Calls(4);
    EXPECT_EQ(SinceLastTick(), (Codes{EVENT_TICK}));
    Advance(1000);  // 00:01:01.100: now both change
    Calls(4);
    EXPECT_EQ(Chain(EVENT_MINUTE).size(), 2u);
    EXPECT_EQ(Chain(EVENT_HOUR).size(), 1u);
    EXPECT_TRUE(Logged(Sj(" 0時 1分 1秒 0100m秒 経過時間 60秒 236 ｻｲｸﾙ  ﾊﾟﾌｫｰﾏﾝｽ 3")));
    Advance(1000);  // 00:01:02.100: only the second changes
    Calls(4);
    EXPECT_EQ(Chain(EVENT_SECOND).size(), 3u);
    EXPECT_EQ(Chain(EVENT_MINUTE).size(), 2u);
}

TEST_F(EventTaskTest, AStallIsSeenModulo1024Milliseconds) {
    Start();
    Calls(2);
    Advance(1050);
    Calls(4);
    EXPECT_EQ(SinceLastTick(), (Codes{EVENT_TICK}));
    EXPECT_EQ(ClockMillisecond(g_system.current_time), 26);
    Advance(73);  // 99 ms since the last sync: still none
    Calls(4);
    EXPECT_EQ(SinceLastTick(), (Codes{EVENT_TICK}));
    Advance(1);  // 12:00:01.124
    Calls(4);
    EXPECT_EQ(SinceLastTick(),
              (Codes{EVENT_TICK, EVENT_QUARTER_SECOND, EVENT_HALF_SECOND, EVENT_SECOND}));
}

// EventTask runs its house-keeping in the first three calls outside the running phase: each
// of these tests stays within them.
TEST_F(EventTaskTest, AtTheLimitEverythingBeforeTheOldestHeldEventGoesAtOnce) {
    for (int i = 0; i < 30; ++i)
        SendEvent(1, TASK_ID_ALL, uint16_t(0x700 + i));
    Drain(clock_task_);
    g_max_event = 20;
    EventTask(0);  // 31 live events, the oldest held by the holder
    EXPECT_TRUE(Logged("MAX event count over.!!!"));
    EXPECT_TRUE(Logged(Sj("Holderが握っています。")));
    EXPECT_EQ(RecordCount(g_resources.event), 31);
    for (int i = 0; i < 11; ++i)
        ReciveEvent(holder_);  // now on the eleventh event
    EventTask(0);              // the ten events before it go, then the held one stops the burst
    EXPECT_EQ(RecordCount(g_resources.event), 21);
    EXPECT_EQ(Chain().front().code, 0x709);
    Drain(holder_);
    EventTask(0);  // nobody holds anything: all but one go
    EXPECT_EQ(RecordCount(g_resources.event), 1);
    EXPECT_EQ(Chain().front().code, 0x700 + 29);
}

TEST_F(EventTaskTest, BelowTheLimitOneEventGoesPerCallWhileSomeCursorIsPastTheHead) {
    for (int i = 0; i < 3; ++i)
        SendEvent(1, TASK_ID_ALL, uint16_t(0x700 + i));
    Drain(clock_task_);
    ReciveEvent(holder_);
    ReciveEvent(holder_);  // on 0x700, the second event
    EventTask(0);
    EXPECT_EQ(Chain().front().code, 0x700);
    EventTask(0);  // the holder is on the oldest event now
    EXPECT_EQ(RecordCount(g_resources.event), 3);
    Drain(holder_);
    EventTask(0);  // every cursor empty: nothing goes
    EXPECT_EQ(RecordCount(g_resources.event), 3);
}

class KeyTaskTest : public KernelTest {
protected:
    // The key events of the chain, as their three key bytes and the modifiers.
    std::vector<std::pair<std::string, uint32_t>> Keys() {
        std::vector<std::pair<std::string, uint32_t>> keys;
        for (Handle h = g_event_head; h; h = event_record(h)->next) {
            const EventRecord* e = event_record(h);
            if (e->code != EVENT_KEY) continue;
            EXPECT_EQ(e->source, uint32_t(TASK_ID_KEY));
            EXPECT_EQ(e->destination, TASK_ID_ALL);
            keys.emplace_back(std::string(reinterpret_cast<const char*>(&e->word_a), 3), e->long_a);
        }
        return keys;
    }
    // ReadKey's three bytes, or "none".
    std::string Read() {
        char buffer[3] = {9, 9, 9};
        return ReadKey(buffer) ? std::string(buffer, 3) : "none";
    }
};

TEST_F(KeyTaskTest, ReadKeyPairsShiftJisBytes) {
    EXPECT_EQ(Read(), "none");
    HostStoreKey(13);
    EXPECT_EQ(Read(), std::string("\x0d\0\0", 3));
    EXPECT_EQ(Read(), "none");
    HostStoreChar(0x82);  // both bytes arrived before the read: one key
    HostStoreChar(0xA0);
    EXPECT_EQ(Read(), std::string("\x82\xA0\0", 3));
    EXPECT_EQ(Read(), "none");
    HostStoreChar(0x88);  // the trail byte comes later: the lead byte alone, then the trail
    EXPECT_EQ(Read(), std::string("\x88\0\0", 3));
    HostStoreChar(0x9F);
    EXPECT_EQ(Read(), std::string("\x9F\0\0", 3));
}

TEST_F(KeyTaskTest, AKeyWaitsForACycleWithoutAnEventForTheTask) {
    Handle task = Register("KeyTask", TASK_ID_KEY);
    HostSetModifierState(MOD_SHIFT | MOD_CONTROL, true);
    HostStoreKey('a');
    KeyTask(task);  // its first event: no key read
    EXPECT_TRUE(Keys().empty());
    KeyTask(task);
    HostStoreKey('b');
    KeyTask(task);  // receives its own key event: 'b' stays pending
    EXPECT_EQ(Keys().size(), 1u);
    HostSetModifierState(MOD_SHIFT, false);  // the window is in the background
    KeyTask(task);
    using Key = std::pair<std::string, uint32_t>;
    EXPECT_EQ(Keys(), (std::vector<Key>{{std::string("a\0\0", 3), MOD_SHIFT | MOD_CONTROL},
                                        {std::string("b\0\0", 3), 0u}}));
    SendEvent(TASK_ID_MANAGER, TASK_ID_ALL, EVENT_SYSTEM_READY);
    KeyTask(task);  // its own key event
    KeyTask(task);
    EXPECT_TRUE(Logged("KeyTask start!"));
}

TEST_F(KeyTaskTest, DelayWaitsTenMillisecondsPerTickOnTheClock) {
    uint32_t start = HostTickCount();
    Delay(100);
    Delay(0);
    EXPECT_EQ(HostTickCount() - start, 1000u);
}

}  // namespace
