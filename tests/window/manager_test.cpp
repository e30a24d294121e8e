// The window manager: depth and redraw marking, opening, activation, closing, clicks, drags
// by scripted input and the redraw motion, through the calls and through WindowTask.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "host/input.h"
#include "host/script_input.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "window/gc.h"
#include "window/redraw.h"
#include "window/window.h"
#include "window/window_events.h"
#include "window/window_manager.h"
#include "window/window_mouse.h"
#include "window/window_objects.h"
#include "window/window_status.h"
#include "window/window_task.h"
#include "window_env.h"

namespace {

using Codes = std::vector<uint16_t>;

class ManagerTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        a_task_ = NewTask("TaskA");
        b_task_ = NewTask("TaskB");
        a_ = TaskId(a_task_);
        b_ = TaskId(b_task_);
    }
    Handle FrontMost() { return window_record(g_window_manager.root)->last_child; }
    int Depth(Handle w) { return window_record(w)->depth; }
    bool Drawable(Handle w) { return test_window_mode(w, WIN_DRAWABLE); }
    bool Marked(Handle w) { return test_window_mode(w, WIN_REDRAW); }
    // A window of task A open in the tree without activation (no drawing, no events).
    Handle Placed(int x, int y, int width, int height, uint32_t mode = 0, Handle parent = 0) {
        Handle w = create_window(a_task_, parent, uint16_t(width), uint16_t(height), mode);
        set_position(w, x, y);
        if (!(mode & WIN_SUBWINDOW)) set_window_mode(w, WIN_OPEN);
        return w;
    }
    Handle a_task_ = 0, b_task_ = 0;
    uint32_t a_ = 0, b_ = 0;
};

TEST_F(ManagerTest, CoveredWindowsTakeTheirDepthFromTheNearestOverlappingSiblingInFront) {
    Handle a = Placed(10, 10, 100, 50);
    Handle b = Placed(110, 10, 50, 50);  // a's right edge is b's left edge: they overlap
    window_depth();
    EXPECT_EQ(Depth(a), 2);
    EXPECT_FALSE(Drawable(a));
    EXPECT_TRUE(Drawable(b));
    set_position(b, 111, 10);  // a gap: no overlap
    window_depth();
    EXPECT_EQ(Depth(a), 1);
    EXPECT_TRUE(Drawable(a));
    replace_window_mode(b, WIN_OPEN | WIN_FRAME);  // b's frame reaches back to a's edge
    window_depth();
    EXPECT_EQ(Depth(a), 2);

    Handle far = Placed(250, 150, 30, 30);                   // overlaps nothing
    Handle c = Placed(150, 40, 100, 100);                    // covers b only
    Handle closed = create_window(a_task_, 0, 300, 300, 0);  // front-most but not open
    window_depth();
    EXPECT_EQ(Depth(c), 1);
    EXPECT_EQ(Depth(far), 1);
    EXPECT_EQ(Depth(b), 2);
    EXPECT_EQ(Depth(a), 3);
    EXPECT_EQ(Depth(closed), 0);
    EXPECT_FALSE(Drawable(closed));
}

TEST_F(ManagerTest, SubWindowsFollowTheirParentAndShownObjectWindowsDoNotCoverEachOther) {
    Handle parent = Placed(20, 20, 200, 150);
    Handle shown = Placed(10, 10, 50, 20, WIN_SUBWINDOW | WIN_SHOW, parent);
    Handle next_to = Placed(40, 15, 50, 20, WIN_SUBWINDOW | WIN_SHOW, parent);
    Handle hidden = Placed(100, 10, 50, 20, WIN_SUBWINDOW, parent);
    window_depth();
    EXPECT_EQ(Depth(shown), 1) << "a shown sub-window that is not open covers nothing";
    EXPECT_TRUE(Drawable(shown));
    EXPECT_TRUE(Drawable(next_to));
    EXPECT_EQ(Depth(hidden), 0);
    EXPECT_FALSE(Drawable(hidden));
    set_window_mode(next_to, WIN_OPEN);  // a popup sub-window covers its siblings
    window_depth();
    EXPECT_EQ(Depth(shown), 2);

    Handle cover = Placed(0, 0, 50, 50);  // covering the parent covers everything inside it
    window_depth();
    for (Handle w : {parent, shown, next_to})
        EXPECT_FALSE(Drawable(w));
    EXPECT_TRUE(Drawable(cover));
}

