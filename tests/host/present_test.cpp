// Where the screen lands in the window, how window points map back to the screen, and the screen
// rule. (The command line is read by every whole-system run; its mistakes are checked there.)
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "host/present_layout.h"
#include "host/window.h"

namespace {

TEST(PresentLayout, WholeFactorsCentredWithBlackBarsOrFreeScaling) {
    const struct {
        int window_w, window_h;
        bool whole;
        int x, y, width, height;
    } cases[] = {
        {1600, 1200, true, 0, 0, 1600, 1200},
        {1920, 1080, true, 560, 240, 800, 600},  // holds 800 x 600 once only: letterboxed
        {400, 400, true, 0, 50, 400, 300},       // smaller than the screen: shrunk to fit
        {1920, 1080, false, 240, 0, 1440, 1080},
    };
    for (const auto& c : cases) {
        const PresentLayout l = ComputePresentLayout(800, 600, c.window_w, c.window_h, c.whole);
        EXPECT_EQ(std::vector<int>({l.x, l.y, l.width, l.height}),
                  std::vector<int>({c.x, c.y, c.width, c.height}))
            << c.window_w << "x" << c.window_h << " " << c.whole;
    }
    const PresentLayout l = ComputePresentLayout(640, 480, 2000, 1500, true);
    EXPECT_EQ(std::vector<int>({l.x, l.y, l.width, l.height}),
              std::vector<int>({40, 30, 1920, 1440}));
}

TEST(PresentLayout, WindowPointsMapToSurfacePoints) {
    const PresentLayout bars = ComputePresentLayout(800, 600, 1920, 1080, true);
    const PresentLayout twice = ComputePresentLayout(800, 600, 1600, 1200, true);
    const struct {
        const PresentLayout& layout;
        int wx, wy, x, y;
    } cases[] = {
        {bars, 560, 240, 0, 0},    {bars, 1359, 839, 799, 599},
        {bars, 559, 10, -1, -230},  // in the black bars: outside the screen
        {twice, 3, 5, 1, 2},       {twice, -1, -2, -1, -1},
    };
    for (const auto& c : cases) {
        int x, y;
        WindowToSurface(c.layout, c.wx, c.wy, &x, &y);
        EXPECT_EQ(std::make_pair(x, y), std::make_pair(c.x, c.y)) << c.wx << "," << c.wy;
    }
}

TEST(PresentLayout, FilteredScalingKeepsTheAspectAndEveryPixelMapsBack) {
    // Any enlarged window size, smooth or whole factors: the picture keeps the screen's aspect
    // ratio within a pixel, is centred, and the output pixel at the middle of each screen
    // pixel's place maps back to that screen pixel (the mouse hits what is drawn under it).
    const std::pair<int, int> windows[] = {{801, 601},   {1000, 1000}, {1366, 768},
                                           {2560, 1440}, {3840, 2160}, {1700, 1270}};
    for (bool whole : {false, true})
        for (auto [w, h] : windows) {
            const PresentLayout l = ComputePresentLayout(800, 600, w, h, whole);
            EXPECT_LE(std::abs(l.width * 600 - l.height * 800), 800) << w << "x" << h;
            EXPECT_TRUE(l.width == w || l.height == h || whole) << w << "x" << h;
            EXPECT_LE(std::abs(2 * l.x + l.width - w), 1);
            EXPECT_LE(std::abs(2 * l.y + l.height - h), 1);
            for (int x = 0; x < 800; ++x) {
                int sx, sy;
                int wx = l.x + int((x + 0.5) * l.width / 800);
                int wy = l.y + int(((x % 600) + 0.5) * l.height / 600);
                WindowToSurface(l, wx, wy, &sx, &sy);
                ASSERT_EQ(std::make_pair(sx, sy), std::make_pair(x, x % 600))
                    << w << "x" << h << " " << whole;
            }
        }
}

TEST(ScreenRule, ExactDisplaySizeGivesCaptionlessWindow) {
    ScreenChoice c = ChooseScreen(800, 600, 1024, 768, 640, 480);
    EXPECT_TRUE(c.captionless);
    EXPECT_EQ(std::make_pair(c.width, c.height), std::make_pair(800, 600));
    c = ChooseScreen(1920, 1080, 1024, 768, 640, 480);
    EXPECT_FALSE(c.captionless);
    EXPECT_EQ(std::make_pair(c.width, c.height), std::make_pair(1024, 768));
    EXPECT_EQ(DefaultWindowScale(800, 600, 1920, 1050), 1);
    EXPECT_EQ(DefaultWindowScale(800, 600, 3840, 2100), 3);
    EXPECT_EQ(DefaultWindowScale(800, 600, 640, 480), 1);
}

TEST(ScreenRule, TheWindowShrinksItsScaleToFitAndNeverStartsOffScreen) {
    const int any = SDL_WINDOWPOS_UNDEFINED;
    const struct {
        int requested;
        SDL_Rect usable;
        int scale, x, y;
    } cases[] = {
        {2, {0, 0, 1024, 768}, 1, any, any},     // 1280 x 960 would not fit
        {3, {0, 0, 1920, 1200}, 2, any, any},    // shrunk to the largest that fits
        {0, {0, 0, 1920, 1200}, 2, any, any},    // the default: the largest that fits
        {2, {0, 0, 0, 0}, 2, any, any},          // the display's size unknown: as asked
        {1, {0, 32, 600, 440}, 1, 0, 32},        // even scale 1 is too large: at the edge
        {1, {100, 24, 600, 1000}, 1, 100, any},  // too wide only
    };
    for (const auto& c : cases) {
        WindowPlacement p = PlaceMainWindow(640, 480, c.requested, c.usable);
        EXPECT_EQ(p.scale, c.scale) << c.requested << " on " << c.usable.w << "x" << c.usable.h;
        EXPECT_EQ(p.x, c.x) << c.requested << " on " << c.usable.w << "x" << c.usable.h;
        EXPECT_EQ(p.y, c.y) << c.requested << " on " << c.usable.w << "x" << c.usable.h;
    }
}

}  // namespace
