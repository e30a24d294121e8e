// Whole-system runs with the player's settings: player.ini in the game folder under the command
// line, the font fall-back said once on stderr and in the log, and a headless run that leaves
// the player's files alone.
#include <unistd.h>

#include "system/system_run.h"

namespace {

class PlayerRun : public SystemTest {
protected:
    void SetUp() override {
        SystemTest::SetUp();
        UseData("boot");
        Write("t.input", "100 close\n");
    }
    static int Count(const std::string& text, const std::string& part) {
        int n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }
};

TEST_F(PlayerRun, TheFilesFontFallsBackOnceAndTheCommandLineOverridesIt) {
    Write("player.ini", "# mine\nmincho_font = No Such Mincho\nvolume = 3\n");
    NomaRun run = Run({"--headless", "--input", "t.input"});
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, 0) << run.err;
    const std::string fallback = "font family \"No Such Mincho\" not found; Mincho text uses IPA";
    EXPECT_EQ(Count(run.err, fallback), 1) << run.err;
    EXPECT_EQ(LogCount(fallback), 1);
    EXPECT_EQ(Count(run.err, "player.ini line 3: unknown setting \"volume\""), 1) << run.err;

    run = Run({"--headless", "--input", "t.input", "--mincho", "IPAGothic"});
    EXPECT_EQ(run.exit_status, 0) << run.err;
    EXPECT_EQ(Count(run.err, "No Such Mincho"), 0) << run.err;
    EXPECT_EQ(LogCount("No Such Mincho"), 0);

    // A missing soundfont on the command line, relative to where noma started.
    run = Run({"--headless", "--input", "t.input", "--soundfont", "gone.sf2"});
    EXPECT_EQ(run.exit_status, 0) << run.err;
    EXPECT_EQ(Count(run.err, "gone.sf2 not found"), 1) << run.err;
    EXPECT_EQ(LogCount("gone.sf2 not found"), 1);
}

TEST_F(PlayerRun, AHeadlessRunWritesNoPlayerFiles) {
    Write("player.ini", "scale = 2\nwindow_width = 900\nwindow_height = 700\n");
    NomaRun run = Run({"--headless", "--input", "t.input", "--fullscreen", "--mute"});
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, 0) << run.err;
    EXPECT_EQ(Read("player.ini"), "scale = 2\nwindow_width = 900\nwindow_height = 700\n");
    EXPECT_NE(access((folder_ + "/screenshots").c_str(), F_OK), 0);
}

}  // namespace
