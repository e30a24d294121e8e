// The start screen: buttons read up to the first missing key, a button click starting the
// program task with the button's number, a string event switching files, and files that name a
// missing picture, an unknown program or no buttons at all. (The logo in front of the title is
// shown by the whole-system start-screen run.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/system.h"
#include "host/bmp_write.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "present/start_screen.h"
#include "present_env.h"
#include "window/graphic.h"
#include "window/object.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window/window_mouse.h"

namespace {

constexpr uint32_t kLogoColour = 0x3080C0;

class StartScreenTest : public PresentTest {
protected:
    void SetUp() override {
        PresentTest::SetUp();
        SetSystemFlag(FLAG_LOOP_EXIT);  // RunCycles returns after each cycle
        game_ = RegisterTask("Game", 0, 0);
        OpenTaskEvents(game_);
        game_id_ = TaskId(game_);
        WriteFile("NOMA.ini", "StartScreenFile title.txt\n");
        std::vector<uint32_t> logo(size_t(kWidth) * kHeight, kLogoColour);
        ASSERT_TRUE(HostWriteBmp("logo.bmp", logo.data(), kWidth, kHeight));
        ASSERT_TRUE(HostWriteBmp("back.bmp", Backdrop().data(), kWidth, kHeight));
    }

    // A painted backdrop: a vertical ramp from deep blue to dusk orange with a pale band.
    static std::vector<uint32_t> Backdrop() {
        std::vector<uint32_t> pixels(size_t(kWidth) * kHeight);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                uint32_t r = uint32_t(30 + y * 180 / kHeight), g = uint32_t(20 + y * 70 / kHeight),
                         b = uint32_t(110 - y * 80 / kHeight);
                if (y > 60 && y < 64) r = g = b = 200;
                pixels[size_t(y) * kWidth + size_t(x)] = (b << 16) | (g << 8) | r;
            }
        return pixels;
    }

    void Start() {
        SendEvent(TASK_ID_MANAGER, TASK_ID_START_SCREEN, EVENT_START);
        Cycles();
    }
    void Cycles(int n = 40) {
        for (int i = 0; i < n; ++i)
            RunCycles();
    }
    void ClickAt(int x, int y) {
        route_click(x, y, 1);
        Cycles();
    }

    // Start events the program task has had, as their word A.
    std::vector<int> ProgramStarts() {
        std::vector<int> modes;
        for (EventRecord* r = event_record(g_event_head); r; r = event_record(r->next))
            if (r->destination == game_id_ && r->code == EVENT_START) {
                EXPECT_EQ(r->source, uint32_t(TASK_ID_START_SCREEN));
                modes.push_back(r->word_a);
                r->destination = 0;
            }
        return modes;
    }

    // Top-level windows of the start screen's task.
    int OwnWindows() {
        int n = 0;
        for (Handle h = window_record(g_window_manager.root)->first_child; h;
             h = window_record(h)->next)
            n += window_record(h)->owner == g_tasks.start_screen;
        return n;
    }

    Handle Title() { return g_start_screen.title_window; }

    Handle game_ = 0;
    uint32_t game_id_ = 0;
};

TEST_F(StartScreenTest, TitleScreenWithoutLogoAndAButtonThatStartsTheProgram) {
    WriteFile("title.txt",
              "BackGraphic back.bmp\n"
              "Button1 1002, 40, 170, Load\n"
              "Button3 1003, 200, 170, Never\n"
              "START_PROGRAM Game\n");
    Start();
    ASSERT_NE(Title(), 0u);
    EXPECT_EQ(g_start_screen.logo_window, 0u);
    EXPECT_NE(ReqObject(Title(), 1002), 0u) << "the background";
    EXPECT_EQ(ObjectCount(Title(), OBJ_MESSAGE_BUTTON), 1) << "Button3 without Button2";
    EXPECT_TRUE(Logged("Screen CrateButton() 1002,40,170,Load x40/y170  num 1002"));
    EXPECT_EQ(Pixel(5, 5), Backdrop()[5 * kWidth + 5]);
    CompareGolden("start_screen_title.png");

    EXPECT_TRUE(ProgramStarts().empty());
    ClickAt(50, 175);
    EXPECT_EQ(ProgramStarts(), std::vector<int>{1002});
    EXPECT_EQ(OwnWindows(), 0) << "destroyed";
    EXPECT_EQ(g_start_screen.background, 0u) << "its picture freed";
}

