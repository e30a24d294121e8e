// Drawing into windows: refusals, clipping, text cutting and centring, tagged and escaped text.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "host/clock.h"
#include "host/input.h"
#include "host/raster.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "resource/resource.h"
#include "resource/task_record.h"
#include "window/colors.h"
#include "window/draw.h"
#include "window/escaped_text.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/panel.h"
#include "window/tag_draw.h"
#include "window/win_text.h"
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
        Clear();
    }
    void Clear(uint32_t color = kBlack) { HostFillRect(0, 0, kScreenWidth, kScreenHeight, color); }
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
    EXPECT_EQ(LogCount("WIN ERROR"), 0);
    FillRectangle(w_, 101, 0, 10, 10, kRed);
    EXPECT_TRUE(Logged("WIN ERROR FillRectangle:指定描画位置(101/0)がおかしい"_sj));
    g_current_task = owner_;
    Circle(w_, 5, 61, 10, 10, kRed);
    EXPECT_TRUE(Logged("WIN ERROR Painter Circle:指定描画位置(5/61)がおかしい"_sj));
    Rectangle(w_, -1, 5, 10, 10, kRed);
    EXPECT_TRUE(Logged("WIN ERROR Painter Rectangle:指定描画位置(-1/5)がおかしい"_sj));
    Circle(w_, 3, -2, 10, 10, 0, 0, 5, 5, kRed);
    EXPECT_TRUE(Logged("WIN ERROR Painter Circle:指定描画位置(3/-2)がおかしい"_sj));
    g_current_task = 0;
    EXPECT_EQ(Painted(), 0);
    EXPECT_EQ(Point(w_, 101, 0), 0xFFFFFFFFu);
}

TEST_F(DrawTest, EachShapeKeepsItsOwnClippingRule) {
    FillRectangle(w_, -5, -3, 10, 10, kRed);  // filled rectangles are clipped on every side
    FillRectangle(w_, 95, 55, 50, 50, kRed);
    EXPECT_EQ(Painted(), 5 * 7 + 5 * 5);
    Clear();

    Rectangle(w_, 90, 10, 50, 20, kRed);  // cut to end at the client width
    EXPECT_EQ(At(100, 10), kRed) << "the outline's right edge lies at x + width";
    EXPECT_EQ(At(101, 10), kBlack);
    Line(w_, -50, 20, 500, 20, kRed);  // endpoints clamped into the client area
    EXPECT_EQ(At(0, 20), kRed);
    EXPECT_EQ(At(98, 20), kRed);
    EXPECT_EQ(At(-1, 20), kBlack);
    EXPECT_EQ(At(99, 20), kBlack) << "the last point of a line is not drawn";
    Circle(w_, 90, 20, 30, 30, kRed);  // not clipped
    EXPECT_EQ(At(105, 35), kRed);

    Clear(0x808080);  // darkening does not clip a negative start
    WinSemitransRectangle(w_, -4, 0, 8, 4, 0x0A14);
    EXPECT_EQ(At(-4, 0), 0x80766Cu);
    EXPECT_EQ(At(3, 3), 0x80766Cu);
    EXPECT_EQ(At(4, 0), 0x808080u);
    WinSemitransRectangle(w_, 10, 0, 2, 2, 0xFFFF);  // negative: blue goes too
    EXPECT_EQ(At(10, 0), 0u);
}

