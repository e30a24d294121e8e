// The game task in the running system: a small scenario of the test game played in this
// process on the virtual clock, one cycle at a time, with scripted clicks, keys and drags.
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/system.h"
#include "game/game_data.h"
#include "game/game_task.h"
#include "game/scenario_context.h"
#include "host/clock.h"
#include "host/input.h"
#include "host/surface.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "kit/game_folder.h"
#include "resource/resource.h"
#include "system/in_process.h"
#include "window/menu.h"
#include "window/object.h"
#include "window/window.h"

namespace {

// Three pages and a choice of two; each choice a scene of two pages; then a one-word choice
// and an end.
const char* const kScenario = R"(ResourceName PlayList.res
DataName PlayList
Item Compare ITEMstring 256
Item TEXT ITEMstring 2048
Item Compute ITEMstring 256
StartData
Compare luck==2
Compute luck=3
TEXT "<BackGraphic>一頁目です。町の広場に立っている。夕暮れの鐘が鳴り、石畳に長い影が伸びる。
露店の主人たちが店をたたみはじめ、どこかで犬が吠えた。<input>二頁目です。風が吹いて、広場の旗がはためいた。遠くの森の上に、一番星が光っている。
宿屋の窓に灯がともり、パンの焼ける匂いが通りまで流れてきた。<input>三頁目です。<Select 森へ,城へ>"
EndData
StartData
Compare luck==3&&mode==1
Compute luck=4;place=1
TEXT "<BackGraphic>森に入った。<input>森の奥。"
EndData
StartData
Compare luck==3&&mode==2
Compute luck=4;place=2
TEXT "<BackGraphic>城に着いた。<input>城の中。"
EndData
StartData
Compare luck==3
Compute luck=4
TEXT "道に迷った。"
EndData
StartData
Compare luck>=4
Compute luck=5
TEXT "旅の終わり。"
EndData
)";

class GameFlowRun : public InProcessRun {
protected:
    void Prepare() override {
        SetIni("SCREEN_SIZEX", "800");
        SetIni("SCREEN_SIZEY", "600");
        SetIni("START_PROGRAM", "Ilvane");
        InstallTestGame();
        WriteTestPictures(800, 600);
        WriteFileBytes("flow.res", Sj(kScenario));
        std::string settings;
        for (const std::string& line : ReadLines("system/ilvane.res"))
            settings +=
                (line.rfind("RES_FILE", 0) == 0 ? std::string("RES_FILE flow.res") : line) + "\n";
        // The first line with a key wins: the test's keys go in front.
        WriteFileBytes("system/ilvane.res", Extra() + settings);
        // The swipe button: a plain picture of the button's size.
        WriteFileBytes("system/button.bmp", ScenePicture(200, 100, 0, 0));
    }
    virtual std::string Extra() { return "INPUT_SWIPE on\nActiveSelect off\n"; }
    void TearDown() override {
        if (HasFailure())
            for (const std::string& line : ReadLines("TEST.LOG"))
                std::printf("  | %s\n", Utf8(line).c_str());
        InProcessRun::TearDown();
    }

    // Runs cycles until `done` holds, at most `ms` of the clock; true when it held.
    bool RunUntil(const std::function<bool()>& done, uint32_t ms = 10000) {
        uint32_t start = HostTickCount();
        while (!done()) {
            if (HostTickCount() - start > ms || TestSystemFlag(FLAG_STOP)) return false;
            RunCycles();
        }
        return true;
    }
    std::string Page() {
        const char* text = MessageObjectText(ReqObject(g_game.main_window, kMessageObject));
        return text ? Utf8(text) : "";
    }
    bool PageHas(const std::string& utf8) { return Page().find(utf8) != std::string::npos; }
    bool Drawing() { return g_scenario.drawing; }
    bool Choosing() { return g_scenario.select_pending; }
    // The first page is on the screen and done.
    void Begin() {
        ASSERT_TRUE(RunUntil([&] { return PageHas("一頁目"); }));
        ASSERT_TRUE(RunUntil([&] { return !Drawing(); }));
    }
    void Click(int x, int y) {
        Script({"0 move " + std::to_string(x) + " " + std::to_string(y),
                "10 down " + std::to_string(x) + " " + std::to_string(y) + " left", "60 up"});
        RunFor(120);
    }
    void Key(int code) {
        Script({"0 key " + std::to_string(code)});
        RunFor(50);
    }
    // Clicks on until the choice is offered and drawn.
    void ToTheChoice() {
        for (int i = 0; i < 10 && !Choosing(); ++i) {
            Click(400, 200);
            RunUntil([&] { return !Drawing(); });
        }
        ASSERT_TRUE(Choosing());
        ASSERT_TRUE(RunUntil([&] { return !Drawing(); }));
    }
    // Presses at (from, 200), moves to (to, 200), holds past a few ticks, releases.
    void Drag(int from, int to) {
        Script({"0 move " + std::to_string(from) + " 200",
                "10 down " + std::to_string(from) + " 200 left",
                "100 move " + std::to_string(to) + " 200", "900 up"});
        RunFor(1200);
    }
    bool LoadSelectable() {
        return !TestMenuItemFlags(g_game.screen.side_menu, 1, ITEM_DISABLED) &&
               !TestMenuItemFlags(g_game.screen.side_menu, 2, ITEM_DISABLED);
    }
    uint32_t Pixel(int x, int y) { return HostSurfacePixels()[y * 800 + x] & 0xFFFFFF; }
};