TEST_F(ManagerTest, ClosingMarksWhatItUncoveredAndTheWindowsInFrontOfThose) {
    Handle rear = Placed(0, 0, 100, 100);
    Handle beside = Placed(200, 0, 100, 100);   // away from everything
    Handle over_rear = Placed(80, 80, 60, 60);  // covers rear, not the closing window
    Handle child = Placed(5, 5, 10, 10, WIN_OPEN, over_rear);
    Handle closing = Placed(0, 0, 40, 40);  // covers rear
    window_depth();
    ASSERT_EQ(Depth(rear), 2);
    clear_window_mode(closing, WIN_OPEN);
    EXPECT_EQ(mark_uncovered(closing), 3);
    EXPECT_TRUE(Marked(rear));
    EXPECT_TRUE(Marked(over_rear)) << "rear is not at depth 1, so what lies on it is redrawn";
    EXPECT_TRUE(Marked(child));
    EXPECT_FALSE(Marked(beside));
    EXPECT_FALSE(Marked(closing));

    // The redraw walk visits siblings, then the last one's children.
    Handle a1 = Placed(1, 1, 2, 2, WIN_OPEN, rear);
    Handle c1 = Placed(1, 1, 2, 2, WIN_OPEN, closing);
    std::vector<Handle> order;
    for (Handle w = window_record(g_window_manager.root)->first_child; w; w = redraw_walk_next(w))
        order.push_back(w);
    EXPECT_EQ(order, (std::vector<Handle>{rear, beside, over_rear, closing, c1}));
    EXPECT_EQ(redraw_walk_next(a1), beside);
}

TEST_F(ManagerTest, OpeningActivatesTheWindowAndTellsBothOwners) {
    Handle first = OpenAt(a_task_, 10, 10, 100, 80);
    EXPECT_EQ(CodesTo(a_), (Codes{EVENT_WINDOW_OPENED, EVENT_REQ_DRAW, EVENT_WINDOW_ACTIVE}));
    EXPECT_EQ(g_window_manager.open_count, 1);
    ForgetEvents();
    Handle second = OpenAt(b_task_, 200, 10, 100, 80);
    EXPECT_EQ(CodesTo(a_), (Codes{EVENT_WINDOW_INACTIVE}));
    EXPECT_EQ(CodesTo(b_), (Codes{EVENT_WINDOW_OPENED, EVENT_REQ_DRAW, EVENT_WINDOW_ACTIVE}));
    EXPECT_EQ(g_window_manager.active, second);
    EXPECT_EQ(FrontMost(), second);
    EXPECT_TRUE(test_window_mode(first, WIN_DRAWABLE));
    EXPECT_TRUE(TestSystemFlag(FLAG_REDRAW_MOTION)) << "the motion runs until the RetDrawEvent";
    continue_redraw_motion(second);
    EXPECT_FALSE(TestSystemFlag(FLAG_REDRAW_MOTION));
    EXPECT_TRUE(Logged("redraw motion end"));

    // Closing a window that uncovers nothing reports it in the log; closed windows open again.
    close_window(second);
    char report[128];
    std::snprintf(report, sizeof report, "CLOSEによる再描画枚数が0枚なんて... win %lx work %lx"_sj,
                  (unsigned long)second, (unsigned long)first);
    EXPECT_TRUE(Logged(report));
    ForgetEvents();
    close_window(first);
    EXPECT_EQ(CodesTo(a_), (Codes{EVENT_WINDOW_CLOSED}));
    EXPECT_EQ(g_window_manager.open_count, 0);
    EXPECT_EQ(window_record(first)->depth, 0);
    EXPECT_FALSE(test_window_mode(first, WIN_OPEN | WIN_DRAWABLE));
    open_window(first, 20, 20);
    EXPECT_TRUE(test_window_mode(first, WIN_OPEN));
}