TEST_F(DrawTest, CoveredOrClosedWindowsTakeNoDrawingAndClearingShowsWhatLiesUnder) {
    Handle cover = OpenAt(owner_, 60, 50, 10, 10);
    Clear();
    ASSERT_FALSE(window_drawable(w_));
    FillRectangle(w_, 0, 0, 100, 60, kRed);
    Point(w_, 1, 1, kRed);
    Line(w_, 0, 0, 50, 50, kRed);
    EXPECT_EQ(Point(w_, 1, 1), 0xFFFFFFFFu);
    FillRectangle(0, 0, 0, 10, 10, kRed);
    EXPECT_EQ(Point(0, 0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(Painted(), 0);
    EXPECT_EQ(LogCount("WIN ERROR"), 0);
    close_window(cover);
    window_depth();
    Point(w_, 1, 2, kRed);
    EXPECT_EQ(Point(w_, 1, 2), kRed);

    Clear(kRed);
    uint32_t back = gc_record(window_record(g_window_manager.root)->gc)->fill;
    replace_window_mode(w_, WIN_OPEN | WIN_CONTROLBAR);  // not drawable: logged, then cleared
    clear_window(w_);
    EXPECT_TRUE(Logged("clear_window() window mode異常"_sj));
    EXPECT_EQ(At(0, -18), back);
    EXPECT_EQ(At(99, 59), back);
    EXPECT_EQ(At(0, -19), kRed);
    EXPECT_EQ(At(100, 0), kRed);
}

TEST_F(DrawTest, GradientBandsTakeTheRampInOrderWhateverTheRampIndex) {
    const uint32_t* ramp = gc_record(window_record(w_)->gc)->ramp;
    for (int index : {5, 15}) {  // (index 0 is in the window golden)
        Clear();
        GradationBand(w_, 2, 96, index, 10);  // bands of 6 pixels from x 2
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(At(2 + 6 * i, 0), ramp[i]) << "index " << index << " band " << i;
            EXPECT_EQ(At(7 + 6 * i, 9), ramp[i]) << "index " << index << " band " << i;
        }
        EXPECT_EQ(Painted(), 96 * 10);
    }
}

// Title boxes: the name's ink in the bar, measured against the same text drawn on its own.
class TitleTest : public WindowTest {
protected:
    // Pixels of the control bar of `w` that change when its name is drawn.
    int TitleInk(Handle w, const char* name) {
        Handle gc = decoration_gc(w);
        int left = client_left(w), top = bar_top(w), width = window_record(w)->width;
        set_window_name(w, "");
        draw_control_bar(w, gc);
        std::vector<uint32_t> bare = Bar(left, top, width);
        set_window_name(w, name);
        draw_control_bar(w, gc);
        std::vector<uint32_t> titled = Bar(left, top, width);
        int n = 0;
        for (size_t i = 0; i < bare.size(); ++i)
            n += bare[i] != titled[i];
        return n;
    }
    // Pixels that `text` inks when drawn alone as the title would draw it.
    int TextInk(Handle w, const char* text) {
        const GCRecord* g = gc_record(decoration_gc(w));
        Handle font = g_window_manager.window_font ? g_window_manager.window_font : g->font;
        HostFillRect(0, 200, kScreenWidth, 40, g->fill);
        DrawFontText(10, 210, text, g->text, font);
        int n = 0;
        for (int y = 200; y < 240; ++y)
            for (int x = 0; x < kScreenWidth; ++x)
                n += Pixel(x, y) != g->fill;
        return n;
    }
    std::vector<uint32_t> Bar(int left, int top, int width) {
        std::vector<uint32_t> pixels;
        for (int y = top; y < top + kBarHeight; ++y)
            for (int x = left; x < left + width; ++x)
                pixels.push_back(Pixel(x, y));
        return pixels;
    }
};

TEST_F(TitleTest, NarrowBarsKeepTheNameWholeWhereItFits) {
    const uint32_t bar = WIN_CONTROLBAR | WIN_TITLE, boxes = WIN_CLOSEBOX | WIN_RESIZEBOX;
    const struct {
        int width;
        uint32_t mode;
        const char* name;
        const char* shown;  // nullptr: cut to what fits
    } cases[] = {
        {70, bar | WIN_CLOSEBOX, "Wm", "Wm"},
        {200, bar | boxes, "Narrow", "Narrow"},
        {300, bar | WIN_CLOSEBOX, "ABCDEFGHIJKLMNOPQRS", "ABCDEFGHIJKLM.."},
        {80, bar | boxes, "Narrow", nullptr},
    };
    Handle owner = NewTask("Titled");
    for (const auto& c : cases) {
        Handle w = OpenAt(owner, 20, 40, c.width, 30, c.mode);
        int whole = TextInk(w, c.name);
        int ink = TitleInk(w, c.name);
        if (c.shown) {
            EXPECT_EQ(ink, TextInk(w, c.shown)) << c.name << " in " << c.width;
        } else {
            EXPECT_GT(ink, 0) << c.name << " in " << c.width;
            EXPECT_LT(ink, whole) << c.name << " in " << c.width;
        }
        close_window(w);
    }
}

constexpr uint32_t kBack = 0x000000;
constexpr uint32_t kInk = 0x00FF00;
constexpr uint32_t kAny = 0xFFFFFFFF;

// A 200 x 100 window at (20, 20) drawn in a GC with the 16-pixel system font (cell 8, line 20).
class TextTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        owner_ = NewTask("Writer");
        w_ = OpenAt(owner_, 20, 20, 200, 100, WIN_NOBACK);
        gc_ = CreateGC(0x202020, 0x404040, 0x606060, kInk);
        set_window_gc(w_, gc_);
        Clear();
    }
    void Clear() { HostFillRect(0, 0, kScreenWidth, kScreenHeight, kBack); }
    // Pixels of the rectangle, relative to the window's client origin, in `color` (or not
    // the background).
    int Inked(int x, int y, int width, int height, uint32_t color = kAny) {
        int n = 0;
        for (int j = y; j < y + height; ++j)
            for (int i = x; i < x + width; ++i) {
                uint32_t p = Pixel(20 + i, 20 + j);
                n += color == kAny ? p != kBack : p == color;
            }
        return n;
    }
    // Pixels of the client area with any of the `mask` bits.
    int Channel(uint32_t mask) {
        int n = 0;
        for (int j = 0; j < 100; ++j)
            for (int i = 0; i < 200; ++i)
                n += (Pixel(20 + i, 20 + j) & mask) != 0;
        return n;
    }
    Handle owner_ = 0, w_ = 0, gc_ = 0;
};

