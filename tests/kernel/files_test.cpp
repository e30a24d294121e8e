// The kernel's files: key files, the error log and the install record.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "core/config.h"
#include "core/log.h"
#include "core/system.h"
#include "host/clock.h"
#include "kernel/install_record.h"
#include "kernel/kernel_test_env.h"

namespace {

class ConfigTest : public NomaTest {
protected:
    std::string Get(const char* key, const char* file = "keys.ini") {
        char value[kIniValueSize];
        const char* found = GetIniString(key, value, file);
        return found ? std::string(found) : std::string("<missing>");
    }
};

TEST_F(ConfigTest, KeyMatchingAndValues) {
    // {file, key, value}: a failed partial match restarts after the failing character, the
    // value starts at the key's length into the line and loses every blank.
    const char* const cases[][3] = {
        {"AAB one\nxAB two\nAB three\n", "AB", "Btwo"},
        {"ABAB x\nABAC y\n", "ABAC", "y"},
        {"/USER_NAME commented\nUSER_NAME  Taro \t Yamada \n", "USER_NAME", "TaroYamada"},
        {"CYCLE_WAIT=5\n", "CYCLE_WAIT", "=5"},
        {"EMPTY\n", "EMPTY", ""},
        {"WIN_CRLF value\r\n", "WIN_CRLF", "value"},
        {"LAST 5", "LAST", "<missing>"},  // a last line without a line feed is never read
    };
    for (const auto& [file, key, value] : cases) {
        WriteFile("keys.ini", file);
        EXPECT_EQ(Get(key), value) << file;
    }
    EXPECT_TRUE(Logged(Sj("指定文字列 LASTが ｼｽﾃﾑ･ﾘｿｰｽﾌｧｲﾙ(keys.ini)に存在しません")));

    WriteFile("keys.ini", "LONGKEY " + std::string(300, 'x') + " TAILKEY\n");
    EXPECT_EQ(Get("LONGKEY"), std::string(255 - 8, 'x'));
    EXPECT_EQ(Get("TAILKEY"), "<missing>");  // beyond the 255 characters kept
    EXPECT_EQ(Get("ANY", "absent.ini"), "<missing>");
    EXPECT_TRUE(Logged("Inifile open error ! absent.ini"));
}

TEST_F(ConfigTest, NumbersAndBooleansFromValues) {
    WriteFile("keys.ini",
              "N1 abc-12x34\nN2 none\nB1 ON\nB2 No\nB3 yes\nB4 maybe\n"
              "B5 NOON\n"  // "on" is looked for before "no"
              "B6 offset\n");
    const std::pair<const char*, int> numbers[] = {{"N1", 12}, {"N2", -1}, {"N9", -1}};
    for (const auto& [key, number] : numbers)
        EXPECT_EQ(GetIniNumber(key, "keys.ini"), number) << key;
    const std::pair<const char*, int> bools[] = {{"B1", 1}, {"B2", 0}, {"B4", -1},
                                                 {"B5", 1}, {"B6", 0}, {"B9", -1}};
    for (const auto& [key, value] : bools)
        EXPECT_EQ(GetIniBool(key, "keys.ini"), value) << key;
    WriteFile("NOMA.ini", "Sys.error.elogfile test.log\nN3 70000\nN4 99999999999\n");
    EXPECT_EQ(SysNumber("N3"), int16_t(70000 - 65536));
    EXPECT_EQ(GetIniNumber("N4", "NOMA.ini"), INT32_MAX);
}

TEST_F(ConfigTest, FlagLinesSetAndClearTheirBits) {
    std::string messages;
    for (int i = 1; i <= 120; ++i)
        messages += "message " + std::to_string(i) + "\n";
    WriteFile("SYSTEM.MSG", messages);
    WriteFile("NOMA.ini",
              "Sys.error.elogfile test.log\n"
              "EVENT_TEST ON\n"
              "DEBAG ON\n"
              "/TASK ON\n"
              "TEST_RUN ON\n"
              "LOOP_EXIT on\n"           // case matters: neither ON nor OFF
              "START_PROGRAM TASKall\n"  // holds TASK, and neither ON nor OFF
              "TITLE ON\n"
              "DEBAG TASK OFF\n"               // DEBAG comes before TASK in the table
              "RESOUCE_TEST EVENT_TEST OFF\n"  // EVENT_TEST comes first in the table
              "PASSWORD ON");                  // never read: no line feed
    StoreSystemFlags(FLAG_TRACE | FLAG_TASK);
    EXPECT_EQ(ReadSystemFlags(), 0);
    EXPECT_EQ(SystemFlags(), FLAG_TRACE | FLAG_TASK | FLAG_TEST_RUN | FLAG_TITLE);
    std::vector<std::string> lines = LogLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "message 100"), 2) << "two bad lines";
}