TEST_F(GameFlowRun, AClickWhileDrawingShowsThePageAndTheNextClickTurnsIt) {
    Begin();
    Script({"10 down 400 200 left", "60 up"});
    ASSERT_TRUE(RunUntil([&] { return PageHas("二頁目"); }));
    RunFor(80);  // the button comes up
    ASSERT_TRUE(Drawing());
    Click(400, 200);
    EXPECT_FALSE(Drawing());
    EXPECT_TRUE(PageHas("二頁目"));
    Click(400, 200);
    EXPECT_TRUE(PageHas("三頁目"));
}

TEST_F(GameFlowRun, LoadAndSaveAreSelectableOnlyWhileAChoiceWaits) {
    Begin();
    EXPECT_FALSE(LoadSelectable());
    ToTheChoice();
    EXPECT_TRUE(LoadSelectable());
    Click(400, 200);  // a click starts no swipe to either side: nothing is chosen
    EXPECT_TRUE(Choosing());
    // Return takes choice 0 after its pause, and reading begins again.
    Key(13);
    EXPECT_FALSE(Choosing());
    EXPECT_EQ(GetNum(g_game.player, "mode"), 0);
    EXPECT_EQ(LogCount("select no0  ret &d"), 1);
    EXPECT_TRUE(PageHas("道に迷った"));
    EXPECT_FALSE(LoadSelectable());
}

TEST_F(GameFlowRun, AutoPlayTurnsPagesOnTheSecondsAndStopsAtAChoice) {
    Begin();
    Key(65);
    EXPECT_TRUE(g_flow.auto_play);
    EXPECT_EQ(GetNum(g_game.player, "auto_play"), 1);
    // Nothing but the clock: pages follow one another up to the choice.
    ASSERT_TRUE(RunUntil([&] { return PageHas("二頁目"); }, 5000));
    ASSERT_TRUE(RunUntil([&] { return Choosing() && !Drawing(); }, 10000));
    std::string page = Page();
    RunFor(4000);
    EXPECT_EQ(Page(), page);
    EXPECT_TRUE(Choosing());
    Key(65);
    EXPECT_FALSE(g_flow.auto_play);
    EXPECT_EQ(GetNum(g_game.player, "auto_play"), 0);
}

TEST_F(GameFlowRun, HoldingCtrlRunsThroughPagesWithoutCuttingOne) {
    Begin();
    Script({"0 mod 2"});
    ASSERT_TRUE(RunUntil([&] { return Choosing(); }, 10000));
    Script({"0 mod 0"});
    // Each page was drawn: the pages asked for while one was drawing were refused.
    EXPECT_GT(LogCount(Sj("描画中によりキャンセル")), 0);
    EXPECT_GE(LogCount("action_ilvane() in"), 3);
}

TEST_F(GameFlowRun, TheStatusWindowCyclesItsSheetsOnClicks) {
    Begin();
    ASSERT_EQ(g_game.highest_sheet, 1);
    ASSERT_TRUE(test_window_mode(g_game.status_window, WIN_SHOW));
    std::vector<int> sheets;
    for (int i = 0; i < 3; ++i) {
        Click(60, 100);
        sheets.push_back(g_game.now_sheet);
    }
    EXPECT_EQ(sheets, (std::vector<int>{1, 0, 1}));
    EXPECT_TRUE(PageHas("一頁目")) << "a click on the status window turns no page";
}

