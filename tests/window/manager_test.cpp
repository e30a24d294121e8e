// Opening, activation, closing, clicks and the redraw motion, through the calls and through
// WindowTask cycle by cycle.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "host/input.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "window/redraw.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window/window_mouse.h"
#include "window/window_objects.h"
#include "window/window_status.h"
#include "window_env.h"

namespace {

class ManagerTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        a_task_ = NewTask("TaskA");
        b_task_ = NewTask("TaskB");
        a_ = TaskId(a_task_);
        b_ = TaskId(b_task_);
    }
    Handle a_task_ = 0, b_task_ = 0;
    uint32_t a_ = 0, b_ = 0;
};

using Codes = std::vector<uint16_t>;

TEST_F(ManagerTest, OpeningActivatesTheWindowAndTellsBothOwners) {
    Handle first = OpenAt(a_task_, 10, 10, 100, 80);
    EXPECT_EQ(CodesTo(a_), (Codes{EVENT_WINDOW_OPENED, EVENT_REQ_DRAW, EVENT_WINDOW_ACTIVE}));
    EXPECT_EQ(g_window_manager.active, first);
    EXPECT_EQ(g_window_manager.open_count, 1);

    ForgetEvents();
    Handle second = OpenAt(b_task_, 200, 10, 100, 80);
    EXPECT_EQ(CodesTo(a_), (Codes{EVENT_WINDOW_INACTIVE}));
    EXPECT_EQ(CodesTo(b_), (Codes{EVENT_WINDOW_OPENED, EVENT_REQ_DRAW, EVENT_WINDOW_ACTIVE}));
    EXPECT_EQ(g_window_manager.active, second);
    EXPECT_EQ(window_record(g_window_manager.root)->last_child, second);
    EXPECT_TRUE(test_window_mode(first, WIN_DRAWABLE));
    EXPECT_TRUE(TestSystemFlag(FLAG_REDRAW_MOTION)) << "the motion runs until the RetDrawEvent";

    continue_redraw_motion(second);
    EXPECT_FALSE(TestSystemFlag(FLAG_REDRAW_MOTION));
    EXPECT_TRUE(Logged("redraw motion end"));
}

TEST_F(ManagerTest, ASecondModalWindowIsRefusedUntilTheFirstCloses) {
    Handle m1 = OpenAt(a_task_, 10, 10, 50, 50, WIN_MODAL);
    EXPECT_TRUE(TestSystemFlag(FLAG_MODAL_OPEN));
    Handle m2 = OpenAt(b_task_, 100, 10, 50, 50, WIN_MODAL);
    EXPECT_FALSE(test_window_mode(m2, WIN_OPEN));
    EXPECT_EQ(g_window_manager.open_count, 1);
    EXPECT_EQ(g_window_manager.active, m1);
    EXPECT_TRUE(CodesTo(b_).empty());

    close_window(m1);
    EXPECT_FALSE(TestSystemFlag(FLAG_MODAL_OPEN));
    open_window(m2, 100, 10);
    EXPECT_TRUE(test_window_mode(m2, WIN_OPEN));
}

TEST_F(ManagerTest, ClosingTheOnlyWindowRepaintsNothing) {
    Handle w = OpenAt(a_task_, 10, 10, 50, 50);
    continue_redraw_motion(w);
    ForgetEvents();
    testing::internal::CaptureStdout();
    close_window(w);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(CodesTo(a_), (Codes{EVENT_WINDOW_CLOSED}));
    EXPECT_EQ(g_window_manager.open_count, 0);
    EXPECT_EQ(window_record(w)->depth, 0);
    EXPECT_FALSE(test_window_mode(w, WIN_OPEN | WIN_DRAWABLE));
    // Closed windows keep their record and open again.
    open_window(w, 20, 20);
    EXPECT_TRUE(test_window_mode(w, WIN_OPEN));
}

TEST_F(ManagerTest, ClosingACoveringWindowRedrawsTheWindowUnderIt) {
    Handle under = OpenAt(a_task_, 10, 10, 100, 80);
    continue_redraw_motion(under);
    Handle over = OpenAt(b_task_, 50, 50, 100, 80);
    continue_redraw_motion(over);
    ASSERT_EQ(window_record(under)->depth, 2);
    ForgetEvents();

    close_window(over);
    EXPECT_EQ(CodesTo(a_), (Codes{EVENT_REQ_DRAW}));
    EXPECT_EQ(g_window_manager.active, under);
    EXPECT_TRUE(TestSystemFlag(FLAG_REDRAW_MOTION));
    EXPECT_TRUE(Logged("\t redraw request NON TaskA"));
    continue_redraw_motion(under);
    EXPECT_FALSE(TestSystemFlag(FLAG_REDRAW_MOTION));
    EXPECT_EQ(window_record(under)->depth, 1);
    EXPECT_TRUE(test_window_mode(under, WIN_DRAWABLE));
}

