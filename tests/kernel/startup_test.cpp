#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "host/clock.h"
#include "host/message_box.h"
#include "host/screen.h"
#include "kernel/event.h"
#include "kernel/event_task.h"
#include "kernel/kernel_test_env.h"
#include "kernel/log.h"
#include "kernel/scheduler.h"
#include "kernel/startup.h"
#include "kernel/system.h"
#include "resource/resource.h"

namespace {

class StartupTest : public NomaTest {
protected:
    void SetUp() override {
        NomaTest::SetUp();
        HostSetHeadless(true);
        HostUseVirtualClock(true);
    }
    void TearDown() override {
        ResetKernel();
        HostUseVirtualClock(false);
        NomaTest::TearDown();
    }
    // Runs SystemInit; returns what it wrote to stderr (the host boxes, headless).
    std::string Init() {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        SystemInit();
        banner_ = testing::internal::GetCapturedStdout();
        return testing::internal::GetCapturedStderr();
    }
    std::vector<std::string> DefaultLog() {
        if (ErrorLogStream()) std::fflush(ErrorLogStream());
        std::vector<std::string> lines;
        std::istringstream in(ReadFile("VavIDIZ.dat"));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }
    bool Contains(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    std::string banner_;
};

TEST_F(StartupTest, AFullKeyFileBringsTheKernelUpInOrder) {
    g_screen_width = 800;
    WriteFile("NOMA.ini",
              "Sys.error.elogfile test.log\n"
              "TEST_RUN ON\n"
              "USER_NAME Taro Yamada\n"
              "LONG_MACHINE_NAME Box\n"
              "SHORT_MACHINE_NAME BoxShort\n"
              "MEMORY_TYPE MOTOROLA\n"
              "CYCLE_WAIT 5\n"
              "FASTSYNC_WAIT 3\n"
              "MAX_EVENT 300\n"
              "USE_COLOR 3\n"
              "SCREEN_SIZEX 640\n"
              "SCREEN_SIZEY 480\n");
    std::string boxes = Init();
    EXPECT_EQ(boxes, "");  // no box, the initialisation check included
    EXPECT_EQ(banner_.rfind("NOMA V0.4 R17(7200)", 0), 0u);
    std::vector<std::string> log = LogLines();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "NOMA V0.4 R17 Saltmarrow");
    EXPECT_EQ(log[1], "    loging start 2000/1/1 12:0");
    // The order of the start-up shows in the order of its lines.
    std::vector<std::string> expected = {
        "\tinstall NOMA.",
        "\tNOMA on  Box(BoxShort)    OWNER TaroYamada",
        "\tmemory type is \"MOTOROLA\"",
        "    struct size   window 88  win obj 104.",
        "\tscreen size 640/ 480 dot.",
        "\tevent info size 20(keep 28)\tevent struct size 600",
    };
    size_t at = 0;
    for (const std::string& line : log)
        if (at < expected.size() && line == expected[at]) ++at;
    EXPECT_EQ(at, expected.size())
        << "missing or out of order: " << expected[std::min(at, expected.size() - 1)];
    EXPECT_TRUE(TestSystemFlag(FLAG_MOTOROLA | FLAG_TEST_RUN));
    EXPECT_EQ(g_max_event, 44);  // 300 in 8 bits
    EXPECT_EQ(g_system.cycle_wait, 5);
    EXPECT_EQ(g_system.fastsync_wait, 3);
    EXPECT_EQ(g_use_color, 3);
    EXPECT_EQ(g_screen_width, 640);
    EXPECT_STREQ(g_system.system_name, "NOMA");
    EXPECT_EQ(g_system.phase, PHASE_INIT);
    EXPECT_EQ(g_system.start_time.date, g_system.current_time.date);
    EXPECT_NE(g_event_head, 0u);
    EXPECT_EQ(event_record(g_event_head)->code, EVENT_FIRST);
    EXPECT_EQ(RecordCount(g_resources.event), 1);
    EXPECT_FALSE(HostScreenClosed());
}

TEST_F(StartupTest, AMissingKeyFileEndsTheProgramAfterTheStartUp) {
    std::remove("NOMA.ini");
    std::string boxes = Init();
    EXPECT_NE(boxes.find("MEMORY_TYPE unknow! NOMA.ini"), std::string::npos);
    EXPECT_NE(boxes.find("SYSTEMWAITが記述されてません NOMA.ini nis ot0.4"), std::string::npos);
    EXPECT_TRUE(HostScreenClosed());
    std::vector<std::string> log = DefaultLog();  // no log name configured
    EXPECT_TRUE(Contains(log, "File OpenError ! NOMA.ini"));
    EXPECT_TRUE(Contains(log, "\tevent info size 20(keep 28)\tevent struct size 600"));
    EXPECT_EQ(g_max_event, 255);
    EXPECT_EQ(g_system.phase, PHASE_INIT);  // the start-up ran to its end
    EXPECT_NE(g_resources.task, 0u);
}

TEST_F(StartupTest, EmptyOrGarbledKeyFilesReadAsAbsentKeys) {
    for (const std::string& content :
         {std::string(),
          std::string("\x1a"
                      "CYCLE_WAIT 5\n"),
          std::string(5000, '\xff'),
          std::string("MEMORY_TYPE PDP\nCYCLE_WAIT\0 5\nFASTSYNC_WAIT 7", 42)}) {
        WriteFile("NOMA.ini", content);
        std::string boxes = Init();
        EXPECT_TRUE(HostScreenClosed());
        EXPECT_NE(boxes.find("SYSTEMWAITが記述されてません"), std::string::npos);
        EXPECT_EQ(g_system.phase, PHASE_INIT);
        CloseErrorLog();
    }
    // A value other than the two memory types is named as wrong.
    WriteFile("NOMA.ini", "MEMORY_TYPE PDP\nCYCLE_WAIT 1\nFASTSYNC_WAIT 1\n");
    std::string boxes = Init();
    EXPECT_NE(boxes.find("SYSTEM.iniのMEMORY_TYPEが記述が違います！"), std::string::npos);
    EXPECT_FALSE(HostScreenClosed());
}

}  // namespace
