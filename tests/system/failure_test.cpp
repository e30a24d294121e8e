// Whole-system runs that cannot go as planned: no memory for the pool, no display, no fonts.
// Each ends with a clear word and an orderly exit, never an abort or an invisible run.
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "system/system_run.h"

namespace {

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

class FailingRun : public SystemTest {
protected:
    void SetUp() override {
        SystemTest::SetUp();
        UseData("boot");
        Write("t.input", "100 close\n");
    }
};

TEST_F(FailingRun, APoolThatCannotBeMadeEndsTheProgramWithStatusOne) {
    // The sanitizers reserve far more address space than the limit leaves.
    if (kSanitized) GTEST_SKIP() << "address space limits do not combine with sanitizers";
    if (Command("command -v prlimit").empty()) GTEST_SKIP() << "prlimit is not installed";
    wrapper_ = {"prlimit", "--as=1200000000"};
    NomaRun run = Run({"--headless", "--input", "t.input"});
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, 1) << run.err;
    EXPECT_EQ(run.err.find("terminate"), std::string::npos) << run.err;
    EXPECT_TRUE(LogInOrder({"NOMA V0.4 R17 Saltmarrow", Sj("ﾒﾓﾘﾌﾟｰﾙが作成できませんでした")}));
}

TEST_F(FailingRun, WithoutADisplayTheWindowedRunPointsToHeadless) {
    NomaRun run = Run({}, {"SDL_VIDEODRIVER", "DISPLAY", "WAYLAND_DISPLAY"}, 30000);
    ASSERT_FALSE(run.timed_out);
    EXPECT_NE(run.exit_status, 0);
    EXPECT_NE(run.err.find("no display"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--headless"), std::string::npos) << run.err;
}

TEST_F(FailingRun, MissingFontsAreReportedOnceOnStderrAndInTheLog) {
    Write("nofonts.conf",
          "<?xml version=\"1.0\"?>\n<fontconfig><cachedir>/tmp/noma-nofonts</cachedir>"
          "</fontconfig>\n");
    // A window with a title makes the system draw text.
    NomaRun run =
        Run({"--headless", "--input", "t.input"}, {"FONTCONFIG_FILE=" + folder_ + "/nofonts.conf"});
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, 0) << run.err;
    size_t first = run.err.find("noma: no font found for Mincho and Gothic");
    ASSERT_NE(first, std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("noma: no font found", first + 1), std::string::npos) << "said once";
    int logged = 0;
    for (const std::string& line : Log())
        logged += line.rfind("noma: no font found", 0) == 0;
    EXPECT_EQ(logged, 1);
}

TEST_F(FailingRun, AStuckSystemEndsOnTheSecondSignalWithStatusOne) {
    // A host whose cycles never end and never look at the stop flag, on the real clock.
    program_ = "stuck_program";
    pid_t pid = Start({});
    std::string out = ".out" + std::to_string(run_);
    for (int i = 0; i < 3000 && Read(out).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(Read(out), "stuck: cycles begin\n");
    // The first signal is a close, which waits for a cycle end that never comes.
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(waitpid(pid, nullptr, WNOHANG), 0) << "the first signal must only ask to close";
    // The second one ends the program: the stuck thread is left behind, and that is said.
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    NomaRun run = Wait(pid, 20000);
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, 1);
    EXPECT_NE(run.err.find("noma: the program thread did not stop within 3000 ms"),
              std::string::npos)
        << run.err;
}

}  // namespace
