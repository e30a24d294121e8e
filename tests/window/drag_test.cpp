// Dragging windows by scripted input: WindowTask sees the press while polling and follows the
// mouse inside its call until the release, as the user's hand would move it.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>

#include "host/clock.h"
#include "host/raster.h"
#include "host/script_input.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "window/gc.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window_env.h"

namespace {

// A window with a control bar, close and resize boxes; its client area is 100 x 60 at
// (50, 40), so the bar spans y 22..39, the close box x 50..64 and the resize box x 136..150.
class DragTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        owner_ = NewTask("Dragger");
        window_task_ = RegisterTask("WindowTask", TASK_ID_WINDOW, 0);
        OpenTaskEvents(window_task_);
        w_ = OpenAt(owner_, 50, 40, 100, 60, WIN_CONTROLBAR | WIN_CLOSEBOX | WIN_RESIZEBOX);
        ForgetEvents();
    }
    void TearDown() override {
        HostClearScript();
        WindowTest::TearDown();
    }
    // Loads input lines whose times count from now and lets WindowTask run until it has
    // polled the buttons through them.
    void Play(std::initializer_list<std::pair<int, const char*>> events) {
        std::string lines;
        for (const auto& [at, what] : events)
            lines += std::to_string(HostTickCount() + at) + " " + what + "\n";
        WriteFile("drag.input", lines);
        std::string error;
        ASSERT_TRUE(HostLoadScript("drag.input", &error)) << error;
        for (int i = 0; i < 60; ++i)
            WindowTask(window_task_);
    }
    std::vector<uint16_t> Notices() { return CodesTo(TaskId(owner_)); }
    Handle owner_ = 0, window_task_ = 0, w_ = 0;
};

bool Has(const std::vector<uint16_t>& codes, uint16_t code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

TEST_F(DragTest, DraggingTheBarMovesTheWindowByThePointersTravel) {
    Play({{0, "move 80 30"},
          {0, "down 80 30 left"},
          {40, "move 100 50"},
          {80, "move 120 70"},
          {120, "up"}});
    WindowRecord* w = window_record(w_);
    EXPECT_EQ(w->x, 90);
    EXPECT_EQ(w->y, 80);
    EXPECT_TRUE(Has(Notices(), EVENT_WINDOW_MOVE));
    EXPECT_FALSE(Has(Notices(), EVENT_MOUSE_DOWN)) << "a press on the bar is no click";
    // The old place shows the root's background again, with no trace of the focus rectangle.
    uint32_t back = gc_record(window_record(g_window_manager.root)->gc)->fill;
    int stray = 0;
    for (int y = 22; y < 62; ++y)
        for (int x = 50; x < 90; ++x)
            stray += Pixel(x, y) != back;
    EXPECT_EQ(stray, 0);
}

TEST_F(DragTest, AReleaseWhereThePressWasLeavesTheWindowInPlace) {
    Play({{0, "move 80 30"},
          {0, "down 80 30 left"},
          {40, "move 140 90"},
          {80, "move 80 30"},
          {120, "up"}});
    EXPECT_EQ(window_record(w_)->x, 50);
    EXPECT_FALSE(Has(Notices(), EVENT_WINDOW_MOVE));
}

TEST_F(DragTest, TheResizeBoxChangesTheSizeByThePointersTravel) {
    Play({{0, "move 143 33"}, {0, "down 143 33 left"}, {40, "move 163 48"}, {80, "up"}});
    WindowRecord* w = window_record(w_);
    EXPECT_EQ(w->width, 120);
    EXPECT_EQ(w->height, 75);
    EXPECT_EQ(w->x, 50);
    EXPECT_TRUE(Has(Notices(), EVENT_WINDOW_RESIZED));

    ForgetEvents();
    Play({{0, "move 163 33"}, {0, "down 163 33 left"}, {40, "up"}});
    EXPECT_EQ(window_record(w_)->width, 120);
    EXPECT_FALSE(Has(Notices(), EVENT_WINDOW_RESIZED));
}

TEST_F(DragTest, TheCloseBoxClosesOnlyWhenReleasedOnIt) {
    Play({{0, "move 57 33"}, {0, "down 57 33 left"}, {30, "move 90 33"}, {60, "up"}});
    EXPECT_TRUE(test_window_mode(w_, WIN_OPEN));

    Play({{0, "move 57 33"}, {0, "down 57 33 left"}, {60, "up"}});
    EXPECT_FALSE(test_window_mode(w_, WIN_OPEN));
    EXPECT_TRUE(Has(Notices(), EVENT_WINDOW_CLOSED));
}

}  // namespace
