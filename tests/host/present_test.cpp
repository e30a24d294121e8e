// Where the screen lands in the window, how window points map back to the screen, the screen
// rule and the command line.
#include <gtest/gtest.h>

#include "host/options.h"
#include "host/present_layout.h"
#include "host/window.h"

namespace {

TEST(PresentLayout, WholeFactorsCentredWithBlackBars) {
    PresentLayout l = ComputePresentLayout(800, 600, 1600, 1200, true);
    EXPECT_EQ(l.x, 0);
    EXPECT_EQ(l.y, 0);
    EXPECT_EQ(l.width, 1600);
    EXPECT_EQ(l.height, 1200);
    // 1920 x 1080 holds 800 x 600 once only: centred, the rest letterboxed.
    l = ComputePresentLayout(800, 600, 1920, 1080, true);
    EXPECT_EQ(l.width, 800);
    EXPECT_EQ(l.height, 600);
    EXPECT_EQ(l.x, 560);
    EXPECT_EQ(l.y, 240);
    l = ComputePresentLayout(640, 480, 2000, 1500, true);
    EXPECT_EQ(l.width, 1920);
    EXPECT_EQ(l.height, 1440);
    EXPECT_EQ(l.x, 40);
    EXPECT_EQ(l.y, 30);
}

TEST(PresentLayout, SmallerWindowsAndFreeScalingFit) {
    PresentLayout l = ComputePresentLayout(800, 600, 400, 400, true);
    EXPECT_EQ(l.width, 400);
    EXPECT_EQ(l.height, 300);
    EXPECT_EQ(l.x, 0);
    EXPECT_EQ(l.y, 50);
    l = ComputePresentLayout(800, 600, 1920, 1080, false);
    EXPECT_EQ(l.width, 1440);
    EXPECT_EQ(l.height, 1080);
    EXPECT_EQ(l.x, 240);
    EXPECT_EQ(l.y, 0);
}

TEST(PresentLayout, WindowPointsMapToSurfacePoints) {
    PresentLayout l = ComputePresentLayout(800, 600, 1920, 1080, true);
    int x, y;
    WindowToSurface(l, 560, 240, &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    WindowToSurface(l, 1359, 839, &x, &y);
    EXPECT_EQ(x, 799);
    EXPECT_EQ(y, 599);
    // In the black bars the point lies outside the screen.
    WindowToSurface(l, 559, 10, &x, &y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -230);
    l = ComputePresentLayout(800, 600, 1600, 1200, true);
    WindowToSurface(l, 3, 5, &x, &y);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
    WindowToSurface(l, -1, -2, &x, &y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
}

TEST(ScreenRule, ExactDisplaySizeGivesCaptionlessWindow) {
    ScreenChoice c = ChooseScreen(800, 600, 1024, 768, 640, 480);
    EXPECT_TRUE(c.captionless);
    EXPECT_EQ(c.width, 800);
    EXPECT_EQ(c.height, 600);
    c = ChooseScreen(1920, 1080, 1024, 768, 640, 480);
    EXPECT_FALSE(c.captionless);
    EXPECT_EQ(c.width, 1024);
    EXPECT_EQ(c.height, 768);
    c = ChooseScreen(1920, 1080, -1, -1, 640, 480);
    EXPECT_EQ(c.width, 640);
    EXPECT_EQ(c.height, 480);
    EXPECT_EQ(DefaultWindowScale(800, 600, 1920, 1050), 1);
    EXPECT_EQ(DefaultWindowScale(800, 600, 3840, 2100), 3);
    EXPECT_EQ(DefaultWindowScale(800, 600, 640, 480), 1);
}

TEST(CommandLine, OptionsAndErrors) {
    const char* argv[] = {"noma",    "--data",  "data/demo", "--headless",  "--input",
                          "a.input", "--scale", "2",         "--fullscreen"};
    HostOptions o;
    std::string error;
    ASSERT_TRUE(ParseHostOptions(9, argv, &o, &error)) << error;
    EXPECT_EQ(o.data, "data/demo");
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(o.input, "a.input");
    EXPECT_EQ(o.scale, 2);
    EXPECT_TRUE(o.fullscreen);
    EXPECT_FALSE(o.help);

    const char* unknown[] = {"noma", "--window"};
    EXPECT_FALSE(ParseHostOptions(2, unknown, &o, &error));
    EXPECT_NE(error.find("--window"), std::string::npos);
    const char* missing[] = {"noma", "--data"};
    EXPECT_FALSE(ParseHostOptions(2, missing, &o, &error));
    const char* bad_scale[] = {"noma", "--scale", "0"};
    EXPECT_FALSE(ParseHostOptions(3, bad_scale, &o, &error));
    const char* help[] = {"noma", "--help"};
    HostOptions h;
    EXPECT_TRUE(ParseHostOptions(2, help, &h, &error));
    EXPECT_TRUE(h.help);
}

}  // namespace