TEST_F(ManagerTest, AnOpenModalWindowRefusesASecondOneAndClicksOutsideIt) {
    Handle plain = OpenAt(a_task_, 10, 10, 60, 60);
    Handle m1 = OpenAt(b_task_, 200, 10, 60, 60, WIN_MODAL);
    EXPECT_TRUE(TestSystemFlag(FLAG_MODAL_OPEN));
    Handle m2 = OpenAt(b_task_, 100, 100, 50, 50, WIN_MODAL);
    EXPECT_FALSE(test_window_mode(m2, WIN_OPEN));
    EXPECT_EQ(g_window_manager.open_count, 2);
    EXPECT_EQ(g_window_manager.active, m1);
    ForgetEvents();
    route_click(30, 30, MOUSE_LEFT);
    EXPECT_TRUE(CodesTo(a_).empty());
    EXPECT_EQ(g_window_manager.active, m1);
    route_click(220, 30, MOUSE_LEFT);
    EXPECT_EQ(CodesTo(b_), (Codes{EVENT_MOUSE_DOWN}));

    close_window(m1);
    EXPECT_FALSE(TestSystemFlag(FLAG_MODAL_OPEN));
    open_window(m2, 100, 100);
    EXPECT_TRUE(test_window_mode(m2, WIN_OPEN));
    (void)plain;
}

TEST_F(ManagerTest, AClickOnACoveredWindowOnlyActivatesIt) {
    static int offered;
    offered = 0;
    g_window_object_hooks.click = [](Handle, int, int, uint16_t) { return ++offered, 0; };
    Handle under = OpenAt(a_task_, 10, 10, 100, 80);
    OpenAt(b_task_, 50, 50, 100, 80);
    ForgetEvents();
    route_click(20, 20, MOUSE_LEFT);  // on the visible part of the covered window
    EXPECT_EQ(g_window_manager.active, under);
    EXPECT_EQ(FrontMost(), under);
    EXPECT_EQ(offered, 0);
    Codes codes = CodesTo(a_);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), EVENT_MOUSE_DOWN), 0);
    EXPECT_EQ(CodesTo(b_), (Codes{EVENT_WINDOW_INACTIVE}));

    // Now at depth 1: the click reaches the objects, then the owner.
    ForgetEvents();
    route_click(30, 25, MOUSE_RIGHT);
    EXPECT_EQ(offered, 1);
    std::vector<EventRecord> events = EventsTo(a_);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, EVENT_MOUSE_DOWN);
    EXPECT_EQ(events[0].value, under);
    EXPECT_EQ(events[0].long_a >> 16, MOUSE_RIGHT);
    EXPECT_EQ(events[0].word_a, 20);
    EXPECT_EQ(events[0].word_b, 15);
}

TEST_F(ManagerTest, ButtonChangesGoToTheCaptureOrToTheActiveOwner) {
    Handle w = OpenAt(a_task_, 10, 10, 60, 60);
    Handle menu = NewTask("Capturer");
    ForgetEvents();
    SetMouseCapture(menu);
    HostSetCursor(300, 200);
    HostSetMouseButtons(MOUSE_RIGHT);
    poll_mouse_buttons();
    poll_mouse_buttons();  // no change, nothing sent
    std::vector<EventRecord> captured = EventsTo(TaskId(menu));
    ASSERT_EQ(captured.size(), 1u);
    EXPECT_EQ(captured[0].code, EVENT_MOUSE_DOWN);
    EXPECT_EQ(captured[0].value, 0u);
    EXPECT_EQ(captured[0].word_a, 300);
    // While the capture is held, only the capturing task sees the mouse in a window.
    HostSetCursor(15, 20);
    EXPECT_EQ(mouse_x_in(w, menu), 5);
    EXPECT_EQ(mouse_x_in(w, a_task_), -1) << "the owner does not hold the capture";

    ReleaseMouseCapture();
    HostSetCursor(15, 20);
    HostSetMouseButtons(MOUSE_NONE);
    poll_mouse_buttons();
    std::vector<EventRecord> released = EventsTo(a_);
    ASSERT_EQ(released.size(), 1u);
    EXPECT_EQ(released[0].code, EVENT_MOUSE_UP);
    EXPECT_EQ(released[0].word_a, 5);
    EXPECT_EQ(released[0].word_b, 10);
}