TEST_F(ManagerTest, AClickOnACoveredWindowOnlyActivatesIt) {
    int offered = 0;
    static int* offered_count;
    offered_count = &offered;
    g_window_object_hooks.click = [](Handle, int, int, uint16_t) {
        ++*offered_count;
        return 0;
    };
    Handle under = OpenAt(a_task_, 10, 10, 100, 80);
    Handle over = OpenAt(b_task_, 50, 50, 100, 80);
    ForgetEvents();

    route_click(20, 20, MOUSE_LEFT);  // on the visible part of the covered window
    EXPECT_EQ(g_window_manager.active, under);
    EXPECT_EQ(window_record(g_window_manager.root)->last_child, under);
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
    (void)over;
}

TEST_F(ManagerTest, ClicksOutsideAnOpenModalWindowAreRefused) {
    Handle plain = OpenAt(a_task_, 10, 10, 60, 60);
    Handle modal = OpenAt(b_task_, 200, 10, 60, 60, WIN_MODAL);
    ForgetEvents();
    route_click(30, 30, MOUSE_LEFT);
    EXPECT_TRUE(CodesTo(a_).empty());
    EXPECT_EQ(g_window_manager.active, modal);
    route_click(220, 30, MOUSE_LEFT);
    EXPECT_EQ(CodesTo(b_), (Codes{EVENT_MOUSE_DOWN}));
    (void)plain;
}

TEST_F(ManagerTest, ButtonChangesGoToTheCaptureOrToTheActiveOwner) {
    Handle w = OpenAt(a_task_, 10, 10, 60, 60);
    Handle menu = NewTask("Capturer");
    ForgetEvents();
    SetMouseCapture(menu);
    HostSetCursor(300, 200);
    HostSetMouseButtons(MOUSE_RIGHT);
    poll_mouse_buttons();
    std::vector<EventRecord> captured = EventsTo(TaskId(menu));
    ASSERT_EQ(captured.size(), 1u);
    EXPECT_EQ(captured[0].code, EVENT_MOUSE_DOWN);
    EXPECT_EQ(captured[0].value, 0u);
    EXPECT_EQ(captured[0].word_a, 300);
    EXPECT_EQ(mouse_x_in(w), -1);

    poll_mouse_buttons();  // no change, nothing sent
    EXPECT_EQ(EventsTo(TaskId(menu)).size(), 1u);

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
        window_task_ = RegisterTask("WindowTask", TASK_ID_WINDOW, 0);
        OpenTaskEvents(window_task_);
    }
    // One cycle: WindowTask, then each owner takes one event and answers draw requests.
    void Cycle() {
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
    Handle window_task_ = 0;
    std::vector<Handle> draws_;
};

TEST_F(MotionTest, OwnersAnsweringRetDrawEventCarryTheMotionToItsEnd) {
    g_system.phase = PHASE_INIT;  // no mouse polling in these cycles
    Handle rear = create_window(a_task_, 0, 120, 100, WIN_FRAME);
    Handle middle = create_window(b_task_, 0, 120, 100, 0);
    Handle front = create_window(a_task_, 0, 120, 100, 0);
    SendWindowPointEvent(a_task_, rear, 10, 10);
    SendWindowPointEvent(b_task_, middle, 60, 40);
    SendWindowPointEvent(a_task_, front, 100, 70);
    for (int i = 0; i < 100; ++i)
        Cycle();
    ASSERT_FALSE(TestSystemFlag(FLAG_REDRAW_MOTION));
    EXPECT_EQ(window_record(rear)->depth, 3);
    draws_.clear();

    SendWindowEvent(a_task_, front);
    for (int i = 0; i < 100; ++i)
        Cycle();
    EXPECT_EQ(draws_, (std::vector<Handle>{rear, middle}))
        << "uncovered windows are drawn rear to front, one per answer";
    EXPECT_FALSE(TestSystemFlag(FLAG_REDRAW_MOTION));
    EXPECT_EQ(g_window_manager.active, middle);
    EXPECT_EQ(window_record(middle)->depth, 1);
    EXPECT_EQ(window_record(rear)->depth, 2);
    EXPECT_TRUE(test_window_mode(middle, WIN_DRAWABLE));
    EXPECT_FALSE(test_window_mode(rear, WIN_REDRAW | WIN_DRAWABLE));
    EXPECT_EQ(CountLogLines("\t redraw request NON TaskA"), 1);
    EXPECT_EQ(CountLogLines("\t redraw request NON TaskB"), 1);
}

