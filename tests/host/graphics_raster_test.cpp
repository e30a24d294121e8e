// Shapes with the platform's pixel rules: lines, ellipses, the focus rectangle, darkening and
// the mosaic.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "graphics_test_util.h"
#include "host/raster.h"
#include "host/raster_core.h"

namespace {

PixelSet LinePixels(int x1, int y1, int x2, int y2) {
    Canvas c(200, 200);
    RasterLine(c.target(), x1 + 100, y1 + 100, x2 + 100, y2 + 100, 1);
    PixelSet shifted;
    for (auto [x, y] : c.Drawn())
        shifted.insert({x - 100, y - 100});
    return shifted;
}

TEST(GraphicsLine, DrawnBackwardsCoversTheSamePixels) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> coordinate(-60, 60);
    for (int i = 0; i < 400; ++i) {
        const int x1 = coordinate(random), y1 = coordinate(random);
        const int x2 = coordinate(random), y2 = coordinate(random);
        PixelSet forward = LinePixels(x1, y1, x2, y2), backward = LinePixels(x2, y2, x1, y1);
        if (x1 == x2 && y1 == y2) continue;
        forward.insert({x2, y2});
        backward.insert({x1, y1});
        ASSERT_EQ(forward, backward) << x1 << "," << y1 << " - " << x2 << "," << y2;
    }
}

TEST(GraphicsLine, ClippingKeepsThePixelsOfTheWholeLine) {
    // Lines with far-away ends drawn on a small target match the same lines drawn on a large
    // one around it.
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(-300, 340);
    for (int i = 0; i < 300; ++i) {
        const int x1 = coordinate(random), y1 = coordinate(random);
        const int x2 = coordinate(random), y2 = coordinate(random);
        Canvas small(40, 30), large(700, 700);
        RasterLine(small.target(), x1, y1, x2, y2, 1);
        RasterLine(large.target(), x1 + 330, y1 + 330, x2 + 330, y2 + 330, 1);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                ASSERT_EQ(small.at(x, y), large.at(x + 330, y + 330))
                    << x1 << "," << y1 << " - " << x2 << "," << y2 << " at " << x << "," << y;
    }
    Canvas c(10, 10);
    RasterLine(c.target(), -2000000000, 5, 2000000000, 5, 1);
    EXPECT_EQ(c.Drawn().size(), 10u);
}

class GraphicsShapes : public GraphicsTest {};

TEST_F(GraphicsShapes, EllipsesFillTheirBoxSymmetricallyWithoutGaps) {
    for (int w = 1; w <= 23; ++w) {
        for (int h = 1 + (w == 1); h <= 56; h += h < 17 ? 2 + (w % 2) : 21) {
            ASSERT_TRUE(HostCreateSurface(kWidth, kHeight));
            HostEllipse(5, 6, w, h, 0xFFFFFF);
            const PixelSet set = Drawn();
            int min_x = 99, max_x = -1, min_y = 99, max_y = -1;
            for (auto [x, y] : set) {
                min_x = std::min(min_x, x), max_x = std::max(max_x, x);
                min_y = std::min(min_y, y), max_y = std::max(max_y, y);
            }
            ASSERT_EQ(min_x, 5) << w << "x" << h;
            ASSERT_EQ(max_x, 5 + w - 1) << w << "x" << h;
            ASSERT_EQ(min_y, 6) << w << "x" << h;
            ASSERT_EQ(max_y, 6 + h - 1) << w << "x" << h;
            for (auto [x, y] : set) {
                ASSERT_TRUE(set.count({5 + 5 + w - 1 - x, y})) << w << "x" << h;
                ASSERT_TRUE(set.count({x, 6 + 6 + h - 1 - y})) << w << "x" << h;
            }
            // Every row is one run.
            for (int y = min_y; y <= max_y; ++y) {
                int runs = 0;
                for (int x = 0; x < kWidth; ++x)
                    runs += set.count({x, y}) && !set.count({x - 1, y});
                ASSERT_EQ(runs, 1) << w << "x" << h << " row " << y;
            }
            // The reversed rectangle gives the same ellipse.
            const std::vector<uint32_t> first = Screen();
            ASSERT_TRUE(HostCreateSurface(kWidth, kHeight));
            HostEllipse(5 + w, 6 + h, -w, -h, 0xFFFFFF);
            ASSERT_EQ(Screen(), first) << w << "x" << h;
        }
    }
    // Empty boxes draw nothing; neither does a 1 x 1 box, whose outline has only zero-length
    // lines and whose inside is empty.
    ASSERT_TRUE(HostCreateSurface(kWidth, kHeight));
    HostEllipse(5, 5, 0, 10, 0xFFFFFF);
    HostEllipse(5, 5, 10, 0, 0xFFFFFF);
    HostEllipse(5, 5, 1, 1, 0xFFFFFF);
    EXPECT_TRUE(Drawn().empty());
}