// A NOMA.ini the user may only read (an installed game folder) is read by both readers. The
// checks run in a child process that really cannot write the file: root, whom file modes do
// not stop, becomes "nobody" there first.
TEST_F(ConfigTest, ReadOnlyKeyFilesAreReadByBothReaders) {
    WriteFile("NOMA.ini",
              "Sys.error.elogfile test.log\nCYCLE_WAIT 7\nEVENT_TEST ON\nDEBAG ON\n"
              "LOOP_EXIT ON\nTRACE OFF\n");
    ASSERT_EQ(chmod("NOMA.ini", 0444), 0);
    std::fflush(nullptr);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 &&
            (chmod(folder_.c_str(), 0755) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
            _exit(77);
        if (access("NOMA.ini", W_OK) == 0) _exit(77);  // still writable: nothing to show
        StoreSystemFlags(FLAG_TRACE);
        int result = ReadSystemFlags() == 0 ? 0 : 1;
        if (SystemFlags() != (FLAG_EVENT_TEST | FLAG_DEBAG | FLAG_LOOP_EXIT)) result |= 2;
        if (GetIniNumber("CYCLE_WAIT", "NOMA.ini") != 7) result |= 4;
        std::fflush(ErrorLogStream());
        _exit(result);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "NOMA.ini could not be made read-only";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: ReadSystemFlags failed, 2: wrong flags, "
                                         "4: GetIniNumber failed";
    EXPECT_FALSE(Logged("File OpenError ! NOMA.ini"));
}

class LogTest : public NomaTest {
protected:
    void TearDown() override {
        HostUseVirtualClock(false);
        NomaTest::TearDown();
    }
    // The log file as it is on disk now, without flushing the stream.
    std::string OnDisk() { return ReadFile("test.log"); }
};

TEST_F(LogTest, TheHeaderIsWrittenAtOnceAndLinesFollowTraceDebagAndShutdown) {
    HostUseVirtualClock(true);  // 2000-01-01 12:00
    StoreSystemFlags(0);
    OpenErrorLog();
    EXPECT_EQ(OnDisk(), "NOMA V0.4 R17 Saltmarrow\r\n    loging start 2000/1/1 12:0\r\n");
    LogLine("while off");
    EXPECT_FALSE(LogLineActive());

    StoreSystemFlags(FLAG_TRACE);
    LogLinef("number %d", 42);
    SetSystemFlag(FLAG_DEBAG);  // every line is flushed: on disk without a flush of ours
    LogLine("flushed");
    EXPECT_NE(OnDisk().find("number 42\r\nflushed\r\n"), std::string::npos);
    LogLine("ends itself\n");  // a text with its own line feed gives an empty line after it
    g_system.phase = PHASE_SHUTTING_DOWN;
    LogLine("after shutdown");
    g_system.phase = PHASE_INIT;
    CloseErrorLog();
    LogLine("after close");
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"NOMA V0.4 R17 Saltmarrow",
                                                    "    loging start 2000/1/1 12:0", "number 42",
                                                    "flushed", "ends itself", ""}));
}

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
    InstallRecord Stored() {
        InstallRecord record{};
        std::string bytes = ReadFile(kInstallRecordFile);
        EXPECT_EQ(bytes.size(), sizeof record);
        std::memcpy(&record, bytes.data(), std::min(bytes.size(), sizeof record));
        return record;
    }
};

TEST_F(InstallRecordTest, StartsAreCountedAndShutdownWritesTheCountersBack) {
    ASSERT_EQ(UpdateInstallRecord(), 0);
    EXPECT_TRUE(Logged("\tinstall NOMA."));
    EXPECT_TRUE(Logged("\tversion up 0.4(old version )"));
    EXPECT_TRUE(Logged("\trevision up 17(old revision )"));
    EXPECT_TRUE(Logged("\tinstall date 2000/1/1 12:0 start count 0"));
    InstallRecord first = Stored();
    EXPECT_STREQ(first.version, "0.4");
    EXPECT_STREQ(first.revision, "17");

    HostAdvanceClock(3600000);
    ASSERT_EQ(UpdateInstallRecord(), 0);
    ASSERT_EQ(UpdateInstallRecord(), 0);
    EXPECT_EQ(Stored().start_count, 2u);
    EXPECT_EQ(g_system.start_count, 2u);
    EXPECT_EQ(Stored().install_date.date, first.install_date.date);
    EXPECT_TRUE(Logged("\tinstall date 2000/1/1 12:0 start count 2"));

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
    old.counters[2] = 33;
    old.start_count = 41;
    WriteFile(kInstallRecordFile, std::string(reinterpret_cast<const char*>(&old), sizeof old));
    ASSERT_EQ(UpdateInstallRecord(), 0);
    EXPECT_TRUE(Logged("\tversion up 0.4(old version 0.3)"));
    EXPECT_TRUE(Logged("\trevision up 17(old revision 12)"));
    EXPECT_TRUE(Logged("\tinstall date 1998/4/5 6:7 start count 0"));
    EXPECT_EQ(g_system.counters[2], 33u);
    EXPECT_STREQ(Stored().version, "0.4");
    ASSERT_EQ(UpdateInstallRecord(), 0);
    EXPECT_EQ(Stored().start_count, 1u);
}

TEST_F(InstallRecordTest, BrokenOrUnwritableRecordsDoNotStopTheStart) {
    WriteFile(kInstallRecordFile, std::string(12, 'Z'));  // short, no terminators
    EXPECT_EQ(UpdateInstallRecord(), 0);
    EXPECT_TRUE(Logged("\tversion up 0.4(old version ZZZZZZ)"));
    auto dated = [&] {
        std::vector<std::string> lines = LogLines();
        return std::count_if(lines.begin(), lines.end(),
                             [](const std::string& l) { return l.starts_with("\tinstall date"); });
    };
    long before = dated();
    std::remove(kInstallRecordFile);
    ASSERT_EQ(mkdir(kInstallRecordFile, 0755), 0);  // cannot be written
    EXPECT_EQ(UpdateInstallRecord(), -1);
    EXPECT_EQ(dated(), before);  // no date line for a failed write
    EXPECT_EQ(SaveInstallRecord(), -1);
    EXPECT_TRUE(Logged("save loging error!"));
}

}  // namespace
