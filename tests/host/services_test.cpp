// The small host services: tokens, colour arithmetic, file times, title, sleep.
#include <gtest/gtest.h>
#include <utime.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>

#include "host/clock.h"
#include "host/cycle.h"
#include "host/input.h"
#include "host/message_box.h"
#include "host/services.h"
#include "host/sjis_literal.h"

namespace {

TEST(HostNextToken, SkipsOneSeparatorAndStopsAtTheNext) {
    const struct {
        const char *text, *token, *rest;
    } cases[] = {
        {"=abc,def", "abc", ",def"},
        {",def", "def", ""},
        {"", "", ""},
        {"--x", "", "-x"},  // only one separator is skipped: the second ends an empty token
        {"a+b-c*d/e;f g", "a", "+b-c*d/e;f g"},
    };
    for (const auto& c : cases) {
        char token[64];
        EXPECT_STREQ(HostNextToken(c.text, token), c.rest) << c.text;
        EXPECT_STREQ(token, c.token) << c.text;
    }
    char token[64], buffer[] = "12 34";
    EXPECT_EQ(HostNextToken(buffer, token), buffer + 2);
    EXPECT_STREQ(token, "12");
}

TEST(HostColours, BrightenClampsEachByteAndMixAverages) {
    EXPECT_EQ(HostBrighten(0x60F0A0, 40), 0x88FFC8u);
    EXPECT_EQ(HostBrighten(0x605040, -50), 0x2E1E0Eu);
    EXPECT_EQ(HostMix(0xFFFFFF, 0x000001), 0x7F7F80u);
}

TEST(HostFileTime, LastWriteTimeAsLocalTime) {
    HostSetHeadless(true);
    std::string path = ::testing::TempDir() + "file_time.dat";
    std::ofstream(path) << "x";
    std::tm tm{};
    tm.tm_year = 101;
    tm.tm_mon = 1;
    tm.tm_mday = 3;
    tm.tm_hour = 4;
    tm.tm_min = 5;
    tm.tm_sec = 6;
    tm.tm_isdst = -1;
    utimbuf times{};
    times.actime = times.modtime = std::mktime(&tm);
    ASSERT_EQ(utime(path.c_str(), &times), 0);
    char text[64] = "unchanged";
    EXPECT_EQ(HostFileTime(path.c_str(), text), 0);
    EXPECT_STREQ(text, "2001/2/3 4:5:6");
    std::strcpy(text, "unchanged");
    EXPECT_EQ(HostFileTime((path + ".missing").c_str(), text), 0);
    EXPECT_STREQ(text, "unchanged");
    std::remove(path.c_str());
}

TEST(HostServices, TitleAndSleep) {
    HostSetTitle("夕闇  -DuskIlvane v0.702-"_sj);
    std::string title;
    ASSERT_TRUE(HostTakeTitle(&title));
    EXPECT_EQ(title, "夕闇  -DuskIlvane v0.702-");
    EXPECT_FALSE(HostTakeTitle(&title));

    HostUseVirtualClock(true);
    HostResetInput();
    HostSetMouseButtons(MOUSE_RIGHT);
    uint32_t before = HostTickCount();
    EXPECT_EQ(HostSleep(), MOUSE_RIGHT);
    EXPECT_EQ(HostTickCount() - before, 10u);
    EXPECT_EQ(HostClockNow().millisecond, 10);
    HostUseVirtualClock(false);
}

}  // namespace

namespace {

// On the real clock a cycle lasts at least its period: the rest of it is slept, never spun
// through at full speed. (A lower bound only: sleeping never ends early.)
TEST(HostServices, CyclesArePacedOnTheRealClock) {
    HostUseVirtualClock(false);
    HostCycleEnd();
    uint32_t start = HostTickCount();
    for (int i = 0; i < 20; ++i)
        HostCycleEnd();
    EXPECT_GE(HostTickCount() - start, 20 * kCyclePeriodMs - 1);
}

// On the virtual clock a cycle takes what is left of its period, so one that slept (the window
// task's mouse poll) costs its sleep and no more, as on the real clock. Restarting the clock
// forgets the last cycle: the first one after it takes a whole period.
TEST(HostServices, VirtualCyclesTakeTheRestOfTheirPeriod) {
    for (int run = 0; run < 2; ++run) {
        HostUseVirtualClock(true);
        HostCycleEnd();
        EXPECT_EQ(HostTickCount(), kCyclePeriodMs) << "run " << run;
        const struct {
            uint32_t slept, cycle;
        } cases[] = {{0, 1}, {10, 10}, {1, 1}, {0, 1}, {25, 25}, {10, 10}};
        for (const auto& c : cases) {
            const uint32_t before = HostTickCount();
            HostClockSleep(c.slept);
            HostCycleEnd();
            EXPECT_EQ(HostTickCount() - before, c.cycle) << "run " << run << " slept " << c.slept;
        }
    }
    HostUseVirtualClock(false);
}

}  // namespace
