// The system dialogs: their windows and buttons, answers by scripted mouse and keys, the error
// report's two buttons, the core dump, the manager's checks, a close while a dialog waits, and
// how each dialog looks.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/system.h"
#include "host/input.h"
#include "host/png.h"
#include "host/screen.h"
#include "host/script_input.h"
#include "host/sjis_literal.h"
#include "host/surface.h"
#include "kernel/dialog.h"
#include "kernel/dialog_hooks.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "window/object.h"
#include "window/system_dialog.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window/window_start.h"
#include "window_env.h"

namespace {

class DialogTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        std::string messages;  // line n is message n
        for (int i = 1; i <= 80; ++i)
            messages += (i == 72 ? std::string("タスクの指定が<font_color red>正しくありません"_sj)
                         : i == 71 ? std::string("システムダイアログがありません"_sj)
                                   : "message " + std::to_string(i)) +
                        "\n";
        WriteFile("SYSTEM.MSG", messages);
        UseScreen(640, 480, "BACKSCREEN_COLOR 25\n");
        manager_ = RegisterTask("NomaManager", TASK_ID_MANAGER, 0);
        OpenTaskEvents(manager_);
        CreateSystemDialogs(manager_);
        ForgetEvents();
    }
    void TearDown() override {
        HostClearScript();
        HostResetInput();
        HostSetCloseWaiting(false);
        HostOpenScreen();
        g_dialog_hooks = {};
        WindowTest::TearDown();
    }
    // Input lines whose times count from now. A close a minute later ends a dialog that the
    // lines failed to answer, so that a fault fails the test instead of holding it.
    void Script(std::initializer_list<std::pair<int, const char*>> events) {
        std::vector<std::pair<int, const char*>> lines(events);
        lines.push_back({60000, "close"});
        PlayFromNow(lines);
    }
    std::vector<uint16_t> ManagerCodes() { return CodesTo(TASK_ID_MANAGER); }

    Handle manager_ = 0;
};

// (A click during the guard second is no answer: the whole-system dialog runs check it.)
TEST_F(DialogTest, AnyKeyAnswersAMessageAndAClickOffTheButtonsDoesNot) {
    Script({{1200, "key 32"}});
    EXPECT_EQ(MessageDialog("key"), 0) << "any key dismisses it";
    Script({{1200, "move 5 5"}, {1250, "down 5 5 left"}, {1300, "up"}, {1400, "key 13"}});
    EXPECT_EQ(MessageDialog("off the buttons"), 0);
}

TEST_F(DialogTest, YesNoTakesReturnEscapeOrAButton) {
    Script({{50, "key 13"}});
    EXPECT_EQ(YesNoDialog("続けますか"_sj), 1);
    Script({{50, "key 15"}});
    EXPECT_EQ(YesNoDialog("続けますか"_sj), 2);
    std::string no = DialogButtonPoint(DIALOG_YES_NO, 2);
    std::string down = "down " + no + " left", move = "move " + no;
    Script({{0, "key 65"}, {20, move.c_str()}, {40, down.c_str()}, {90, "up"}});
    EXPECT_EQ(YesNoDialog("other keys do nothing"), 2);
    EXPECT_TRUE(ManagerCodes().empty());
}

// (The restart and the end in order run in the whole-system dialog runs.)
TEST_F(DialogTest, TheErrorReportNamesTheTaskAndItsSecondButtonDumpsTheSystemData) {
    Script({{1100, "key 32"}});
    SystemErrorReport(0, 72, nullptr);
    EXPECT_FALSE(TestSystemFlag(FLAG_ERROR_REPORT)) << "a key only closes it";
    EXPECT_TRUE(ManagerCodes().empty());
    EXPECT_TRUE(Logged("でエラーが発生！"_sj)) << "no task and no TASK trace: an empty name";

    std::memcpy(g_system.system_name, "NOMA", 5);
    g_system.cycle_counter = 0x12345678;
    std::string end = DialogButtonPoint(DIALOG_ERROR, 2);
    std::string down = "down " + end + " left", move = "move " + end;
    Script({{1100, move.c_str()}, {1120, down.c_str()}, {1200, "up"}});
    SystemErrorReport(manager_, 72, nullptr);
    EXPECT_TRUE(Logged("NomaManagerでエラーが発生！"_sj));
    std::string dump = ReadFile("core.dmp");
    ASSERT_EQ(dump.size(), kCoreDumpSize);
    // The system data block comes first (its flags gained the stop flag since).
    uint32_t counter;
    std::memcpy(&counter, dump.data() + offsetof(SystemData, cycle_counter), 4);
    EXPECT_EQ(counter, 0x12345678u);
    ClearSystemFlag(FLAG_STOP | FLAG_ERROR_REPORT);
}

