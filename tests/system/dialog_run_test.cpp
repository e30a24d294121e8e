// The system dialogs in a running system: the host's start-up runs in this process and the
// cycles one at a time (LOOP_EXIT); dialogs are answered by scripted input, as a player would
// answer them, while the system waits in the middle of a task's call.
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/compose.h"
#include "app/start_up.h"
#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "host/clock.h"
#include "host/input.h"
#include "host/message_box.h"
#include "host/open_files.h"
#include "host/program_thread.h"
#include "host/screen.h"
#include "host/script_input.h"
#include "host/window_proc.h"
#include "kernel/dialog.h"
#include "kernel/dialog_hooks.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/startup.h"
#include "kernel/task.h"
#include "resource/resource.h"
#include "system/in_process.h"
#include "window/object.h"
#include "window/system_dialog.h"
#include "window/window.h"

namespace {

constexpr uint16_t kSysInfoItem = 3;

class DialogRun : public InProcessRun {
protected:
    void SelectSysInfo() {
        EventRecord* e = event_record(SendEvent(TASK_ID_MENU, TASK_ID_MANAGER, EVENT_MENU_SELECT));
        ASSERT_NE(e, nullptr);
        uint16_t item = kSysInfoItem;
        std::memcpy(e->data, &item, sizeof item);
    }
};

TEST_F(DialogRun, TheSystemMenusInformationIsShownUntilItsButtonIsClicked) {
    ASSERT_NE(SystemDialogWindow(DIALOG_MESSAGE), 0u) << "made in the manager's first call";
    std::string ok = DialogButtonPoint(DIALOG_MESSAGE, 1);
    // A click during the guard second is no answer; the one after it is.
    Script({"0 move " + ok, "300 down " + ok + " left", "350 up", "1400 shot info.png",
            "1500 down " + ok + " left", "1550 up"});
    SelectSysInfo();
    uint32_t start = HostTickCount();
    // The manager takes the event in one of the next cycles and runs the dialog in its call.
    for (int i = 0; i < 300 && !DialogText()[0]; ++i)
        RunCycles();
    EXPECT_GE(HostTickCount() - start, 1500u);
    EXPECT_LT(HostTickCount() - start, 60000u) << "answered by the click, not the final close";
    EXPECT_EQ(std::string(DialogText()).rfind("NOMAv0.417", 0), 0u) << DialogText();
    EXPECT_FALSE(test_window_mode(SystemDialogWindow(DIALOG_MESSAGE), WIN_OPEN));
    EXPECT_EQ(Read("info.png").substr(1, 3), "PNG") << "the screen was taken while it waited";
    EXPECT_FALSE(TestSystemFlag(FLAG_STOP));
}

TEST_F(DialogRun, ClosingTheMainWindowDuringADialogShutsTheSystemDownInOrder) {
    Script({"2000 close"});
    SelectSysInfo();
    int cycles = RunToStop();
    EXPECT_NE(DialogText()[0], '\0') << "the dialog ran";
    EXPECT_TRUE(TestSystemFlag(FLAG_STOP)) << "after " << cycles << " cycles";
    std::vector<std::string> expected = {"TUVO CLOSED", "TUVO Direct close request!"};
    for (const std::string& line : ShutdownLines())
        expected.push_back(line);
    EXPECT_TRUE(LogInOrder(expected));
    EXPECT_EQ(HostOpenFileCount(), 0) << "the log and every stream closed";
}

TEST_F(DialogRun, TheErrorReportsFirstButtonEndsTheSystemInOrder) {
    std::string restart = DialogButtonPoint(DIALOG_ERROR, 1);
    Script({"1100 move " + restart, "1120 down " + restart + " left", "1200 up"});
    SystemErrorReport(g_tasks.manager, 72, "detail");
    EXPECT_TRUE(TestSystemFlag(FLAG_ERROR_REPORT));
    RunToStop();
    EXPECT_TRUE(TestSystemFlag(FLAG_STOP));
    std::vector<std::string> expected = {Sj("NomaManagerでエラーが発生！")};
    for (const std::string& line : ShutdownLines())
        expected.push_back(line);
    EXPECT_TRUE(LogInOrder(expected));
    EXPECT_EQ(HostOpenFileCount(), 0);
    EXPECT_FALSE(HostScreenClosed());
    EXPECT_TRUE(Read("core.dmp").empty());
}

TEST_F(DialogRun, TheErrorReportsSecondButtonDumpsTheCoreAndEndsAtOnce) {
    std::string end = DialogButtonPoint(DIALOG_ERROR, 2);
    Script({"1100 move " + end, "1120 down " + end + " left", "1200 up"});
    SystemErrorReport(0, 72, nullptr);
    std::string dump = Read("core.dmp");
    ASSERT_EQ(dump.size(), kCoreDumpSize);
    EXPECT_EQ(dump.compare(0, 5, std::string("NOMA\0", 5)), 0);
    EXPECT_TRUE(HostScreenClosed());
    EXPECT_TRUE(TestSystemFlag(FLAG_STOP));
}

}  // namespace
