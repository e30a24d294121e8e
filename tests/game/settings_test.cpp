// The settings file: first matching line, missing keys, the word lists, the status entries
// with their sheet count, the mode-name table and the calendar, with absurd values included.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "game/settings.h"
#include "game_env.h"
#include "host/sjis_literal.h"

namespace {

using SettingsTest = GameTest;

TEST_F(SettingsTest, FirstMatchingLineWinsAndMissingKeysReadEmpty) {
    PatchSettings("GAME_TITLE first one\nDATE_STS 2\nGAME_TITLE second\n");
    char value[64];
    EXPECT_TRUE(ReadSetting("GAME_TITLE", value, sizeof value));
    EXPECT_STREQ(value, "firstone");
    EXPECT_EQ(SettingNumber("DATE_STS"), 2);

    std::strcpy(value, "stale");
    EXPECT_FALSE(ReadSetting("NO_SUCH_KEY", value, sizeof value));
    EXPECT_STREQ(value, "");
    EXPECT_EQ(SettingNumber("NO_SUCH_KEY"), -1);
    EXPECT_FALSE(SettingSwitch("NO_SUCH_KEY"));

    char small[5];
    EXPECT_TRUE(ReadSetting("GAME_TITLE", small, sizeof small));
    EXPECT_STREQ(small, "firs");
}

TEST_F(SettingsTest, SwitchIsOnOnlyForOnOrYes) {
    struct Case {
        const char* value;
        bool on;
    } cases[] = {{"on", true}, {"YES", true}, {"off", false}, {"no", false}, {"1", false}};
    for (const Case& c : cases) {
        PatchSettings(std::string("DebugMode ") + c.value + "\n", {"DebugMode"});
        EXPECT_EQ(SettingSwitch("DebugMode"), c.on) << c.value;
    }
}

TEST(SplitList, WordsSeparatorsLimitsAndLineBreaks) {
    struct Case {
        const char* text;
        int max_words;
        std::vector<std::string> words;
    } cases[] = {
        {"a;b,c", 8, {"a", "b", "c"}},
        {";;a,,b;", 8, {"a", "b"}},
        {"", 8, {}},
        {"one;two\nthree", 8, {"one", "two"}},
        {"\rx", 8, {}},
        {"a;b;c;d", 2, {"a", "b"}},
        {"abcdefghij;k", 8, {"abcde", "k"}},  // cut to the word room
    };
    for (const Case& c : cases) {
        char words[8][6];
        std::memset(words, 0x7F, sizeof words);
        int n = SplitList(c.text, &words[0][0], c.max_words, 6);
        ASSERT_EQ(n, int(c.words.size())) << c.text;
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(words[i], c.words[i]) << c.text;
        if (n < 8) {
            EXPECT_EQ(words[n][0], 0x7F) << "wrote past the words of " << c.text;
        }
    }
}

TEST_F(SettingsTest, DisplayListEndsAtFirstGapAndCountsSheets) {
    IlvaneGame game;
    ReadDisplayEntries(game);
    EXPECT_EQ(game.display_count, 13);
    EXPECT_EQ(game.highest_sheet, 1);
    EXPECT_EQ(std::string(game.display[0]), Sj("時刻"));
    EXPECT_STREQ(game.display[11], ".gsys.now_sheet");
    EXPECT_TRUE(LoggedSj("STSメニュー　項目数14  sheets 1"));

    // An empty entry ends the list as a missing one does.
    PatchSettings("DISPLAY3 \n");
    ReadDisplayEntries(game);
    EXPECT_EQ(game.display_count, 2);
    EXPECT_STREQ(game.display[2], "");
}

TEST_F(SettingsTest, SheetCountDependsOnEntriesPerSheet) {
    std::string lines;
    for (int i = 1; i <= 25; ++i)
        lines += "DISPLAY" + std::to_string(i) + " item" + std::to_string(i) + "\n";
    PatchSettings(lines, {"DISPLAY"});
    IlvaneGame game;
    ReadDisplayEntries(game);
    EXPECT_EQ(game.display_count, 25);
    EXPECT_EQ(game.highest_sheet, 2);
    game.entries_per_sheet = 4;
    ReadDisplayEntries(game);
    EXPECT_EQ(game.highest_sheet, 6);
    EXPECT_TRUE(LoggedSj("STSメニュー　項目数26  sheets 6"));
}

TEST_F(SettingsTest, AbsurdDisplayListsStayInTheirRoom) {
    // Sixty-one entries, each far longer than an entry holds.
    std::string lines;
    for (int i = 1; i <= 61; ++i)
        lines += "DISPLAY" + std::to_string(i) + " " + std::string(10000, 'x') + "\n";
    PatchSettings(lines, {"DISPLAY"});
    IlvaneGame game;
    ReadDisplayEntries(game);
    EXPECT_EQ(game.display_count, kDisplayEntries);
    EXPECT_EQ(game.highest_sheet, 6);
    for (int i = 0; i < kDisplayEntries; ++i)
        ASSERT_EQ(std::strlen(game.display[i]), size_t(kDisplayTextSize - 1));
}

TEST_F(SettingsTest, ModeNameTableEndsAtFirstMissingSlot) {
    // More labels than a slot holds, the first longer than a word.
    std::string many_labels = "MODENAME3 big,label_with_a_very_long_tail";
    for (int i = 1; i < 40; ++i)
        many_labels += ",l" + std::to_string(i);
    PatchSettings(many_labels + "\nMODENAME5 lost,a,b\n");
    ModeNameTable table;
    ReadModeNames(table);
    ASSERT_EQ(table.count, 3);
    EXPECT_STREQ(table.words[0][0], "place");
    EXPECT_STREQ(table.words[0][3], "castle");
    EXPECT_STREQ(table.words[1][2], "rain");
    EXPECT_STREQ(table.words[2][0], "big");
    EXPECT_STREQ(table.words[2][1], "label_with_a_very_lon");  // cut to 21 bytes
    EXPECT_STREQ(table.words[2][29], "l28");
    EXPECT_STREQ(table.words[3][0], "");
}

TEST_F(SettingsTest, CalendarKeysWithOneAsDefault) {
    Calendar c = ReadCalendar();
    EXPECT_EQ(c.month, 4);
    EXPECT_EQ(c.day, 12);
    EXPECT_EQ(c.week, 3);
    PatchSettings("", {"MONTH", "DAY", "WEEK"});
    c = ReadCalendar();
    EXPECT_EQ(c.month, 1);
    EXPECT_EQ(c.day, 1);
    EXPECT_EQ(c.week, 1);
}

}  // namespace
