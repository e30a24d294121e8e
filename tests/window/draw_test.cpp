// Drawing operations inside windows: refusals, clipping and what reaches the screen.
#include <gtest/gtest.h>

#include "host/raster.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "window/draw.h"
#include "window/gc.h"
#include "window/window.h"
#include "window/window_draw.h"
#include "window/window_manager.h"
#include "window_env.h"

namespace {

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kBlack = 0x000000;

// A 100 x 60 window whose client area starts at (50, 40), on a black screen.
class DrawTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        owner_ = NewTask("Painter");
        w_ = OpenAt(owner_, 50, 40, 100, 60, WIN_NOBACK);
        HostFillRect(0, 0, kScreenWidth, kScreenHeight, kBlack);
    }
    uint32_t At(int x, int y) { return Pixel(50 + x, 40 + y); }
    int Painted() {
        int n = 0;
        for (int y = 0; y < kScreenHeight; ++y)
            for (int x = 0; x < kScreenWidth; ++x)
                n += Pixel(x, y) != kBlack;
        return n;
    }
    Handle owner_ = 0, w_ = 0;
};

TEST_F(DrawTest, StartPointsBeyondTheClientAreaAreRefusedAndLoggedWithTheTask) {
    FillRectangle(w_, 100, 0, 10, 10, kRed);  // x == width: accepted, clipped to nothing
    EXPECT_EQ(Painted(), 0);
    EXPECT_FALSE(LogContains("WIN ERROR"));

    FillRectangle(w_, 101, 0, 10, 10, kRed);
    EXPECT_TRUE(Logged("WIN ERROR FillRectangle:指定描画位置(101/0)がおかしい"_sj));
    g_current_task = owner_;
    Circle(w_, 5, 61, 10, 10, kRed);
    EXPECT_TRUE(Logged("WIN ERROR Painter Circle:指定描画位置(5/61)がおかしい"_sj));
    Rectangle(w_, -1, 5, 10, 10, kRed);
    EXPECT_TRUE(Logged("WIN ERROR Painter Rectangle:指定描画位置(-1/5)がおかしい"_sj));
    Circle(w_, 3, -2, 10, 10, kRed);
    EXPECT_TRUE(Logged("WIN ERROR Painter Circle:指定描画位置(3/-2)がおかしい"_sj));
    g_current_task = 0;
    EXPECT_EQ(Painted(), 0);
    EXPECT_EQ(Point(w_, 101, 0), 0xFFFFFFFFu);
}

TEST_F(DrawTest, FillRectangleIsClippedOnEverySide) {
    FillRectangle(w_, -5, -3, 10, 10, kRed);
    EXPECT_EQ(At(0, 0), kRed);
    EXPECT_EQ(At(4, 6), kRed);
    EXPECT_EQ(At(5, 0), kBlack);
    EXPECT_EQ(At(0, 7), kBlack);
    EXPECT_EQ(At(-1, 0), kBlack);
    EXPECT_EQ(At(0, -1), kBlack);
    EXPECT_EQ(Painted(), 5 * 7);

    HostFillRect(0, 0, kScreenWidth, kScreenHeight, kBlack);
    FillRectangle(w_, 95, 55, 50, 50, kRed);
    EXPECT_EQ(Painted(), 5 * 5);
    EXPECT_EQ(At(99, 59), kRed);

    HostFillRect(0, 0, kScreenWidth, kScreenHeight, kBlack);
    FillRectangle(w_, -20, 0, 10, 10, kRed);  // wholly left of the client area
    EXPECT_EQ(Painted(), 0);
}

