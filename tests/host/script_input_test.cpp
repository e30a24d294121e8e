// Input files: their lines, their errors, and when the program thread applies their events.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "host/clock.h"
#include "host/input.h"
#include "host/script_input.h"

namespace {

// One event as "time kind value x y file".
std::string Show(const ScriptEvent& e) {
    return std::to_string(e.time) + " " + std::to_string(int(e.kind)) + " " +
           std::to_string(e.value) + " " + std::to_string(e.x) + " " + std::to_string(e.y) + " " +
           e.file;
}

TEST(ScriptParse, EveryEventKindOrderedByTimeKeepingLineOrder) {
    std::vector<ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(
        ParseScript("# a comment\n"
                    "\n"
                    "100 key 13\n"
                    "  110 char 0x82\r\n"
                    "120 down 10 -20 right\n"
                    "130 down 5 6\n"
                    "140 up\n"
                    "150 move 799 599\n"
                    "160 mod 0x02\n"
                    "170 shot out dir/first shot.png\n"
                    "180 close\n"
                    "110 char 0xA0\n"
                    "0 key 2\n",
                    &events, &error))
        << error;
    std::vector<std::string> shown;
    for (const ScriptEvent& e : events)
        shown.push_back(Show(e));
    auto event = [](uint32_t time, ScriptKind kind, uint32_t value, int x = 0, int y = 0,
                    std::string file = "") {
        ScriptEvent e{};
        e.time = time, e.kind = kind, e.value = value, e.x = x, e.y = y, e.file = file;
        return Show(e);
    };
    EXPECT_EQ(shown, (std::vector<std::string>{
                         event(0, ScriptKind::Key, 2),
                         event(100, ScriptKind::Key, 13),
                         event(110, ScriptKind::Char, 0x82),
                         event(110, ScriptKind::Char, 0xA0),
                         event(120, ScriptKind::Down, MOUSE_RIGHT, 10, -20),
                         event(130, ScriptKind::Down, MOUSE_LEFT, 5, 6),
                         event(140, ScriptKind::Up, 0),
                         event(150, ScriptKind::Move, 0, 799, 599),
                         event(160, ScriptKind::Mod, 2),
                         event(170, ScriptKind::Shot, 0, 0, 0, "out dir/first shot.png"),
                         event(180, ScriptKind::Close, 0),
                     }));
}

TEST(ScriptParse, BadLinesNameTheirNumber) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"10 key 13\nsoon key 13\n", "line 2: bad time"},
        {"10 press 13\n", "line 1: unknown event \"press\""},
        {"10 key\n", "line 1: wrong number"},
        {"10 key 70000\n", "line 1: bad value"},
        {"10 down 1 2 middle\n", "line 1: unknown button"},
        {"10 up now\n", "line 1: wrong number"},
        {"10\n", "line 1: missing event"},
        {"-5 close\n", "line 1: bad time"},
    };
    for (const Case& c : cases) {
        std::vector<ScriptEvent> events;
        std::string error;
        EXPECT_FALSE(ParseScript(c.text, &events, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << c.text << " gave " << error;
    }
}

class ScriptApplyTest : public ::testing::Test {
protected:
    void SetUp() override {
        HostUseVirtualClock(true);
        HostResetInput();
        path_ = ::testing::TempDir() + "script_apply.input";
    }
    void TearDown() override {
        HostClearScript();
        HostUseVirtualClock(false);
        std::remove(path_.c_str());
    }
    void Load(const std::string& text) {
        std::ofstream(path_) << text;
        std::string error;
        ASSERT_TRUE(HostLoadScript(path_.c_str(), &error)) << error;
    }
    std::string path_;
};

TEST_F(ScriptApplyTest, EventsApplyWhenTheClockReachesThem) {
    Load("5 key 13\n5 mod 2\n10 down 30 40\n20 up\n20 char 0x82\n20 char 0xA0\n30 close\n");
    EXPECT_EQ(HostApplyScript(true), ScriptRequest::None);
    EXPECT_EQ(HostReadKey(), 0);
    HostAdvanceClock(5);
    EXPECT_EQ(HostApplyScript(true), ScriptRequest::None);
    EXPECT_EQ(HostReadKey(), 13);
    EXPECT_EQ(HostModifiers(), MOD_CONTROL);
    HostAdvanceClock(5);
    HostApplyScript(false);
    EXPECT_EQ(HostPollMouseButtons(), MOUSE_LEFT);
    EXPECT_EQ(HostCursorX(), 30);
    EXPECT_EQ(HostCursorY(), 40);
    HostAdvanceClock(20);
    // At a wait inside a cycle the input is applied but the close waits for the cycle end.
    EXPECT_EQ(HostApplyScript(false), ScriptRequest::None);
    EXPECT_EQ(HostMouseButtons(), MOUSE_NONE);
    EXPECT_EQ(HostReadKey(), 0x82);
    EXPECT_EQ(HostReadKey(), 0xA0);
    EXPECT_EQ(HostApplyScript(true), ScriptRequest::Close);
    EXPECT_EQ(HostApplyScript(true), ScriptRequest::None);
}

}  // namespace
