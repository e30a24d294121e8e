// The error log: its header, the TRACE, DEBAG and shutdown rules, system message lines.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/clock.h"
#include "kernel/log.h"
#include "kernel/system.h"
#include "support/test_env.h"

namespace {

class LogTest : public NomaTest {
protected:
    void TearDown() override {
        HostUseVirtualClock(false);
        NomaTest::TearDown();
    }
    // The log file as it is on disk now, without flushing the stream.
    std::string OnDisk() { return ReadFile("test.log"); }
};

TEST_F(LogTest, HeaderLinesAreWrittenWhateverTheFlags) {
    HostUseVirtualClock(true);  // 2000-01-01 12:00
    StoreSystemFlags(0);
    OpenErrorLog();
    // Written and flushed at once, before any flag is read.
    EXPECT_EQ(OnDisk(), "NOMA V0.4 R17 Saltmarrow\r\n    loging start 2000/1/1 12:0\r\n");
    LogLine("not written");
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"NOMA V0.4 R17 Saltmarrow",
                                                    "    loging start 2000/1/1 12:0"}));
}

TEST_F(LogTest, TraceDebagAndShutdownDecideWhatIsWritten) {
    LogLine("first");
    LogLinef("number %d", 42);
    EXPECT_TRUE(Logged("first"));
    EXPECT_TRUE(Logged("number 42"));

    ClearSystemFlag(FLAG_TRACE);
    LogLine("while off");
    EXPECT_FALSE(LogLineActive());
    SetSystemFlag(FLAG_TRACE);
    EXPECT_FALSE(Logged("while off"));

    // DEBAG flushes every line: it is on disk without a flush of ours.
    SetSystemFlag(FLAG_DEBAG);
    LogLine("flushed");
    EXPECT_NE(OnDisk().find("flushed\r\n"), std::string::npos);

    // A text with its own line feed gives an empty line after it.
    LogLine("ends itself\n");
    std::vector<std::string> lines = LogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "ends itself");
    EXPECT_EQ(lines.back(), "");

    g_system.phase = PHASE_SHUTTING_DOWN;
    LogLine("after shutdown");
    g_system.phase = PHASE_INIT;
    EXPECT_FALSE(Logged("after shutdown"));

    CloseErrorLog();
    LogLine("after close");  // no stream: dropped
    EXPECT_FALSE(Logged("after close"));
}

TEST_F(LogTest, LogFileNameComesFromTheKeyOrTheDefault) {
    WriteFile("NOMA.ini", "Sys.error.elogfile other.log\n");
    OpenErrorLog();
    LogLine("here");
    CloseErrorLog();
    EXPECT_NE(ReadFile("other.log").find("here\r\n"), std::string::npos);
    WriteFile("NOMA.ini", "TRACE ON\n");
    OpenErrorLog();
    CloseErrorLog();
    EXPECT_EQ(ReadFile("VavIDIZ.dat").rfind("NOMA V0.4 R17 Saltmarrow\r\n", 0), 0u);
}

TEST_F(LogTest, SystemMessagesAreNumberedLines) {
    WriteFile("SYSTEM.MSG", "one\r\ntwo\r\nthree");
    LogSystemMessage(2, "detail");
    LogSystemMessage(3, nullptr);
    LogSystemMessage(9, "still logged");
    std::vector<std::string> lines = LogLines();
    auto at = [&](const std::string& s) {
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i] == s) return int(i);
        return -1;
    };
    ASSERT_GE(at("two"), 0);
    EXPECT_EQ(at("detail"), at("two") + 1);
    EXPECT_GE(at("three"), 0);  // the last line without a line feed
    EXPECT_FALSE(Logged("one"));
    EXPECT_TRUE(Logged("still logged"));  // a missing line: only the detail
}

}  // namespace