// The whole exchange over cycles: WindowTask asks, the owners draw and answer.
class MotionTest : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        g_system.phase = PHASE_INIT;  // no mouse polling in these cycles
        window_task_ = RegisterTask("WindowTask", TASK_ID_WINDOW, 0);
        OpenTaskEvents(window_task_);
    }
    // Cycles: WindowTask, then each owner takes one event and answers draw requests.
    void Cycles(int count) {
        for (int i = 0; i < count; ++i) {
            WindowTask(window_task_);
            for (Handle owner : {a_task_, b_task_}) {
                if (ReciveEvent(owner) != RECEIVE_EVENT) continue;
                const EventRecord* e = event_record(CurrentEvent(owner));
                if (e->code != EVENT_REQ_DRAW) continue;
                Handle window = e->value;
                draws_.push_back(window);
                RetDrawEvent(owner, window);
            }
        }
    }
    Handle window_task_ = 0;
    std::vector<Handle> draws_;
};

TEST_F(MotionTest, OwnersAnsweringRetDrawEventCarryTheMotionToItsEnd) {
    Handle rear = create_window(a_task_, 0, 120, 100, WIN_FRAME);
    Handle middle = create_window(b_task_, 0, 120, 100, 0);
    Handle front = create_window(a_task_, 0, 120, 100, 0);
    SendWindowPointEvent(a_task_, rear, 10, 10);
    SendWindowPointEvent(b_task_, middle, 60, 40);
    SendWindowPointEvent(a_task_, front, 100, 70);
    Cycles(100);
    ASSERT_FALSE(TestSystemFlag(FLAG_REDRAW_MOTION));
    EXPECT_EQ(window_record(rear)->depth, 3);
    draws_.clear();

    SendWindowEvent(a_task_, front);
    Cycles(100);
    EXPECT_EQ(draws_, (std::vector<Handle>{rear, middle}))
        << "uncovered windows are drawn rear to front, one per answer";
    EXPECT_FALSE(TestSystemFlag(FLAG_REDRAW_MOTION));
    EXPECT_EQ(g_window_manager.active, middle);
    EXPECT_EQ(window_record(middle)->depth, 1);
    EXPECT_EQ(window_record(rear)->depth, 2);
    EXPECT_TRUE(test_window_mode(middle, WIN_DRAWABLE));
    EXPECT_FALSE(test_window_mode(rear, WIN_REDRAW | WIN_DRAWABLE));
    EXPECT_EQ(LogCount("\t redraw request NON TaskA"), 1);
    EXPECT_EQ(LogCount("\t redraw request NON TaskB"), 1);

    draws_.clear();  // down to one open window: what it uncovers is still redrawn
    SendWindowEvent(b_task_, middle);
    Cycles(100);
    EXPECT_EQ(draws_, (std::vector<Handle>{rear}));
    EXPECT_EQ(g_window_manager.active, rear);
}

TEST_F(MotionTest, ObjectDrawingStopsAtEachSubWindowObjectUntilItsAnswer) {
    // Two sub-window objects: the drawer stops after each, asking the owner to draw it.
    static int stops;
    static Handle parent_window, sub_window;
    static uint32_t owner_id;
    stops = 0;
    g_window_object_hooks.draw = [](Handle, Handle after) -> Handle {
        if (after == 2002) return 0;
        ++stops;
        ReqDrawEvent(owner_id, sub_window);
        return after == 0 ? 2001 : 2002;
    };
    g_window_object_hooks.parent = [](Handle) { return parent_window; };
    Handle w = parent_window = create_window(a_task_, 0, 100, 100, WIN_OBJECTS);
    sub_window = create_window(a_task_, w, 20, 20, WIN_SUBWINDOW | WIN_SHOW);
    owner_id = a_;
    SendWindowPointEvent(a_task_, w, 10, 10);
    Cycles(3);
    EXPECT_EQ(g_window_manager.object_cursor, 2001u) << "draw_window stopped at the first";
    Cycles(40);
    EXPECT_EQ(stops, 2);
    EXPECT_EQ(g_window_manager.object_cursor, 0u);
    EXPECT_FALSE(TestSystemFlag(FLAG_REDRAW_MOTION));
    EXPECT_FALSE(test_window_mode(w, WIN_OBJDRAWING));

    // The owner's answer for a window with WIN_OBJECTS draws its objects again.
    RetDrawEvent(a_task_, w);
    Cycles(40);
    EXPECT_TRUE(test_window_mode(w, WIN_OBJDRAWING));
    EXPECT_EQ(stops, 4);
    EXPECT_EQ(g_window_manager.object_cursor, 0u);
}

