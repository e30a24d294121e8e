#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <string>

#include "host/clock.h"
#include "kernel/install_record.h"
#include "kernel/system.h"
#include "support/test_env.h"

namespace {

class InstallRecordTest : public NomaTest {
protected:
    void SetUp() override {
        NomaTest::SetUp();
        HostUseVirtualClock(true);  // 2000-01-01 12:00
    }
    void TearDown() override {
        HostUseVirtualClock(false);
        NomaTest::TearDown();
    }
    int InstallDateLines() {
        int n = 0;
        for (const std::string& line : LogLines())
            n += line.rfind("\tinstall date", 0) == 0;
        return n;
    }
    InstallRecord Stored() {
        InstallRecord record{};
        std::string bytes = ReadFile(kInstallRecordFile);
        EXPECT_EQ(bytes.size(), sizeof record);
        std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof record));
        return record;
    }
    void Store(const InstallRecord& record) {
        WriteFile(kInstallRecordFile,
                  std::string(reinterpret_cast<const char*>(&record), sizeof record));
    }
};

TEST_F(InstallRecordTest, FirstStartsCountFromZero) {
    ASSERT_EQ(UpdateInstallRecord(), 0);
    EXPECT_TRUE(Logged("\tinstall NOMA."));
    EXPECT_TRUE(Logged("\tversion up 0.4(old version )"));
    EXPECT_TRUE(Logged("\trevision up 17(old revision )"));
    EXPECT_TRUE(Logged("\tinstall date 2000/1/1 12:0 start count 0"));
    InstallRecord first = Stored();
    EXPECT_STREQ(first.version, "0.4");
    EXPECT_STREQ(first.revision, "17");
    EXPECT_EQ(first.start_count, 0u);
    EXPECT_EQ(first.stamp2.date | first.stamp2.time | first.stamp3.date | first.stamp3.time, 0u);

    ASSERT_EQ(UpdateInstallRecord(), 0);
    ASSERT_EQ(UpdateInstallRecord(), 0);
    InstallRecord third = Stored();
    EXPECT_EQ(third.start_count, 2u);
    EXPECT_EQ(g_system.start_count, 2u);
    EXPECT_EQ(third.install_date.date, first.install_date.date);
    EXPECT_TRUE(Logged("\tinstall date 2000/1/1 12:0 start count 2"));

    // Shutdown writes the counters back and leaves the rest.
    g_system.counters[0] = 7;
    g_system.counters[2] = 9;
    ASSERT_EQ(SaveInstallRecord(), 0);
    InstallRecord saved = Stored();
    EXPECT_EQ(saved.counters[0], 7u);
    EXPECT_EQ(saved.counters[2], 9u);
    EXPECT_EQ(saved.start_count, 2u);
}

TEST_F(InstallRecordTest, AnOlderVersionIsBroughtUpAndRestartsTheCount) {
    InstallRecord old{};
    std::strcpy(old.version, "0.3");
    std::strcpy(old.revision, "12");
    old.install_date = MakeClockRecord(1998, 4, 5, 6, 7, 8, 9);
    old.counters[0] = 11;
    old.counters[1] = 22;
    old.counters[2] = 33;
    old.start_count = 41;
    Store(old);
    ASSERT_EQ(UpdateInstallRecord(), 0);
    EXPECT_TRUE(Logged("\tversion up 0.4(old version 0.3)"));
    EXPECT_TRUE(Logged("\trevision up 17(old revision 12)"));
    EXPECT_TRUE(Logged("\tinstall date 1998/4/5 6:7 start count 0"));
    EXPECT_EQ(g_system.counters[2], 33u);
    InstallRecord now = Stored();
    EXPECT_STREQ(now.version, "0.4");
    EXPECT_EQ(now.start_count, 0u);

    // The same version again: counted on, no version line.
    ASSERT_EQ(UpdateInstallRecord(), 0);
    EXPECT_EQ(Stored().start_count, 1u);
}

TEST_F(InstallRecordTest, BrokenOrUnwritableRecordsDoNotStopTheStart) {
    WriteFile(kInstallRecordFile, std::string(12, 'Z'));  // short, no terminators
    EXPECT_EQ(UpdateInstallRecord(), 0);
    EXPECT_TRUE(Logged("\tversion up 0.4(old version ZZZZZZ)"));
    int dated = InstallDateLines();
    std::remove(kInstallRecordFile);
    ASSERT_EQ(mkdir(kInstallRecordFile, 0755), 0);  // cannot be written
    EXPECT_EQ(UpdateInstallRecord(), -1);
    EXPECT_EQ(InstallDateLines(), dated);
    EXPECT_EQ(SaveInstallRecord(), -1);
    EXPECT_TRUE(Logged("save loging error!"));
}

}  // namespace