TEST_F(TextTest, TextIsRefusedWhenTooLongOrNegativeAndDroppedWhereNoCellFits) {
    std::string limit(kMaxWindowText, 'a');
    WinColorMessage(w_, 0, 0, limit.c_str(), kInk);
    EXPECT_GT(Inked(0, 0, 200, 20), 0);
    Clear();
    std::string over = limit + "b";
    WinColorMessage(w_, 0, 0, over.c_str(), kInk);
    EXPECT_TRUE(Logged("WinColorMessage() 描画文字列が長い(Writer)"_sj));
    EXPECT_TRUE(Logged(over));
    WinGCMessage(w_, 0, 0, over.c_str(), gc_);
    EXPECT_TRUE(Logged("WinGCMessage() 描画文字列が長い(Writer)"_sj));
    WinColorMessage(w_, -1, 5, "neg", kInk);
    EXPECT_TRUE(Logged(
        "WinColorMessage() 座標が0以下　バグでないけれど現在指定不可2014/4/15(Writer-1/5)"_sj));
    EXPECT_TRUE(Logged("neg"));
    EXPECT_EQ(LogCount("Win"), 3);

    WinColorMessage(w_, 193, 0, "x", kInk);  // 7 pixels left: less than a cell
    WinColorMessage(w_, 0, 81, "x", kInk);   // less than a line height left
    WinColorMessage(w_, 201, 0, "x", kInk);
    WinGCMessage(w_, 185, 0, "x", gc_);  // the GC form wants a full font size
    EXPECT_EQ(Inked(0, 0, 200, 100), 0);
    EXPECT_EQ(LogCount("Win"), 3);
    WinColorMessage(w_, 192, 0, "x", kInk);
    EXPECT_GT(Inked(192, 0, 8, 20), 0);
}

TEST_F(TextTest, TextPastTheRightEdgeIsCutWithoutSplittingACharacter) {
    EXPECT_EQ(SjisFitBytes("ab漢"_sj, 3), 2);
    EXPECT_EQ(SjisFitBytes("ab漢"_sj, 4), 4);
    EXPECT_EQ(SjisFitBytes("\x81\x20xyz", 3), 3) << "a lead byte without a trail counts alone";
    EXPECT_EQ(SjisCharCount((std::string("ab漢"_sj) + "\x81").c_str()), 4);

    // 40 pixels are five cells: "abcd" fits, the pair after it does not.
    Handle narrow = OpenAt(owner_, 20, 150, 40, 30, WIN_NOBACK);  // client y 130 of w_
    set_window_gc(narrow, gc_);
    Clear();
    WinColorMessage(narrow, 0, 0, "abcd漢x"_sj, kInk);
    EXPECT_GT(Inked(0, 130, 32, 20), 0);
    EXPECT_EQ(Inked(32, 130, 28, 20), 0);
    Clear();
    WinColorMessage(narrow, 0, 0, "abcde漢"_sj, kInk);  // cut after "abcde"
    EXPECT_GT(Inked(32, 130, 8, 20), 0);
}