TEST_F(StartScreenTest, AStringEventSwitchesFilesAndStartsAgain) {
    WriteFile("title.txt", "Button1 1,10,10,One\nSTART_PROGRAM Game\n");
    WriteFile("other.txt", "Button1 1991,60,60,Other\nButton2 5,60,100,Five\nSTART_PROGRAM Game\n");
    Start();
    ClickAt(15, 15);
    EXPECT_EQ(ProgramStarts(), std::vector<int>{1});
    SendStringEvent(game_, TASK_ID_START_SCREEN, "other.txt");
    Cycles();
    ASSERT_NE(Title(), 0u);
    EXPECT_STREQ(g_start_screen.file, "other.txt");
    EXPECT_EQ(ObjectCount(Title(), OBJ_MESSAGE_BUTTON), 2);
    ClickAt(65, 105);
    EXPECT_EQ(ProgramStarts(), std::vector<int>{5});
    // A second string event while a title screen shows replaces it.
    SendStringEvent(game_, TASK_ID_START_SCREEN, "title.txt");
    Cycles();
    SendStringEvent(game_, TASK_ID_START_SCREEN, "other.txt");
    Cycles();
    EXPECT_NE(Title(), 0u);
    EXPECT_EQ(OwnWindows(), 1) << "the first title window is gone";
}

TEST_F(StartScreenTest, FilesThatGoWrong) {
    struct Case {
        const char* ini;
        const char* file;
        int windows;  // title windows expected after the start
    } cases[] = {
        {"", "Button1 1,10,10,One\nSTART_PROGRAM Game\n", 0},        // no StartScreenFile
        {"StartScreenFile title.txt\n", "START_PROGRAM Game\n", 1},  // no buttons
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        WriteFile("NOMA.ini", c.ini);
        WriteFile("title.txt", c.file);
        Start();
        EXPECT_EQ(Title() != 0, c.windows == 1);
        EXPECT_TRUE(ProgramStarts().empty());
    }
    EXPECT_EQ(ObjectCount(Title(), OBJ_MESSAGE_BUTTON), 0);
    ClickAt(100, 100);
    EXPECT_TRUE(ProgramStarts().empty());

    // A missing background picture: no background object; an unknown program: the dialog.
    WriteFile("title.txt", "BackGraphic gone.bmp\nButton1 2,10,10,Go\nSTART_PROGRAM Nobody\n");
    SendStringEvent(game_, TASK_ID_START_SCREEN, "title.txt");
    Cycles();
    ASSERT_NE(Title(), 0u);
    EXPECT_EQ(ReqObject(Title(), 1002), 0u);
    EXPECT_TRUE(Logged("BMP file gone.bmp open error"));
    ClickAt(15, 15);
    EXPECT_TRUE(ProgramStarts().empty());
    EXPECT_TRUE(Logged("DLG OPEN ERROR!")) << "the message dialog was asked for";
    EXPECT_EQ(Title(), 0u);
}

TEST(StartScreenFileTest, ButtonValues) {
    struct {
        const char* value;
        int number, x, y;
        const char* text;
    } cases[] = {
        {"3;-5;7;Go;extra", 3, -5, 7, "Go"},
        {"12", 12, 0, 0, ""},
        {"", 0, 0, 0, ""},
        {"70000,1,2,Wrap", 70000 - 65536, 1, 2, "Wrap"},
    };
    for (const auto& c : cases) {
        StartScreenButton b = ParseStartScreenButton(c.value);
        EXPECT_EQ(b.number, c.number) << c.value;
        EXPECT_EQ(b.x, c.x) << c.value;
        EXPECT_EQ(b.y, c.y) << c.value;
        EXPECT_STREQ(b.text, c.text) << c.value;
    }
}

}  // namespace