TEST_F(MotionTest, ObjectDrawingStopsAtEachSubWindowObjectUntilItsAnswer) {
    g_system.phase = PHASE_INIT;
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
    Handle w = create_window(a_task_, 0, 100, 100, WIN_OBJECTS);
    parent_window = w;
    sub_window = create_window(a_task_, w, 20, 20, WIN_SUBWINDOW | WIN_SHOW);
    owner_id = a_;
    SendWindowPointEvent(a_task_, w, 10, 10);
    for (int i = 0; i < 3; ++i)
        Cycle();
    EXPECT_EQ(g_window_manager.object_cursor, 2001u) << "draw_window stopped at the first";
    for (int i = 0; i < 40; ++i)
        Cycle();
    EXPECT_EQ(stops, 2);
    EXPECT_EQ(g_window_manager.object_cursor, 0u);
    EXPECT_FALSE(TestSystemFlag(FLAG_REDRAW_MOTION));
    EXPECT_FALSE(test_window_mode(w, WIN_OBJDRAWING));

    // The owner's answer for a window with WIN_OBJECTS draws its objects again.
    RetDrawEvent(a_task_, w);
    for (int i = 0; i < 40; ++i)
        Cycle();
    EXPECT_TRUE(test_window_mode(w, WIN_OBJDRAWING));
    EXPECT_EQ(stops, 4);
    EXPECT_EQ(g_window_manager.object_cursor, 0u);
}

TEST_F(ManagerTest, HoveringSendsEnterAndLeaveToTheRightTask) {
    static Handle under_mouse;
    g_window_object_hooks.under_mouse = [](Handle, int, int) { return under_mouse; };
    g_window_object_hooks.is_selecter = [](Handle o) { return o == 501; };
    static Handle parent_window;
    g_window_object_hooks.parent = [](Handle) { return parent_window; };
    Handle w = OpenAt(a_task_, 10, 10, 100, 100);
    parent_window = w;
    window_record(w)->first_object = 500;  // the window has objects
    ForgetEvents();

    under_mouse = 500;
    hover_objects();
    hover_objects();  // the same plain object again: nothing
    under_mouse = 501;
    hover_objects();
    hover_objects();  // a selecter is entered again on every tick
    under_mouse = 0;
    hover_objects();
    EXPECT_EQ(CodesTo(a_), (Codes{EVENT_MOUSE_ENTER, EVENT_MOUSE_LEAVE}));
    EXPECT_EQ(CodesTo(TASK_ID_MENU),
              (Codes{EVENT_MOUSE_ENTER, EVENT_MOUSE_ENTER, EVENT_MOUSE_LEAVE}));
    std::vector<EventRecord> a = EventsTo(a_);
    Handle object;
    std::memcpy(&object, a[1].data, 4);
    EXPECT_EQ(object, 500u);
    EXPECT_EQ(a[1].value, w);
}

TEST_F(ManagerTest, StatusDumpListsChildrenBeforeTheirWindow) {
    Handle w = OpenAt(a_task_, 10, 10, 100, 100);
    set_window_name(w, "Main");
    Handle sub = create_window(a_task_, w, 10, 10, WIN_SUBWINDOW | WIN_SHOW);
    set_window_name(sub, "Sub");
    window_depth();
    LogWindowStatus();
    std::vector<std::string> lines = LogLines();
    auto at = [&](const std::string& prefix) {
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].rfind(prefix, 0) == 0) return int(i);
        return -1;
    };
    ASSERT_GE(at("SYSTEM ROOT\t\t Depth 1:"), 0);
    ASSERT_GE(at("\tSub(TaskA)\t\t\t Depth 1:"), 0);
    ASSERT_GE(at("Main(TaskA)\t\t\t Depth 1:"), 0);
    EXPECT_LT(at("SYSTEM ROOT"), at("\tSub(TaskA)"));
    EXPECT_LT(at("\tSub(TaskA)"), at("Main(TaskA)"));
    int main_line = at("Main(TaskA)");
    EXPECT_EQ(lines[main_line + 1], "     ｳｲﾝﾄﾞｳ OPEN．"_sj);
    EXPECT_EQ(lines[main_line + 2], "     ｳｲﾝﾄﾞｳは描画可能です．"_sj);
    EXPECT_EQ(lines[main_line + 3], "     アクティブ状態．"_sj);
}

TEST_F(ManagerTest, DestroyingTheRootOrTheActiveWindowWarnsAndStillDestroys) {
    Handle left = OpenAt(a_task_, 10, 10, 20, 20);
    Handle middle = OpenAt(a_task_, 40, 10, 20, 20);
    Handle right = OpenAt(a_task_, 70, 10, 20, 20);
    DestroyWindow(middle);
    EXPECT_EQ(window_record(left)->next, right);
    EXPECT_EQ(window_record(right)->back, left);
    EXPECT_EQ(window_record(middle), nullptr);
    DestroyWindow(right);
    EXPECT_TRUE(Logged("!!! DestroyWindow Warning !!!"));
    EXPECT_EQ(window_record(g_window_manager.root)->last_child, left);
    Handle root = g_window_manager.root;
    DestroyWindow(root);
    EXPECT_TRUE(Logged("root window を削除しようとしています"_sj));
    EXPECT_EQ(window_record(root), nullptr);
}

}  // namespace
