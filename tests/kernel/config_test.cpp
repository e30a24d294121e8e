#include <gtest/gtest.h>

#include <string>

#include "kernel/config.h"
#include "kernel/kernel_test_env.h"
#include "kernel/log.h"
#include "kernel/system.h"

namespace {

class ConfigTest : public NomaTest {
protected:
    std::string Get(const char* key, const char* file = "keys.ini") {
        char value[kIniValueSize];
        const char* found = GetIniString(key, value, file);
        return found ? std::string(found) : std::string("<missing>");
    }
    // SYSTEM.MSG with "message N" on line N.
    void WriteSystemMessages() {
        std::string text;
        for (int i = 1; i <= 120; ++i)
            text += "message " + std::to_string(i) + "\n";
        WriteFile("SYSTEM.MSG", text);
    }
};

TEST_F(ConfigTest, KeyMatchingRestartsAfterTheFailingCharacter) {
    WriteFile("keys.ini",
              "AAB one\n"  // "AB": the second A fails and is not tried again
              "xAB two\n"  // the key inside the line: the value starts at length-of-key
              "AB three\n"
              "AB four\n");
    EXPECT_EQ(Get("AB"), "Btwo");
    WriteFile("keys.ini", "AAB one\nAB three\n");
    EXPECT_EQ(Get("AB"), "three");  // the first line never matched
    WriteFile("keys.ini", "ABAB x\nABAC y\n");
    EXPECT_EQ(Get("ABAC"), "y");  // "ABAB" fails at its fourth character
}

TEST_F(ConfigTest, ValueKeepsTheSeparatorAndLosesEveryBlank) {
    WriteFile("keys.ini",
              "/USER_NAME commented out\n"
              "USER_NAME  Taro \t Yamada \n"
              "CYCLE_WAIT=5\n"
              "EMPTY\n"
              "WIN_CRLF value\r\n");
    EXPECT_EQ(Get("USER_NAME"), "TaroYamada");
    EXPECT_EQ(Get("CYCLE_WAIT"), "=5");
    EXPECT_EQ(Get("EMPTY"), "");
    EXPECT_EQ(Get("WIN_CRLF"), "value");  // text mode reads CR LF as LF
    EXPECT_EQ(GetIniNumber("CYCLE_WAIT", "keys.ini"), 5);
}

TEST_F(ConfigTest, LongLinesAreCutAndAnUnterminatedLastLineIsNeverRead) {
    std::string longline = "LONGKEY " + std::string(300, 'x') + " TAILKEY\n";
    WriteFile("keys.ini", longline + "LAST 5");
    EXPECT_EQ(Get("LONGKEY"), std::string(255 - 8, 'x'));
    EXPECT_EQ(Get("TAILKEY"), "<missing>");  // beyond the 255 characters kept
    EXPECT_EQ(Get("LAST"), "<missing>");
    EXPECT_EQ(GetIniNumber("LAST", "keys.ini"), -1);
    EXPECT_TRUE(Logged(Sj("指定文字列 LASTが ｼｽﾃﾑ･ﾘｿｰｽﾌｧｲﾙ(keys.ini)に存在しません")));
    EXPECT_EQ(Get("ANY", "absent.ini"), "<missing>");
    EXPECT_TRUE(Logged("Inifile open error ! absent.ini"));
}

TEST_F(ConfigTest, NumbersAndBooleansFromValues) {
    WriteFile("keys.ini",
              "N1 abc-12x34\n"
              "N2 none\n"
              "N3 70000\n"
              "B1 ON\n"
              "B2 No\n"
              "B3 yes\n"
              "B4 maybe\n"
              "B5 NOON\n"  // "on" is looked for before "no"
              "B6 offset\n");
    EXPECT_EQ(GetIniNumber("N1", "keys.ini"), 12);
    EXPECT_EQ(GetIniNumber("N2", "keys.ini"), -1);
    EXPECT_EQ(GetIniNumber("N9", "keys.ini"), -1);
    EXPECT_EQ(GetIniBool("B1", "keys.ini"), 1);
    EXPECT_EQ(GetIniBool("B2", "keys.ini"), 0);
    EXPECT_EQ(GetIniBool("B3", "keys.ini"), 1);
    EXPECT_EQ(GetIniBool("B4", "keys.ini"), -1);
    EXPECT_EQ(GetIniBool("B5", "keys.ini"), 1);
    EXPECT_EQ(GetIniBool("B6", "keys.ini"), 0);
    EXPECT_EQ(GetIniBool("B9", "keys.ini"), -1);
    WriteFile("NOMA.ini", "Sys.error.elogfile test.log\nN3 70000\n");
    EXPECT_EQ(SysNumber("N3"), int16_t(70000 - 65536));
}

TEST_F(ConfigTest, FlagLinesSetAndClearTheirBits) {
    WriteSystemMessages();
    WriteFile("NOMA.ini",
              "Sys.error.elogfile test.log\n"
              "EVENT_TEST ON\n"
              "DEBAG ON\n"
              "/TASK ON\n"
              "TEST_RUN ON\n"
              "LOOP_EXIT on\n"           // case matters: neither ON nor OFF
              "START_PROGRAM TASKall\n"  // holds TASK, and neither ON nor OFF
              "TITLE ON\n"
              "DEBAG OFF\n"
              "RESOUCE_TEST EVENT_TEST OFF\n"  // EVENT_TEST comes first in the table
              "PASSWORD ON");                  // never read: no line feed
    StoreSystemFlags(FLAG_TRACE | FLAG_TASK);
    EXPECT_EQ(ReadSystemFlags(), 0);
    uint32_t flags = SystemFlags();
    EXPECT_EQ(flags, FLAG_TRACE | FLAG_TASK | FLAG_TEST_RUN | FLAG_TITLE);
    int bad_lines = 0;
    for (const std::string& line : LogLines())
        bad_lines += line == "message 100";
    EXPECT_EQ(bad_lines, 2);
}

TEST_F(ConfigTest, TraceOffSilencesTheLogAndAMissingFileIsReported) {
    WriteFile("NOMA.ini", "Sys.error.elogfile test.log\nTRACE OFF\n");
    ReadSystemFlags();
    LogLine("after trace off");
    EXPECT_FALSE(Logged("after trace off"));
    StoreSystemFlags(FLAG_TRACE);
    std::remove("NOMA.ini");
    EXPECT_EQ(ReadSystemFlags(), 6);
    EXPECT_TRUE(Logged("File OpenError ! NOMA.ini"));
}

}  // namespace