TEST_F(ManagerTest, HoveringSendsEnterAndLeaveToTheRightTask) {
    static Handle under_mouse, parent_window;
    g_window_object_hooks.under_mouse = [](Handle, int, int) { return under_mouse; };
    g_window_object_hooks.is_selecter = [](Handle o) { return o == 501; };
    g_window_object_hooks.parent = [](Handle) { return parent_window; };
    Handle w = parent_window = OpenAt(a_task_, 10, 10, 100, 100);
    window_record(w)->first_object = 500;  // the window has objects
    ForgetEvents();
    // The same plain object twice, a selecter twice (entered again on every tick), nothing.
    for (Handle object : {500u, 500u, 501u, 501u, 0u}) {
        under_mouse = object;
        hover_objects();
    }
    EXPECT_EQ(CodesTo(a_), (Codes{EVENT_MOUSE_ENTER, EVENT_MOUSE_LEAVE}));
    EXPECT_EQ(CodesTo(TASK_ID_MENU),
              (Codes{EVENT_MOUSE_ENTER, EVENT_MOUSE_ENTER, EVENT_MOUSE_LEAVE}));
    std::vector<EventRecord> a = EventsTo(a_);
    Handle object;
    std::memcpy(&object, a[1].data, 4);
    EXPECT_EQ(object, 500u);
    EXPECT_EQ(a[1].value, w);
}

TEST_F(ManagerTest, TheStatusDumpListsChildrenFirstAndDestroyingWarns) {
    Handle w = OpenAt(a_task_, 10, 10, 100, 100);
    set_window_name(w, "Main");
    set_window_name(create_window(a_task_, w, 10, 10, WIN_SUBWINDOW | WIN_SHOW), "Sub");
    window_depth();
    LogWindowStatus();
    std::vector<std::string> lines = LogLines();
    auto at = [&](const std::string& prefix) {
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].rfind(prefix, 0) == 0) return int(i);
        return -1;
    };
    int root = at("SYSTEM ROOT\t\t Depth 1:"), sub = at("\tSub(TaskA)\t\t\t Depth 1:");
    int main_line = at("Main(TaskA)\t\t\t Depth 1:");
    ASSERT_GE(root, 0);
    EXPECT_GT(sub, root);
    ASSERT_GT(main_line, sub);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + main_line + 1, lines.end()),
              (std::vector<std::string>{"     ｳｲﾝﾄﾞｳ OPEN．"_sj, "     ｳｲﾝﾄﾞｳは描画可能です．"_sj,
                                        "     アクティブ状態．"_sj}));

    Handle middle = OpenAt(a_task_, 40, 10, 20, 20);
    Handle right = OpenAt(a_task_, 70, 10, 20, 20);
    DestroyWindow(middle);
    EXPECT_EQ(window_record(w)->next, right);
    EXPECT_EQ(window_record(right)->back, w);
    EXPECT_EQ(window_record(middle), nullptr);
    DestroyWindow(right);
    EXPECT_TRUE(Logged("!!! DestroyWindow Warning !!!"));
    EXPECT_EQ(FrontMost(), w);
    Handle root_window = g_window_manager.root;
    DestroyWindow(root_window);
    EXPECT_TRUE(Logged("root window を削除しようとしています"_sj));
    EXPECT_EQ(window_record(root_window), nullptr);
}

