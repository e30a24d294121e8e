// The memory pool and the start-up of the kernel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "host/clock.h"
#include "host/message_box.h"
#include "host/screen.h"
#include "kernel/event.h"
#include "kernel/event_task.h"
#include "kernel/kernel_test_env.h"
#include "kernel/startup.h"
#include "resource/resource.h"

namespace {

class PoolTest : public NomaTest {};

TEST_F(PoolTest, FirstAllocationsFollowTheMarks) {
    PoolMarks before = GetPoolMarks();
    EXPECT_EQ(before.base_line, 4096u * 28);
    EXPECT_EQ(before.relocate_line, before.base_line);
    EXPECT_EQ(PoolAlloc(600), 1u);  // the entry at the pool start
    EXPECT_EQ(PoolAlloc(40), 2u);
    PoolMarks after = GetPoolMarks();
    EXPECT_EQ(after.relocate_line - after.base_line, 640u);
    EXPECT_EQ(after.unrelocate_line, 2u * 28);
    EXPECT_EQ(handle_entry(1)->size, 600);
    MemoryCompaction();  // no gaps: nothing moves
    EXPECT_EQ(GetPoolMarks().relocate_line, after.relocate_line);
    EXPECT_TRUE(Logged("MemoryCompaction Call !!"));
    for (Handle bad : {0u, 3u, 12345678u})  // empty, never handed out, beyond the table
        EXPECT_EQ(handle_body(bad), nullptr) << bad;
}

TEST_F(PoolTest, HandlesSurviveTableGrowthAndCompaction) {
    UsePool(1 << 20, 64);
    std::vector<Handle> handles;
    for (int i = 0; i < 200; ++i) {
        Handle h = PoolAlloc(uint32_t(13 + i % 7));
        ASSERT_NE(h, 0u) << i;
        std::memset(handle_body(h), i & 0xFF, handle_entry(h)->size);
        handles.push_back(h);
    }
    EXPECT_GE(HandleTableEntries(), 200u);
    EXPECT_TRUE(Logged("base line up 50"));
    MemoryCompaction();
    for (int i = 0; i < 200; ++i)
        for (int k = 0; k < 13 + i % 7; ++k)
            ASSERT_EQ(handle_body(handles[i])[k], i & 0xFF) << i;
}

TEST_F(PoolTest, FullDataAreaReturnsEmptyAndKeepsTheEntryFree) {
    UsePool(4096, 16);  // 448 bytes of table, the rest data
    ASSERT_EQ(PoolAlloc(3000), 1u);
    EXPECT_EQ(PoolAlloc(1000), 0u);
    // The unrelocate line is still below the base line: the next entry is taken from there.
    EXPECT_EQ(PoolAlloc(10), 3u);
    for (Handle h = 4; h <= 16; ++h)
        ASSERT_EQ(PoolAlloc(1), h);
    // The table is used up: the search from the start finds the entry left free.
    EXPECT_EQ(PoolAlloc(1), 2u);
}

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
    std::string banner_;
};

TEST_F(StartupTest, AFullKeyFileBringsTheKernelUpInOrder) {
    g_screen_width = 800;
    WriteFile(
        "NOMA.ini",
        "Sys.error.elogfile test.log\nTEST_RUN ON\nUSER_NAME Taro Yamada of the Northern Hills\n"
        "LONG_MACHINE_NAME Box\nSHORT_MACHINE_NAME BoxShort\nMEMORY_TYPE MOTOROLA\n"
        "CYCLE_WAIT 5\nFASTSYNC_WAIT 3\nMAX_EVENT 300\nUSE_COLOR 3\n"
        "SCREEN_SIZEX 640\nSCREEN_SIZEY 480\n");
    EXPECT_EQ(Init(), "");  // no box, the initialisation check included
    EXPECT_EQ(banner_.rfind("NOMA V0.4 R17(7200)", 0), 0u);
    // The order of the start-up shows in the order of its lines.
    const std::vector<std::string> expected = {
        "NOMA V0.4 R17 Saltmarrow",
        "    loging start 2000/1/1 12:0",
        "\tinstall NOMA.",
        "\tNOMA on  Box(BoxShort)    OWNER TaroYamadaoftheNorthe",  // 21 characters
        "\tmemory type is \"MOTOROLA\"",
        "    struct size   window 88  win obj 104.",
        "\tscreen size 640/ 480 dot.",
        "\tevent info size 20(keep 28)\tevent struct size 600",
    };
    std::vector<std::string> log = LogLines();
    std::erase_if(log, [&](const std::string& line) {
        return std::find(expected.begin(), expected.end(), line) == expected.end();
    });
    EXPECT_EQ(log, expected);
    EXPECT_TRUE(TestSystemFlag(FLAG_MOTOROLA | FLAG_TEST_RUN));
    EXPECT_EQ(g_max_event, 44);  // 300 in 8 bits
    EXPECT_EQ(g_system.fastsync_wait, 3);
    EXPECT_EQ(g_screen_width, 640);
    EXPECT_EQ(g_system.phase, PHASE_INIT);
    EXPECT_EQ(g_system.start_time.date, g_system.current_time.date);
    EXPECT_EQ(event_record(g_event_head)->code, EVENT_FIRST);
    EXPECT_EQ(RecordCount(g_resources.event), 1);
    EXPECT_FALSE(HostScreenClosed());
}

TEST_F(StartupTest, MissingEmptyOrGarbledKeyFilesEndTheProgramAfterTheStartUp) {
    std::remove("NOMA.ini");
    std::string boxes = Init();
    EXPECT_NE(boxes.find("MEMORY_TYPE unknow! NOMA.ini"), std::string::npos);
    EXPECT_NE(boxes.find("SYSTEMWAITが記述されてません NOMA.ini nis ot0.4"), std::string::npos);
    EXPECT_TRUE(HostScreenClosed());
    std::string log = ReadFile("VavIDIZ.dat");  // no log name configured
    EXPECT_NE(log.find("File OpenError ! NOMA.ini\r\n"), std::string::npos);
    EXPECT_NE(log.find("\tevent info size 20(keep 28)\tevent struct size 600\r\n"),
              std::string::npos);
    EXPECT_EQ(g_max_event, 255);
    EXPECT_EQ(g_system.phase, PHASE_INIT);  // the start-up ran to its end
    EXPECT_NE(g_resources.task, 0u);

    for (const std::string& content :
         {std::string(),
          std::string("\x1a"
                      "CYCLE_WAIT 5\n"),
          std::string(5000, '\xff'),
          std::string("CYCLE_WAIT 5\n"),  // one wait key is not enough
          std::string("MEMORY_TYPE PDP\nCYCLE_WAIT\0 5\nFASTSYNC_WAIT 7", 42)}) {
        WriteFile("NOMA.ini", content);
        EXPECT_NE(Init().find("SYSTEMWAITが記述されてません"), std::string::npos);
        EXPECT_TRUE(HostScreenClosed());
        EXPECT_EQ(g_system.phase, PHASE_INIT);
        CloseErrorLog();
    }
    // A value other than the two memory types is named as wrong.
    WriteFile("NOMA.ini", "MEMORY_TYPE PDP\nCYCLE_WAIT 1\nFASTSYNC_WAIT 1\n");
    EXPECT_NE(Init().find("SYSTEM.iniのMEMORY_TYPEが記述が違います！"), std::string::npos);
    EXPECT_FALSE(HostScreenClosed());
}

}  // namespace
