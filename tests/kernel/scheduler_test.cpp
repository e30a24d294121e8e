#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/system.h"
#include "kernel/event.h"
#include "kernel/event_task.h"
#include "kernel/kernel_test_env.h"
#include "kernel/manager.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "resource/resource.h"
#include "resource/task_record.h"

namespace {

class SchedulerTest : public KernelTest {
protected:
    // Sets NOMA.ini up with `keys` and registers the application task as the host does.
    Handle Prepare(const std::string& keys) {
        WriteFile("NOMA.ini", "Sys.error.elogfile test.log\n" + keys);
        SetSystemFlag(FLAG_APPLICATION);
        return Register("Ilvane");
    }
    // Runs cycles until the phase is `phase`; false when it is not reached in `limit` cycles.
    bool RunUntilPhase(uint16_t phase, int limit = 1000) {
        for (int i = 0; i < limit && g_system.phase != phase; ++i)
            Cycles(1);
        return g_system.phase == phase;
    }
    std::vector<uint32_t> StartedIds() {
        std::vector<uint32_t> ids;
        for (const Sent& s : Chain(EVENT_START))
            ids.push_back(s.destination);
        return ids;
    }
    // The system menu entries the manager sent to MenuTask, as "item label|help".
    std::vector<std::string> ManagerMenuEntries() {
        std::vector<std::string> out;
        for (Handle h = g_event_head; h; h = event_record(h)->next) {
            const EventRecord* e = event_record(h);
            if (e->code != EVENT_MENU_ADD || e->source != TASK_ID_MANAGER) continue;
            EXPECT_EQ(e->destination, uint32_t(TASK_ID_MENU));
            uint16_t item;
            std::memcpy(&item, e->data, 2);
            out.push_back(std::to_string(item) + " " + (e->data + kMenuEventLabel) + "|" +
                          (e->data + kMenuEventHelp));
        }
        return out;
    }
};

TEST_F(SchedulerTest, SystemTasksStartOnePerCycleThenTheConfiguredProgram) {
    Prepare("START_PROGRAM Ilvane\n");
    Cycles(1);
    EXPECT_EQ(g_system.phase, PHASE_STARTING_SYSTEM_TASKS);
    EXPECT_TRUE(Logged("System ready"));
    EXPECT_EQ(g_system.cycle_counter, 1u);  // one cycle per call under LOOP_EXIT
    EXPECT_EQ(Chain(EVENT_SYSTEM_READY),
              (std::vector<Sent>{{EVENT_SYSTEM_READY, TASK_ID_MANAGER, TASK_ID_ALL}}));

    const std::vector<uint32_t> order = {1, 9, 22, 2, 7, 18, 11, 12, 19};
    Cycles(1);  // the application task comes first in the Task resource and is skipped
    EXPECT_TRUE(StartedIds().empty());
    for (size_t i = 0; i < order.size(); ++i) {
        Cycles(1);
        ASSERT_EQ(StartedIds(), std::vector<uint32_t>(order.begin(), order.begin() + i + 1));
        EXPECT_EQ(Chain(EVENT_START).back().source, uint32_t(TASK_ID_MANAGER));
    }
    EXPECT_EQ(g_system.phase, PHASE_STARTING_PROGRAM);

    Cycles(1);
    EXPECT_EQ(g_system.phase, PHASE_RUNNING);
    EXPECT_EQ(StartedIds().back(), 30u);
    EXPECT_TRUE(Logged("System start"));
    EXPECT_EQ(ManagerMenuEntries(),
              (std::vector<std::string>{Sj("3 SysInfo|SYSTEM情報"), Sj("7 終了|SYSTEMの終了")}));
    Cycles(100);
    EXPECT_TRUE(Logged("KeyTask start!"));
    EXPECT_TRUE(Logged("DuskIlvane 0.702  start!"));
}

TEST_F(SchedulerTest, StartProgramAbsentOrUnknownStillReachesTheRunningPhase) {
    Handle application = Prepare("USER_NAME someone\n");
    ClearSystemFlag(FLAG_APPLICATION);
    Cycles(12);
    EXPECT_EQ(g_system.phase, PHASE_RUNNING);
    EXPECT_TRUE(Logged("    NON START PROGRAM"));
    EXPECT_EQ(ManagerMenuEntries().size(), 2u);
    EXPECT_EQ(StartedIds().size(), 9u);  // the system tasks only
    EXPECT_TRUE(task_record(application)->flags & TASK_NOT_STARTED)
        << "the application task runs only under its flag";

    WriteFile("NOMA.ini", "Sys.error.elogfile test.log\nSTART_PROGRAM Nobody\n");
    g_system.phase = PHASE_STARTING_PROGRAM;
    Cycles(1);
    EXPECT_EQ(g_system.phase, PHASE_RUNNING);
    EXPECT_TRUE(Logged(Sj("START_PROGRAMの名前が正しくありません。")));
    EXPECT_EQ(StartedIds().size(), 9u);
}

TEST_F(SchedulerTest, TaskAllStartsEveryApplicationTaskOnceTheRedrawMotionEnds) {
    Prepare("START_PROGRAM TASKall\n");
    Register("Second");
    SetSystemFlag(FLAG_REDRAW_MOTION);
    ASSERT_TRUE(RunUntilPhase(PHASE_STARTING_PROGRAM));
    Cycles(50);
    EXPECT_EQ(g_system.phase, PHASE_STARTING_PROGRAM);
    EXPECT_EQ(StartedIds().size(), 9u);

    ClearSystemFlag(FLAG_REDRAW_MOTION);
    int calls = 0;
    for (; g_system.phase == PHASE_STARTING_PROGRAM && calls < 100; ++calls)
        Cycles(1);
    EXPECT_EQ(calls, RecordCount(g_resources.task));  // one task record per cycle
    std::vector<uint32_t> started = StartedIds();
    ASSERT_EQ(started.size(), 11u);
    EXPECT_EQ(started[9], 30u);
    EXPECT_EQ(started[10], 31u);
}

TEST_F(SchedulerTest, QuitFromTheSystemMenuShutsDownAfterTenMoreCycles) {
    Prepare("START_PROGRAM Ilvane\n");
    ASSERT_TRUE(RunUntilPhase(PHASE_RUNNING));
    std::strcpy(g_system.owner_name, "Taro");
    std::strcpy(g_system.long_machine_name, "Box");
    g_clock.milli_sync = 21;
    SetSystemFlag(FLAG_REDRAW_MOTION);
    char text[512];
    SystemInfoText(text, sizeof text);
    EXPECT_EQ(std::string(text), "NOMAv0.417\nTaro(Box)\nmilli sync 21   event " +
                                     std::to_string(RecordCount(g_resources.event)) +
                                     "\n RedrawMotion 32768");
    ClearSystemFlag(FLAG_REDRAW_MOTION);
    Cycles(20);

    Handle select = SendEvent(TASK_ID_MENU, TASK_ID_MANAGER, EVENT_MENU_SELECT);
    uint16_t quit = 7;
    std::memcpy(event_record(select)->data, &quit, 2);
    ASSERT_TRUE(RunUntilPhase(PHASE_SHUTTING_DOWN, 300));
    EXPECT_EQ(Chain(EVENT_CLOSE_WINDOWS),
              (std::vector<Sent>{{EVENT_CLOSE_WINDOWS, TASK_ID_MANAGER, TASK_ID_WINDOW}}));
    EXPECT_EQ(ErrorLogStream(), nullptr);
    EXPECT_EQ(Chain(EVENT_SHUTDOWN).back(), (Sent{EVENT_SHUTDOWN, TASK_ID_MANAGER, TASK_ID_ALL}));
    EXPECT_EQ(ReadFile("NOMArev.dat").size(), 56u);

    for (int call = 1; call <= 10; ++call) {
        Cycles(1);
        ASSERT_FALSE(TestSystemFlag(FLAG_STOP)) << call;
    }
    uint32_t counted = g_system.cycle_counter;
    Cycles(1);  // the eleventh call sets the stop flag; the rest of the cycle still runs
    EXPECT_TRUE(TestSystemFlag(FLAG_STOP));
    EXPECT_EQ(g_system.cycle_counter, counted + 1);
    Cycles(1);  // returns at the start of the next cycle
    EXPECT_EQ(g_system.cycle_counter, counted + 1);
}

}  // namespace