// A window with a control bar, close and resize boxes; its client area is 100 x 60 at
// (50, 40), so the bar spans y 22..39, the close box x 50..64 and the resize box x 136..150.
class DragTest : public ManagerTest {
protected:
    void SetUp() override {
        ManagerTest::SetUp();
        window_task_ = RegisterTask("WindowTask", TASK_ID_WINDOW, 0);
        OpenTaskEvents(window_task_);
        w_ = OpenAt(a_task_, 50, 40, 100, 60, WIN_CONTROLBAR | WIN_CLOSEBOX | WIN_RESIZEBOX);
    }
    void TearDown() override {
        HostClearScript();
        ManagerTest::TearDown();
    }
    // Plays input lines whose times count from now while WindowTask polls the buttons; returns
    // whether the owner was sent `notice`.
    bool Play(const std::vector<std::pair<int, const char*>>& events, uint16_t notice) {
        ForgetEvents();
        PlayFromNow(events);
        for (int i = 0; i < 60; ++i)
            WindowTask(window_task_);
        std::vector<uint16_t> codes = CodesTo(a_);
        EXPECT_EQ(std::count(codes.begin(), codes.end(), EVENT_MOUSE_DOWN), 0)
            << "a press on the bar is no click";
        return std::count(codes.begin(), codes.end(), notice) > 0;
    }
    Handle window_task_ = 0, w_ = 0;
};

TEST_F(DragTest, DraggingTheBarMovesTheWindowByThePointersTravel) {
    EXPECT_FALSE(Play({{0, "move 80 30"},
                       {0, "down 80 30 left"},
                       {40, "move 140 90"},
                       {80, "move 80 30"},
                       {120, "up"}},
                      EVENT_WINDOW_MOVE))
        << "released where it was pressed";
    EXPECT_EQ(window_record(w_)->x, 50);

    EXPECT_TRUE(Play({{0, "move 80 30"},
                      {0, "down 80 30 left"},
                      {40, "move 100 50"},
                      {80, "move 120 70"},
                      {120, "up"}},
                     EVENT_WINDOW_MOVE));
    EXPECT_EQ(window_record(w_)->x, 90);
    EXPECT_EQ(window_record(w_)->y, 80);
    // The old place shows the root's background again, with no trace of the focus rectangle.
    uint32_t back = gc_record(window_record(g_window_manager.root)->gc)->fill;
    int stray = 0;
    for (int y = 22; y < 62; ++y)
        for (int x = 50; x < 90; ++x)
            stray += Pixel(x, y) != back;
    EXPECT_EQ(stray, 0);
}

TEST_F(DragTest, TheResizeBoxChangesTheSizeByThePointersTravel) {
    EXPECT_TRUE(Play({{0, "move 143 33"}, {0, "down 143 33 left"}, {40, "move 163 48"}, {80, "up"}},
                     EVENT_WINDOW_RESIZED));
    EXPECT_EQ(window_record(w_)->width, 120);
    EXPECT_EQ(window_record(w_)->height, 75);
    EXPECT_EQ(window_record(w_)->x, 50);
    EXPECT_FALSE(
        Play({{0, "move 163 33"}, {0, "down 163 33 left"}, {40, "up"}}, EVENT_WINDOW_RESIZED));
    EXPECT_EQ(window_record(w_)->width, 120);
}

TEST_F(DragTest, TheCloseBoxClosesOnlyWhenReleasedOnIt) {
    EXPECT_FALSE(Play({{0, "move 57 33"}, {0, "down 57 33 left"}, {30, "move 90 33"}, {60, "up"}},
                      EVENT_WINDOW_CLOSED));
    EXPECT_TRUE(test_window_mode(w_, WIN_OPEN));
    EXPECT_TRUE(Play({{0, "move 57 33"}, {0, "down 57 33 left"}, {60, "up"}}, EVENT_WINDOW_CLOSED));
    EXPECT_FALSE(test_window_mode(w_, WIN_OPEN));
}

}  // namespace