TEST_F(DrawTest, ShapesAndDarkeningKeepTheirOwnClippingRules) {
    // A rectangle past the right edge is cut to end at the client width.
    Rectangle(w_, 90, 10, 50, 20, kRed);
    EXPECT_EQ(At(90, 10), kRed);
    EXPECT_EQ(At(100, 10), kRed) << "the outline's right edge lies at x + width";
    EXPECT_EQ(At(101, 10), kBlack);

    // Lines have their endpoints clamped into the client area.
    Line(w_, -50, 20, 500, 20, kRed);
    EXPECT_EQ(At(0, 20), kRed);
    EXPECT_EQ(At(98, 20), kRed);
    EXPECT_EQ(At(-1, 20), kBlack);
    EXPECT_EQ(At(99, 20), kBlack) << "the last point of a line is not drawn";

    // Darkening does not clip a negative start.
    HostFillRect(0, 0, kScreenWidth, kScreenHeight, 0x808080);
    WinSemitransRectangle(w_, -4, 0, 8, 4, 0x0A14);
    EXPECT_EQ(At(-4, 0), 0x80766Cu);
    EXPECT_EQ(At(3, 3), 0x80766Cu);
    EXPECT_EQ(At(4, 0), 0x808080u);
    WinSemitransRectangle(w_, 10, 0, 2, 2, 0xFFFF);  // negative: blue goes too
    EXPECT_EQ(At(10, 0), 0u);
    // A circle is not clipped: it may reach past the client area.
    HostFillRect(0, 0, kScreenWidth, kScreenHeight, kBlack);
    Circle(w_, 90, 20, 30, 30, kRed);
    EXPECT_EQ(At(105, 35), kRed);
}

TEST_F(DrawTest, CoveredOrClosedWindowsTakeNoDrawing) {
    Handle cover = OpenAt(owner_, 60, 50, 10, 10);
    HostFillRect(0, 0, kScreenWidth, kScreenHeight, kBlack);
    ASSERT_FALSE(window_drawable(w_));
    FillRectangle(w_, 0, 0, 100, 60, kRed);
    Point(w_, 1, 1, kRed);
    Line(w_, 0, 0, 50, 50, kRed);
    EXPECT_EQ(Point(w_, 1, 1), 0xFFFFFFFFu);
    EXPECT_EQ(Painted(), 0);
    EXPECT_FALSE(LogContains("WIN ERROR"));
    FillRectangle(0, 0, 0, 10, 10, kRed);
    EXPECT_EQ(Point(0, 0, 0), 0xFFFFFFFFu);

    close_window(cover);
    window_depth();
    Point(w_, 1, 2, kRed);
    EXPECT_EQ(Point(w_, 1, 2), kRed);
}

TEST_F(DrawTest, WindowBackgroundsFollowTheModeFlags) {
    Handle gc = CreateGC(0x405060, 0xA0A0A0, 0x202020, 0);
    set_window_gc(w_, gc);
    auto redraw = [&](uint32_t mode) {
        HostFillRect(0, 0, kScreenWidth, kScreenHeight, 0x909090);
        replace_window_mode(w_, WIN_OPEN | WIN_DRAWABLE | mode);
        draw_window(w_);
    };
    redraw(0);
    EXPECT_EQ(At(50, 30), 0x405060u);
    redraw(WIN_NOBACK);
    EXPECT_EQ(At(50, 30), 0x909090u);
    redraw(WIN_SEMITRANS);
    EXPECT_EQ(At(50, 30), 0x901818u) << "red and green darkened by 120, blue left alone";
    redraw(WIN_GCFILL);
    EXPECT_EQ(At(0, 0), 0xA0A0A0u);
    EXPECT_EQ(At(99, 59), 0x202020u);
    EXPECT_EQ(At(50, 30), 0x405060u);
    redraw(WIN_RULED);
    EXPECT_EQ(At(10, 8), 0x475767u);
    EXPECT_EQ(At(10, 9), 0x405060u);

    // The frame surrounds the client area; the shadow darkens right of and below it.
    redraw(WIN_FRAME | WIN_SHADOW | WIN_CONTROLBAR);
    EXPECT_NE(At(-1, 10), 0x909090u);
    EXPECT_EQ(At(-5, 10), 0x909090u);
    EXPECT_EQ(At(105, 30), 0x908600u) << "red by 0xAA, green by 0x0A";
}

TEST_F(DrawTest, ClearingUsesTheColourOfWhatLiesUnder) {
    HostFillRect(0, 0, kScreenWidth, kScreenHeight, kRed);
    GCRecord* root_gc = gc_record(window_record(g_window_manager.root)->gc);
    uint32_t back = root_gc->fill;
    replace_window_mode(w_, WIN_OPEN | WIN_CONTROLBAR);  // not drawable: logged, then cleared
    clear_window(w_);
    EXPECT_TRUE(Logged("clear_window() window mode異常"_sj));
    EXPECT_EQ(At(0, -18), back);
    EXPECT_EQ(At(99, 59), back);
    EXPECT_EQ(At(0, -19), kRed);
    EXPECT_EQ(At(100, 0), kRed);
}

}  // namespace