TEST_F(TextTest, CentredTextUsesTheGivenGCAndRestoresTheWindowsOwn) {
    Handle center = CreateGC(0x0000FF, 0xFF0000, 0, 0);
    WinCenterMessage(w_, 10, "abcd", center);
    // Four cells of 8 pixels centred in 200: x = 100 - 16 = 84.
    EXPECT_EQ(Inked(0, 0, 84, 100), 0);
    EXPECT_GT(Inked(84, 10, 32, 20), 0);
    EXPECT_EQ(Channel(0xFF0000), 0) << "no blue: edge1 is not used without the flag";
    EXPECT_GT(Channel(0x0000FF), 0);
    EXPECT_EQ(window_record(w_)->gc, gc_);
    Clear();
    gc_record(center)->flags = GC_SHADOW_TEXT;
    WinCenterMessage(w_, 10, "漢字"_sj, center);
    EXPECT_TRUE(Logged("WinCenterMessage() in 2byte charcter"));
    EXPECT_GT(Channel(0xFF0000), 0) << "the offset copy in edge1";
}

TEST_F(TextTest, TagDrawChangesTheGCAndSurvivesBadTags) {
    tag_draw(w_, 0, 40, "<font_color red>X", gc_);
    EXPECT_EQ(gc_record(gc_)->text, ColorByName("red")) << "the GC keeps the new colour";
    tag_draw(w_, 0, 0, "<font_size 2><font_size 77>", gc_);
    Handle small = FindFont(0, 2);
    EXPECT_EQ(gc_record(gc_)->font, small) << "no font 77: unchanged";
    // The font is selected for the window's owner, the task that draws.
    EXPECT_EQ(task_record(owner_)->last_selected_record, small);
    EXPECT_EQ(task_record(owner_)->last_opened_resource, g_resources.font);
    tag_draw(w_, 0, 0, "X<font_color blue", gc_);  // no closing bracket: drawing ends
    EXPECT_EQ(gc_record(gc_)->text, ColorByName("red"));

    std::string huge = "<font_color " + std::string(5000, 'a') + "><font_color blue>";
    tag_draw(w_, 0, 0, huge.c_str(), gc_);
    EXPECT_EQ(gc_record(gc_)->text, ColorByName("blue")) << "drawing went on after the tag";
    tag_draw(w_, 0, 0, ("<" + std::string(3000, 'n') + "><foo bar><img none.bmp><>").c_str(), gc_);
    std::vector<std::string> lines = LogLines();
    auto at = std::find(lines.begin(), lines.end(), std::string(kMaxTagLength, 'n'));
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(*(at - 1), "str.c tag_draw() unknow code");
    EXPECT_EQ(*(at + 2), "foo");
    EXPECT_EQ(LogCount("str.c tag_draw() unknow code"), 3);
}

TEST_F(TextTest, TypewriterLinesPauseAfterEachCharacterUntilInputArrives) {
    uint32_t start = HostTickCount();
    DrawEscapedText(w_, 0, 0, "\\wabc", gc_);
    EXPECT_EQ(HostTickCount() - start, 3u * kSlowTextWait * 10);
    EXPECT_GT(Inked(16, 0, 8, 20), 0);
    HostSetMouseButtons(MOUSE_LEFT);
    start = HostTickCount();
    DrawSlowText(w_, 0, 40, "abcdef", kSlowTextWait, kInk);
    EXPECT_EQ(HostTickCount() - start, 1u * kSlowTextWait * 10) << "only the first pause";
    EXPECT_GT(Inked(32, 40, 8, 20), 0) << "the rest still drawn, one font size apart";
}

}  // namespace
