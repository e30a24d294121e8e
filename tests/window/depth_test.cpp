// The depth pass and redraw marking on small arrangements of windows.
#include <gtest/gtest.h>

#include "window/redraw.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window_env.h"

namespace {

class DepthTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        owner_ = NewTask("Owner");
    }
    int Depth(Handle w) { return window_record(w)->depth; }
    bool Drawable(Handle w) { return test_window_mode(w, WIN_DRAWABLE); }
    bool Marked(Handle w) { return test_window_mode(w, WIN_REDRAW); }
    // A window open in the tree without going through activation (no drawing, no events).
    Handle Placed(int x, int y, int width, int height, uint32_t mode = 0, Handle parent = 0) {
        Handle w = create_window(owner_, parent, uint16_t(width), uint16_t(height), mode);
        set_position(w, x, y);
        if (!(mode & WIN_SUBWINDOW)) set_window_mode(w, WIN_OPEN);
        return w;
    }
    Handle owner_ = 0;
};

TEST_F(DepthTest, TouchingEdgesCountAsOverlapButAGapDoesNot) {
    Handle a = Placed(10, 10, 100, 50);
    Handle b = Placed(110, 10, 50, 50);  // a's right edge is b's left edge
    window_depth();
    EXPECT_EQ(Depth(a), 2);
    EXPECT_FALSE(Drawable(a));
    EXPECT_EQ(Depth(b), 1);
    EXPECT_TRUE(Drawable(b));

    set_position(b, 111, 10);
    window_depth();
    EXPECT_EQ(Depth(a), 1);
    EXPECT_TRUE(Drawable(a));

    // Decorations belong to the window: b's frame reaches back to a's edge.
    replace_window_mode(b, WIN_OPEN | WIN_FRAME);
    window_depth();
    EXPECT_EQ(Depth(a), 2);
}

TEST_F(DepthTest, CoveredWindowsTakeTheirDepthFromTheNearestOverlappingSiblingInFront) {
    Handle a = Placed(0, 0, 100, 100);
    Handle b = Placed(50, 50, 100, 100);                    // covers a
    Handle far = Placed(250, 0, 30, 30);                    // in front of both, overlaps neither
    Handle c = Placed(120, 120, 100, 100);                  // covers b only
    Handle closed = create_window(owner_, 0, 300, 300, 0);  // front-most but not open
    window_depth();
    EXPECT_EQ(Depth(c), 1);
    EXPECT_EQ(Depth(far), 1);
    EXPECT_EQ(Depth(b), 2);
    EXPECT_EQ(Depth(a), 3);
    EXPECT_EQ(Depth(closed), 0);
    EXPECT_FALSE(Drawable(closed));
}

TEST_F(DepthTest, SubWindowsFollowTheirParentAndShownObjectWindowsDoNotCoverEachOther) {
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

    // A popup sub-window (open and shown) covers its siblings.
    set_window_mode(next_to, WIN_OPEN);
    window_depth();
    EXPECT_EQ(Depth(shown), 2);

    // Covering the parent takes drawing away from everything inside it.
    Handle cover = Placed(0, 0, 50, 50);
    window_depth();
    EXPECT_FALSE(Drawable(parent));
    EXPECT_FALSE(Drawable(shown));
    EXPECT_FALSE(Drawable(next_to));
    EXPECT_TRUE(Drawable(cover));
}

TEST_F(DepthTest, ClosingMarksWhatItUncoveredAndTheWindowsInFrontOfThose) {
    Handle rear = Placed(0, 0, 100, 100);
    Handle beside = Placed(200, 0, 100, 100);   // away from everything
    Handle over_rear = Placed(80, 80, 60, 60);  // covers rear, not the closing window
    Handle child = Placed(5, 5, 10, 10, WIN_OPEN, over_rear);
    Handle closing = Placed(0, 0, 40, 40);  // covers rear
    window_depth();
    ASSERT_EQ(Depth(rear), 2);

    clear_window_mode(closing, WIN_OPEN);
    int marked = mark_uncovered(closing);
    EXPECT_TRUE(Marked(rear));
    EXPECT_TRUE(Marked(over_rear)) << "rear is not at depth 1, so what lies on it is redrawn";
    EXPECT_TRUE(Marked(child));
    EXPECT_FALSE(Marked(beside));
    EXPECT_FALSE(Marked(closing));
    EXPECT_EQ(marked, 3);
}

TEST_F(DepthTest, RedrawWalkVisitsSiblingsThenTheLastOnesChildren) {
    Handle a = Placed(0, 0, 10, 10);
    Handle b = Placed(20, 0, 10, 10);
    Handle b1 = Placed(1, 1, 2, 2, WIN_OPEN, b);
    Handle b2 = Placed(4, 4, 2, 2, WIN_OPEN, b);
    Handle a1 = Placed(1, 1, 2, 2, WIN_OPEN, a);
    (void)a1;
    std::vector<Handle> order;
    for (Handle w = window_record(g_window_manager.root)->first_child; w; w = redraw_walk_next(w))
        order.push_back(w);
    EXPECT_EQ(order, (std::vector<Handle>{a, b, b1, b2}));
}

}  // namespace
