// Text in windows: refusals, cutting at the right edge, centring, tagged text and escaped
// message texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "host/clock.h"
#include "host/input.h"
#include "host/raster.h"
#include "host/sjis_literal.h"
#include "text/tag_draw.h"
#include "window/colors.h"
#include "window/escaped_text.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/win_text.h"
#include "window/window.h"
#include "window_env.h"

namespace {

constexpr uint32_t kBack = 0x000000;
constexpr uint32_t kInk = 0x00FF00;

// A 200 x 100 window at (20, 20) drawn in a GC with the 16-pixel system font (cell 8).
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
    // Pixels of the client rectangle (x, y, width, height) that are not the background.
    int Inked(int x, int y, int width, int height, uint32_t color = 0xFFFFFFFF) {
        int n = 0;
        for (int j = y; j < y + height; ++j)
            for (int i = x; i < x + width; ++i) {
                uint32_t p = Pixel(20 + i, 20 + j);
                n += color == 0xFFFFFFFF ? p != kBack : p == color;
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

TEST_F(TextTest, LongTextsAndNegativePositionsAreRefusedWithTheirLogLines) {
    std::string limit(kMaxWindowText, 'a');
    WinColorMessage(w_, 0, 0, limit.c_str(), kInk);
    EXPECT_FALSE(LogContains("WinColorMessage()"));
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
    EXPECT_EQ(Inked(0, 0, 200, 100), 0);
}

TEST_F(TextTest, TextIsDroppedSilentlyWhereNoCellOrLineFits) {
    WinColorMessage(w_, 193, 0, "x", kInk);  // 7 pixels left: less than a cell
    WinColorMessage(w_, 0, 81, "x", kInk);   // less than a line height left
    WinColorMessage(w_, 201, 0, "x", kInk);
    WinGCMessage(w_, 185, 0, "x", gc_);  // the GC form wants a full font size
    EXPECT_EQ(Inked(0, 0, 200, 100), 0);
    EXPECT_TRUE(LogLines().size() > 0);
    EXPECT_FALSE(LogContains("Win"));
    WinColorMessage(w_, 192, 0, "x", kInk);
    EXPECT_GT(Inked(192, 0, 8, 20), 0);
}

TEST_F(TextTest, TextPastTheRightEdgeIsCutWithoutSplittingACharacter) {
    EXPECT_EQ(SjisFitBytes("ab漢"_sj, 3), 2);
    EXPECT_EQ(SjisFitBytes("ab漢"_sj, 4), 4);
    EXPECT_EQ(SjisFitBytes("\x81\x20xyz", 3), 3) << "a lead byte without a trail counts alone";
    EXPECT_EQ(SjisCharCount((std::string("ab漢"_sj) + "\x81").c_str()), 4);

    // 40 pixels are five cells: "abcd" fits, the pair after it does not.
    Handle narrow = OpenAt(owner_, 20, 150, 40, 30, WIN_NOBACK);
    set_window_gc(narrow, gc_);
    Clear();
    WinColorMessage(narrow, 0, 0, "abcd漢x"_sj, kInk);
    int left = 0, right = 0;
    for (int y = 150; y < 170; ++y) {
        for (int x = 20; x < 52; ++x)
            left += Pixel(x, y) != kBack;
        for (int x = 52; x < 80; ++x)
            right += Pixel(x, y) != kBack;
    }
    EXPECT_GT(left, 0);
    EXPECT_EQ(right, 0);

    Clear();
    WinColorMessage(narrow, 0, 0, "abcde漢"_sj, kInk);  // cut after "abcde"
    right = 0;
    for (int y = 150; y < 170; ++y)
        for (int x = 52; x < 60; ++x)
            right += Pixel(x, y) != kBack;
    EXPECT_GT(right, 0);
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

TEST_F(TextTest, TagDrawAppliesColourSizeAndLineTags) {
    int line = FontLineHeight(SystemFont());
    tag_draw(w_, 10, 0, "A<div>B", gc_);
    EXPECT_TRUE(Logged("tag_draw()"));
    EXPECT_GT(Inked(10, 0, 8, line), 0);
    EXPECT_GT(Inked(10, line, 8, line), 0) << "B starts again at x 10, one line lower";
    EXPECT_EQ(Inked(18, line, 30, line), 0);

    Clear();
    tag_draw(w_, 0, 40, "<font_color red>X", gc_);
    EXPECT_EQ(gc_record(gc_)->text, ColorByName("red")) << "the GC keeps the new colour";
    EXPECT_GT(Inked(0, 40, 16, line, ColorByName("red")), 0);

    tag_draw(w_, 0, 0, "<font_size 2>", gc_);
    EXPECT_EQ(gc_record(gc_)->font, FindFont(2));
    tag_draw(w_, 0, 0, "<font_size 77>", gc_);
    EXPECT_EQ(gc_record(gc_)->font, FindFont(2)) << "no such font: unchanged";

    tag_draw(w_, 0, 0, "<foo bar>", gc_);
    std::vector<std::string> lines = LogLines();
    auto at = std::find(lines.begin(), lines.end(), "str.c tag_draw() unknow code");
    ASSERT_NE(at, lines.end());
    EXPECT_EQ(*(at + 1), "foo");
}

TEST_F(TextTest, TagDrawSurvivesMalformedAndHugeTags) {
    tag_draw(w_, 0, 0, "X<font_color red", gc_);  // no closing bracket: drawing ends
    EXPECT_EQ(gc_record(gc_)->text, kInk);
    EXPECT_GT(Inked(0, 0, 8, 20), 0);

    std::string huge = "<font_color " + std::string(5000, 'a') + "><font_color blue>";
    tag_draw(w_, 0, 0, huge.c_str(), gc_);
    EXPECT_EQ(gc_record(gc_)->text, ColorByName("blue")) << "drawing went on after the tag";
    std::string name(3000, 'n');
    tag_draw(w_, 0, 0, ("<" + name + ">").c_str(), gc_);
    EXPECT_TRUE(Logged(std::string(kMaxTagLength, 'n')));

    tag_draw(w_, 0, 0, "<img missing.bmp><>< ;,>", gc_);
    EXPECT_EQ(CountLogLines("str.c tag_draw() unknow code"), 3);
}

TEST_F(TextTest, EscapedTextSplitsLinesAndReadsTheirEscapes) {
    int line = FontLineHeight(SystemFont());
    DrawEscapedText(w_, 0, 0, "one\\ntwo\\nthree", gc_);
    for (int i = 0; i < 3; ++i)
        EXPECT_GT(Inked(0, i * line, 200, line), 0) << "line " << i;
    EXPECT_EQ(Inked(0, 3 * line, 200, 100 - 3 * line), 0);

    // An escaped colour line looks exactly like the same text drawn in that colour.
    Clear();
    DrawEscapedText(w_, 0, 0, "\\cRred", gc_);
    std::vector<uint32_t> escaped;
    for (int y = 20; y < 20 + line; ++y)
        for (int x = 20; x < 120; ++x)
            escaped.push_back(Pixel(x, y));
    EXPECT_GT(Inked(0, 0, 100, line, ColorByName("red")), 0);
    Clear();
    WinColorMessage(w_, 0, 0, "red", ColorByName("red"));
    std::vector<uint32_t> plain;
    for (int y = 20; y < 20 + line; ++y)
        for (int x = 20; x < 120; ++x)
            plain.push_back(Pixel(x, y));
    EXPECT_EQ(escaped, plain);

    Clear();
    DrawEscapedText(w_, 0, 0, "\\cGgreen\\n\\cx", gc_);
    EXPECT_GT(Inked(0, 0, 100, line, 0x28961E), 0);
    EXPECT_EQ(Inked(0, line, 200, line), 0) << "an unknown colour letter is skipped";

    // A rule: two lines from x to the width less 10, at y + 9 and y + 10.
    Clear();
    DrawEscapedText(w_, 5, 30, "\\l", gc_);
    EXPECT_EQ(Inked(5, 39, 185, 1, 0x606060), 185);
    EXPECT_EQ(Inked(5, 40, 185, 1, 0x404040), 185);
    EXPECT_EQ(Inked(0, 0, 200, 100), 2 * 185);
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