TEST_F(GraphicsShapes, FocusRectangleInvertsEveryOtherBorderPixelAndErasesItself) {
    HostFillRect(0, 0, kWidth, kHeight, 0xFFFFFF);
    const std::vector<uint32_t> white = Screen();
    HostSetScreenTextColor(0);
    HostFocusRect(10, 10, 8, 6);  // the dots themselves are drawn in the gfx_focus golden
    EXPECT_EQ(Drawn(0xFFFFFF).size(), 12u);
    HostEraseFocusRect();
    EXPECT_EQ(Screen(), white);

    // The other dots take the screen's text colour.
    HostSetScreenTextColor(0x0000FF);
    HostFocusRect(20, 20, 4, 4);
    EXPECT_EQ(Pixel(20, 20), 0u);
    EXPECT_EQ(Pixel(21, 20), 0xFFFF00u);
    HostFocusRect(20, 20, 4, 4);
    EXPECT_EQ(Screen(), white);
    HostSetScreenTextColor(0);

    // Degenerate rectangles and ones cut by the edge still restore the screen when repeated.
    for (int w = -2; w <= 3; ++w) {
        for (int h = -2; h <= 3; ++h) {
            HostFocusRect(40, 30, w, h);
            HostFocusRect(40, 30, w, h);
            HostFocusRect(kWidth - 2, -1, w + 3, h + 3);
            HostFocusRect(kWidth - 2, -1, w + 3, h + 3);
        }
    }
    EXPECT_EQ(Screen(), white);
}

TEST_F(GraphicsShapes, DarkeningFloorsEachChannelAndClipsToTheSurface) {
    HostFillRect(0, 0, kWidth, kHeight, 0x806040);
    HostDarken(-10, -10, 20, 15, 0x0AAA);  // red by 0xAA, green by 0x0A
    EXPECT_EQ(Pixel(0, 0), 0x805600u);
    EXPECT_EQ(Pixel(9, 4), 0x805600u);
    EXPECT_EQ(Pixel(10, 4), 0x806040u);
    EXPECT_EQ(Pixel(9, 5), 0x806040u);
    HostDarken(20, 20, 3, 3, -0x2010);  // 0xDFF0: red by 0xF0, green by 0xDF, blue by 0xFF
    EXPECT_EQ(Pixel(21, 21), 0u);
    HostDarken(30, 30, -5, 5, 0x0101);
    EXPECT_EQ(Pixel(28, 30), 0x806040u);
}

// (Outlines, fills, reversed rectangles and arcs are drawn in the gfx_shapes and gfx_arcs
// goldens.)
TEST_F(GraphicsShapes, PixelsAndFillsStayOnTheSurfaceAndPixelsOutsideReadAsInvalid) {
    HostFillRect(-5, -5, 200, 200, 0x123456);
    EXPECT_EQ(Drawn(0x123456).size(), 0u);
    HostFillRect(0, 0, kWidth, kHeight, 0);
    HostSetPixel(3, 4, 0x112233);
    HostSetPixel(-1, 4, 0x112233);
    HostSetPixel(kWidth, 4, 0x112233);
    EXPECT_EQ(HostGetPixel(3, 4), 0x112233u);
    EXPECT_EQ(HostGetPixel(-1, 4), 0xFFFFFFFFu);
    EXPECT_EQ(Drawn().size(), 1u);
}

}  // namespace

namespace {

// The mosaic pass against its definition: one read and one clipped square per grid point, in
// order, on a copy of the same random picture, for white-out and black-out steps and an area
// that the target clips.
TEST(GraphicsMosaic, MatchesAReadAndASquarePerGridPointInOrder) {
    std::mt19937 random(7);
    struct Case {
        int x, y, width, height, step, side, amount;
    };
    const Case cases[] = {{0, 0, 90, 70, 7, 28, 7},
                          {5, 3, 80, 60, 8, 32, 8},
                          {10, 10, 60, 50, 0, 0, 0},
                          {12, 4, 70, 60, 13, 26, -13},
                          {-15, -9, 90, 90, 18, 36, -18}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.step);
        Canvas fast(96, 64), slow(96, 64);
        for (uint32_t& p : fast.pixels)
            p = random() & 0xFFFFFF;
        slow.pixels = fast.pixels;
        RasterMosaicPass(fast.target(), c.x, c.y, c.width, c.height, c.step, 20, c.side, c.amount);
        for (int px = c.step; px < c.width; px += 20)
            for (int py = c.step; py < c.height; py += 20) {
                int sx = c.x + px, sy = c.y + py;
                bool inside = sx >= 0 && sy >= 0 && sx < 96 && sy < 64;
                uint32_t read = inside ? slow.at(sx, sy) : (c.amount < 0 ? 0 : 0xFFFFFF);
                uint32_t colour = 0;
                for (int shift = 0; shift <= 16; shift += 8)
                    colour |= uint32_t(std::clamp(int((read >> shift) & 0xFF) + c.amount, 0, 255))
                              << shift;
                for (int y = sy - c.step; y < sy - c.step + c.side; ++y)
                    for (int x = sx - c.step; x < sx - c.step + c.side; ++x)
                        if (x >= std::max(c.x, 0) && y >= std::max(c.y, 0) && x < c.x + c.width &&
                            y < c.y + c.height && x < 96 && y < 64)
                            slow.pixels[size_t(y) * 96 + x] = colour;
            }
        EXPECT_EQ(fast.pixels, slow.pixels);
    }
}

}  // namespace
