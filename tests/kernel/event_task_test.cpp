#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/clock.h"
#include "kernel/event.h"
#include "kernel/event_task.h"
#include "kernel/kernel_test_env.h"
#include "kernel/scheduler.h"
#include "kernel/system.h"
#include "kernel/task.h"
#include "resource/resource.h"

namespace {

// From the virtual clock's start, 2000-01-01 12:00:00, to 2000-12-31 23:59:59.
constexpr uint64_t kToYearEnd = 365ull * 86400000 + 43199000;

class EventTaskTest : public KernelTest {
protected:
    void SetUp() override {
        KernelTest::SetUp();
        Register("Holder", 40);  // never receives: every event stays in the chain
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
    // Codes sent after the last event with code `after`.
    std::vector<uint16_t> CodesAfterLast(uint16_t after) {
        std::vector<uint16_t> codes;
        for (const Sent& s : Chain()) {
            if (s.code == after) codes.clear();
            codes.push_back(s.code);
        }
        return codes;
    }
    Handle clock_task_ = 0;
};

TEST_F(EventTaskTest, TicksComeEveryFourthCallAndOnlyWhileRunning) {
    g_system.phase = PHASE_STARTING_SYSTEM_TASKS;
    Calls(12);
    EXPECT_TRUE(ChainWithCode(EVENT_TICK).empty());
    g_system.phase = PHASE_RUNNING;
    Calls(40);
    EXPECT_EQ(ChainWithCode(EVENT_TICK).size(), 10u);
    for (const Sent& s : ChainWithCode(EVENT_TICK))
        EXPECT_EQ(s, (Sent{EVENT_TICK, TASK_ID_EVENT, TASK_ID_ALL}));
}

TEST_F(EventTaskTest, CrossingTheYearSendsEveryChangeEventInOrder) {
    Advance(kToYearEnd);
    Start();
    Calls(2);  // the first tick syncs the clock at 23:59:59.000
    Advance(500);
    Calls(4);  // 23:59:59.500: a sync within the same second
    EXPECT_EQ(CodesAfterLast(EVENT_TICK),
              (std::vector<uint16_t>{EVENT_TICK, EVENT_QUARTER_SECOND, EVENT_HALF_SECOND}));
    Advance(600);
    Calls(4);  // 2001-01-01 00:00:00.100
    EXPECT_EQ(
        CodesAfterLast(EVENT_TICK),
        (std::vector<uint16_t>{EVENT_TICK, EVENT_QUARTER_SECOND, EVENT_HALF_SECOND, EVENT_SECOND,
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
}

TEST_F(EventTaskTest, TheMinuteIsComparedOnlyWhenTheSecondChanges) {
    Advance(kToYearEnd);
    Start();
    Calls(2);
    Advance(500);
    Calls(4);
    Advance(600);
    Calls(4);  // 00:00:00.100: the first minute line (12 calls)
    ASSERT_EQ(ChainWithCode(EVENT_MINUTE).size(), 1u);
    Calls(232);
    Advance(60000);  // 00:01:00.100: the minute changed, the second number did not
    Calls(4);
    EXPECT_EQ(ChainWithCode(EVENT_MINUTE).size(), 1u);
    EXPECT_EQ(CodesAfterLast(EVENT_TICK), (std::vector<uint16_t>{EVENT_TICK}));
    Advance(1000);  // 00:01:01.100: now both change
    Calls(4);
    EXPECT_EQ(ChainWithCode(EVENT_MINUTE).size(), 2u);
    EXPECT_EQ(ChainWithCode(EVENT_HOUR).size(), 1u);
    EXPECT_EQ(LogLinesStartingWith(Sj(" 0時 1分 1秒")).size(), 1u);
    EXPECT_NE(LogLinesStartingWith(Sj(" 0時 1分 1秒"))[0].find(Sj(" 240 ｻｲｸﾙ  ﾊﾟﾌｫｰﾏﾝｽ 4")),
              std::string::npos);
}

TEST_F(EventTaskTest, AStallIsSeenModulo1024Milliseconds) {
    Start();
    Calls(2);
    Advance(1050);
    Calls(4);
    EXPECT_EQ(CodesAfterLast(EVENT_TICK), (std::vector<uint16_t>{EVENT_TICK}));
    EXPECT_EQ(ClockMillisecond(g_system.current_time), 26);
}

TEST_F(EventTaskTest, AtTheLimitEverythingBeforeTheOldestHeldEventGoesAtOnce) {
    Handle holder = FirstRecord(g_resources.task);
    for (int i = 0; i < 30; ++i)
        SendEvent(1, TASK_ID_ALL, uint16_t(0x700 + i));
    while (ReciveEvent(clock_task_) != RECEIVE_NO_EVENT) {
    }
    g_max_event = 20;
    EventTask(0);  // 31 live events, the oldest held by the Holder
    EXPECT_TRUE(Logged("MAX event count over.!!!"));
    EXPECT_TRUE(Logged(Sj("Holderが握っています。")));
    EXPECT_EQ(RecordCount(g_resources.event), 31);

    for (int i = 0; i < 11; ++i)
        ReciveEvent(holder);  // now on the eleventh event
    EventTask(0);             // the ten events before it go, then the held one stops the burst
    EXPECT_EQ(RecordCount(g_resources.event), 21);
    EXPECT_EQ(Chain().front().code, 0x709);

    while (ReciveEvent(holder) != RECEIVE_NO_EVENT) {
    }
    EventTask(0);  // nobody holds anything: all but one go
    EXPECT_EQ(RecordCount(g_resources.event), 1);
    EXPECT_EQ(Chain().front().code, 0x700 + 29);
}

TEST_F(EventTaskTest, BelowTheLimitOneEventGoesPerCallWhileSomeCursorIsPastTheHead) {
    for (int i = 0; i < 3; ++i)
        SendEvent(1, TASK_ID_ALL, uint16_t(0x700 + i));
    for (Handle task : {FirstRecord(g_resources.task), clock_task_})
        while (ReciveEvent(task) != RECEIVE_NO_EVENT) {
        }
    EventTask(0);  // every cursor empty: nothing goes
    EXPECT_EQ(TopEvent(), 0);
    EXPECT_EQ(RecordCount(g_resources.event), 4);
    SendEvent(1, TASK_ID_ALL, 0x800);  // both cursors are placed on it, the fifth event
    EventTask(0);
    EXPECT_EQ(RecordCount(g_resources.event), 4);
    EXPECT_EQ(Chain().front().code, 0x700);
}

}  // namespace