TEST_F(GameFlowRun, ADragWithin50PixelsChoosesNothingAndALeftSwipeTakesChoiceOne) {
    Begin();
    ToTheChoice();
    Drag(400, 430);
    EXPECT_EQ(g_flow.swipe, SWIPE_NONE);
    EXPECT_TRUE(Choosing());
    Drag(400, 300);
    EXPECT_TRUE(RunUntil([&] { return PageHas("森に入った"); }, 3000)) << Page();
    EXPECT_EQ(GetNum(g_game.player, "mode"), 1);
    EXPECT_EQ(LogCount("swipe_ok()"), 2);
}

TEST_F(GameFlowRun, EscapeHidesAndShowsThePageAndTheArrowKeysOpenTheBacklog) {
    Begin();
    auto shown = [&](Handle window) { return test_window_mode(window, WIN_SHOW); };
    Handle message = object_record(ReqObject(g_game.main_window, kMessageObject))->window;
    Key(15);
    EXPECT_FALSE(shown(message));
    Key(15);
    EXPECT_TRUE(shown(message));
    // The first Up only opens the backlog; Escape closes it.
    Key(5);
    RunFor(200);
    EXPECT_TRUE(g_flow.backlog_open);
    EXPECT_TRUE(test_window_mode(g_game.backlog_window, WIN_OPEN));
    Key(15);
    RunFor(200);
    EXPECT_FALSE(g_flow.backlog_open);
    EXPECT_FALSE(test_window_mode(g_game.backlog_window, WIN_OPEN));
    EXPECT_TRUE(shown(message)) << "Escape with the backlog open leaves the page alone";
}

TEST_F(GameFlowRun, MenusRunTheirItemsAndAForeignMenuIsLogged) {
    Begin();
    auto select = [&](Handle menu, uint16_t value) {
        EventRecord* e =
            event_record(SendEvent(TASK_ID_MENU, TaskId(g_flow.task), EVENT_MENU_SELECT));
        ASSERT_NE(e, nullptr);
        std::memcpy(e->data, &value, sizeof value);
        std::memcpy(e->data + 4, &menu, sizeof menu);
        RunFor(100);
    };
    select(g_game.screen.debug_menu, 1007);
    EXPECT_TRUE(g_scenario.debug);
    EXPECT_EQ(LogCount("rev popupmenu return 1007"), 1);
    // In debug mode the light at (50, 550) changes every second.
    RunFor(1100);
    uint32_t first = Pixel(55, 555);
    RunFor(1000);
    EXPECT_NE(Pixel(55, 555), first);
    select(g_game.screen.side_menu, 1000);  // SAVE
    EXPECT_EQ(g_game.save_mode, SaveWindowMode::Save);
    Key(15);
    EXPECT_EQ(g_game.save_mode, SaveWindowMode::None);
    select(g_game.screen.debug_menu, 1003);  // the result screen
    EXPECT_EQ(g_game.save_mode, SaveWindowMode::Result);
    select(g_game.main_window, 1000);
    EXPECT_EQ(LogCount("ERROR DuskIlvane is unknown menu number."), 1);
    EXPECT_EQ(g_game.save_mode, SaveWindowMode::Result);
}

TEST_F(GameFlowRun, LaterStartsKeepTheFormAndTakeTheirModes) {
    Begin();
    const Handle main = g_game.main_window;
    auto start = [&](uint16_t mode) {
        EventRecord* e = event_record(SendEvent(TASK_ID_MANAGER, TaskId(g_flow.task), EVENT_START));
        ASSERT_NE(e, nullptr);
        e->word_a = mode;
        RunFor(200);
    };
    start(1991);  // mode 991, then a page
    EXPECT_EQ(g_game.main_window, main) << "the form is made once";
    EXPECT_EQ(LogCount("DuskIlvane 0.702  start!"), 2);
    EXPECT_EQ(LogCount(Sj("黄昏の試験  -DuskIlvane v0.702-")), 2);
    EXPECT_EQ(GetNum(g_game.player, "mode"), 991);
    // (Mode 1002, the load window at once, is the demo's Load button in the whole-system play.)
    start(1003);  // the end
    RunFor(5000);
    EXPECT_TRUE(TestSystemFlag(FLAG_STOP));
}

}  // namespace