TEST_F(DialogTest, AWaitingCloseEndsADialogUnanswered) {
    Script({{300, "close"}});
    EXPECT_EQ(MessageDialog("closing"), 0);
    EXPECT_TRUE(HostCloseWaiting());
    EXPECT_EQ(YesNoDialog("closing"), 2);
    EXPECT_EQ(SystemMessageDialog(1, nullptr), 0);
}

TEST_F(DialogTest, TextsGoWhereTheDialogsPutThem) {
    struct Drawn {
        int dialog, x, y;
        std::string text;
    };
    static std::vector<Drawn> drawn;
    drawn.clear();
    g_dialog_hooks.text = [](int d, int x, int y, const char* t) { drawn.push_back({d, x, y, t}); };
    HostSetCloseWaiting(true);  // every dialog ends at once

    // The detail is cut at its first line feed; a long one starts at x 1.
    SystemMessageDialog(3, "0123456789\nsecond line");
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[1].text, "0123456789");
    drawn.clear();
    SystemErrorReport(manager_, 999, std::string(80, 'x').c_str());  // no line 999
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[2].x, 1);

    // The manager's check: a missing message dialog shows system message 71.
    drawn.clear();
    g_dialog_hooks.create = [](Handle) -> unsigned { return 0x3; };
    CreateSystemDialogs(manager_);
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn[0].text, "システムダイアログがありません"_sj);
}

using DialogGoldenTest = DialogTest;

// Each dialog as it is shown, photographed by a "shot" line while it waits; the screen under
// it comes back when it closes.
TEST_F(DialogGoldenTest, EachDialogAsShown) {
    std::vector<uint32_t> before(HostSurfacePixels(), HostSurfacePixels() + 640 * 480);
    std::string folder = std::string(NOMA_SOURCE_DIR) + "/tests/golden/";
    bool update = std::getenv("NOMA_UPDATE_GOLDEN");
    auto shot = [&](const char* name) {
        return "shot " + (update ? folder + name : std::string("actual_") + name);
    };
    struct Case {
        const char* file;
        int dialog;
        void (*show)();
    };
    const Case cases[] = {
        {"dialog_error.png", DIALOG_ERROR,
         [] { SystemErrorReport(g_tasks.manager, 72, "詳細の行 detail"_sj); }},
        {"dialog_system.png", DIALOG_SYSTEM_MESSAGE,
         [] { SystemMessageDialog(71, "ファイル名.res"_sj); }},
        {"dialog_message.png", DIALOG_MESSAGE,
         [] { MessageDialog("メッセージです。\n二行目 second line"_sj); }},
        {"dialog_yesno.png", DIALOG_YES_NO, [] { YesNoDialog("セーブしますか？"_sj); }},
    };
    g_tasks.manager = manager_;
    for (const Case& c : cases) {
        EXPECT_EQ(window_record(SystemDialogWindow(c.dialog))->owner, manager_) << c.file;
        std::string line = shot(c.file);
        Script({{1050, line.c_str()}, {1100, "key 15"}});
        c.show();
        EXPECT_EQ(std::memcmp(before.data(), HostSurfacePixels(), before.size() * 4), 0)
            << c.file << ": the screen under the dialog comes back";
        if (update) continue;
        std::vector<uint32_t> expected, actual;
        int w = 0, h = 0, aw = 0, ah = 0;
        ASSERT_TRUE(HostReadPng((folder + c.file).c_str(), &expected, &w, &h)) << c.file;
        ASSERT_TRUE(HostReadPng((std::string("actual_") + c.file).c_str(), &actual, &aw, &ah));
        EXPECT_TRUE(expected == actual) << c.file << " differs; see " << folder_;
    }
}

}  // namespace
