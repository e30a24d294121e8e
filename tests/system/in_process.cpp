#include "system/in_process.h"

#include <unistd.h>

#include <cstdlib>

#include "app/compose.h"
#include "app/start_up.h"
#include "core/system.h"
#include "host/clock.h"
#include "host/message_box.h"
#include "host/program_thread.h"
#include "host/script_input.h"
#include "kernel/scheduler.h"
#include "window/editor.h"
#include "window/menu.h"
#include "window/menu_task.h"
#include "window/window.h"

void InProcessRun::SetUp() {
    SystemTest::SetUp();
    UseData("boot");
    SetIni("LOOP_EXIT", "ON");
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    old_folder_ = here;
    ASSERT_EQ(chdir(folder_.c_str()), 0);
    Prepare();
    HostSetHeadless(true);
    StartSystem();
}

void InProcessRun::StartSystem() {
    HostUseVirtualClock(true);
    InstallSystemHooks();
    AppStartUp();
    ASSERT_TRUE(HostStarted());
    for (int i = 0; i < 100 && g_system.phase != PHASE_RUNNING; ++i)
        RunCycles();
    ASSERT_EQ(g_system.phase, PHASE_RUNNING);
}

void InProcessRun::Restart() {
    AppStopSystem();
    StartSystem();
}

void InProcessRun::TearDown() {
    AppStopSystem();
    HostUseVirtualClock(false);
    if (!old_folder_.empty() && chdir(old_folder_.c_str()) != 0) std::abort();
    SystemTest::TearDown();
}

void InProcessRun::Script(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        size_t space = line.find(' ');
        text += std::to_string(HostTickCount() + std::stoul(line.substr(0, space))) +
                line.substr(space) + "\n";
    }
    text += std::to_string(HostTickCount() + 60000) + " close\n";
    Write("run.input", text);
    std::string error;
    ASSERT_TRUE(HostLoadScript("run.input", &error)) << error;
}

int InProcessRun::RunToStop(int limit) {
    int n = 0;
    while (!TestSystemFlag(FLAG_STOP) && n < limit) {
        RunCycles();
        ++n;
    }
    return n;
}

void InProcessRun::RunFor(uint32_t ms) {
    uint32_t start = HostTickCount();
    while (HostTickCount() - start < ms && !TestSystemFlag(FLAG_STOP))
        RunCycles();
}

void InProcessRun::OpenEditorFromTheSystemMenu() {
    Script({"0 move 600 300", "10 down 600 300 right"});
    RunFor(300);
    Handle popup = g_menu_task.popup_window;
    ASSERT_TRUE(test_window_mode(popup, WIN_OPEN)) << "the system menu opened";
    Handle menu = g_menu_task.system_menu;
    int y = client_top(popup) + MenuItemTop(menu, kEditorMenuEntry, popup) +
            MenuItemHeight(menu, kEditorMenuEntry, popup) / 2;
    std::string entry = std::to_string(client_left(popup) + 20) + " " + std::to_string(y);
    Script({"0 move " + entry, "100 move " + entry, "300 up"});
    RunFor(600);
    ASSERT_EQ(EditorSlotOf(g_editor.current), 0);
}
