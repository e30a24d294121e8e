// Headless boots of the whole system: start-up on the window's creation, the system tasks,
// scripted input, screenshots, the user's close turned into the system's shutdown, one copy
// per folder and a start-up that ends the program itself.
#include <signal.h>

#include <algorithm>
#include <filesystem>

#include "system/system_run.h"

namespace {

class HeadlessBoot : public SystemTest {
protected:
    void SetUp() override {
        SystemTest::SetUp();
        UseData("boot");
    }
};

// Start-up, the system tasks' first events in cycle order and "System start".
const std::vector<std::string> kBootLines = {
    "NOMA V0.4 R17 Saltmarrow",
    "    loging start 2000/1/1 12:0",
    "\tscreen size 640/ 480 dot.",
    "    TUVO 0.605 active",
    "       Win Version *",
    "       Computer name *",
    "**** START! THREAD PROGRAM!! ****",
    "System ready",
    Sj("ID  9 : EventTask ｽﾀｰﾄ"),
    Sj("ID 22 : KeyTask ｽﾀｰﾄ"),
    Sj("ID  2 : WindowTask ｽﾀｰﾄ"),
    Sj("ID  7 : MenuTask ｽﾀｰﾄ"),
    Sj("ID 18 : TextTask ｽﾀｰﾄ"),
    Sj("ID 11 : AnimeTask ｽﾀｰﾄ"),
    Sj("ID 12 : EffectTask ｽﾀｰﾄ"),
    Sj("ID 19 : StartScreenTEST ｽﾀｰﾄ"),
    Sj("ID 30 : Ilvane ｽﾀｰﾄ"),
    "System start",
};

// The user's close: the host's lines, then the manager's shutdown.
std::vector<std::string> CloseLines() {
    std::vector<std::string> lines = {"TUVO CLOSED", "TUVO Direct close request!"};
    for (const std::string& line : ShutdownLines())
        lines.push_back(line);
    return lines;
}

TEST_F(HeadlessBoot, BootsRunsTheScriptAndClosesInOrderTheSameEachTime) {
    // (Scripted keys reaching the tasks are checked by the key and text-input runs.)
    Write("t.input",
          "# boot, a screenshot, the mouse, close\n"
          "30 shot shots.png\n40 down 10 10\n45 up\n200 close\n");
    NomaRun run = Run({"--headless", "--input", "t.input"});
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, 0) << run.err;
    std::vector<std::string> expected = kBootLines;
    for (const std::string& line : CloseLines())
        expected.push_back(line);
    EXPECT_TRUE(LogInOrder(expected));
    // The log is closed by the shutdown: the stream count is its last line.
    const std::vector<std::string> first = Log();
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.back().rfind(Sj("終了時ｵｰﾌﾟﾝされていたｽﾄﾘｰﾑ数 "), 0), 0u);
    // The screenshot is a PNG of the screen's size, and its path is reported.
    std::string png = Read("shots.png");
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x02\x80\0\0\x01\xE0", 8));
    EXPECT_NE(run.out.find("noma: screenshot " + folder_ + "/shots.png"), std::string::npos)
        << run.out;
    // A second run of the same input writes the same log.
    std::filesystem::remove(folder_ + "/NOMArev.dat");
    ASSERT_EQ(Run({"--headless", "--input", "t.input"}).exit_status, 0);
    EXPECT_EQ(Log(), first);
}

TEST_F(HeadlessBoot, OneCopyPerFolderAndASignalClosesTheWindow) {
    Write("t.input", "86400000 close\n");
    pid_t first = Start({"--headless", "--input", "t.input"});
    ASSERT_TRUE(WaitForLog("System start", 30000));
    // A second copy in the same folder returns at once and leaves the first untouched.
    NomaRun second = Run({"--headless"}, {}, 30000);
    EXPECT_FALSE(second.timed_out);
    EXPECT_EQ(second.exit_status, 0);
    EXPECT_TRUE(second.out.empty()) << second.out;
    EXPECT_TRUE(LogInOrder(kBootLines));
    // SIGTERM closes the window as the user would; the system shuts down in order.
    ASSERT_EQ(kill(first, SIGTERM), 0);
    NomaRun run = Wait(first, 30000);
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, 0) << run.err;
    EXPECT_TRUE(LogInOrder(CloseLines()));
    std::vector<std::string> log = Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "    TUVO 0.605 active"), 1);
}

TEST_F(HeadlessBoot, MissingWaitKeysEndTheProgramAfterStartUp) {
    SetIni("CYCLE_WAIT", "");
    NomaRun run = Run({"--headless"}, {}, 30000);
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_NE(run.err.find("TUVO: SYSTEMWAITが記述されてません NOMA.ini nis ot0.4"),
              std::string::npos)
        << run.err;
    EXPECT_TRUE(LogInOrder({"    TUVO 0.605 active"}));
}

TEST_F(HeadlessBoot, CommandLineMistakesAreReported) {
    Write("bad.input", "10 key 13\n20 press 5\n");
    NomaRun run = Run({"--headless", "--input", "bad.input"});
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_NE(run.err.find("bad.input: line 2: unknown event \"press\""), std::string::npos)
        << run.err;
    run = Run({"--frobnicate"});
    EXPECT_EQ(run.exit_status, 2);
    EXPECT_NE(run.err.find("unknown option --frobnicate"), std::string::npos);
    run = Run({"--help"});
    EXPECT_EQ(run.exit_status, 0);
    EXPECT_NE(run.out.find("usage: noma"), std::string::npos);
    EXPECT_TRUE(Log().empty());
}

}  // namespace
