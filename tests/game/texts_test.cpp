// The texts the game derives from its state: dates, times, mode labels and background names.
#include <gtest/gtest.h>

#include <string>

#include "game/background_name.h"
#include "game/calendar.h"
#include "game_env.h"
#include "resource/resource.h"

namespace {

using TextsTest = GameTest;

TEST_F(TextsTest, TimeTextOfEveryShape) {
    LoadGame();
    struct Case {
        int minutes;
        const char* text;
    } cases[] = {
        {0, " ０時 　分"},       {59, " ０時 ５９分"}, {60, " １時 ０分"},   {120, " ２時 ０分"},
        {610, " １０時 １０分"}, {3660, " 61時 ０分"}, {3661, " 61時 １分"},
    };
    char out[64];
    for (const Case& c : cases) {
        SetNum(game_.player, "time", c.minutes);
        EXPECT_EQ(time_text(game_.player, out, sizeof out), 1);
        EXPECT_EQ(Utf8(out), c.text) << c.minutes;
    }
    SetNum(game_.player, "time", -5);
    EXPECT_EQ(time_text(game_.player, out, sizeof out), 0);
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(LoggedSj("取得時間が０以下です."));
}

TEST_F(TextsTest, DateTextsFromCalendarAndRecord) {
    LoadGame();
    char out[64];
    EXPECT_EQ(date_text(game_.calendar, out, sizeof out), 1);
    EXPECT_EQ(Utf8(out), "４月 １２日 (水)");
    EXPECT_EQ(record_date_text(game_.gsys, out, sizeof out), 1);
    EXPECT_EQ(Utf8(out), "５月 ３日 (土)");
    EXPECT_EQ(date_text(Calendar{0, 61, 9}, out, sizeof out), 1);
    EXPECT_EQ(Utf8(out), "　月 61日 (　)");

    const char* items[] = {"month", "day", "week"};
    const char* lines[] = {"取得monthが0です.", "取得dayが0です.", "取得weekが0です."};
    for (int i = 0; i < 3; ++i) {
        SetNum(game_.gsys, items[i], -1);
        EXPECT_EQ(record_date_text(game_.gsys, out, sizeof out), 0) << items[i];
        EXPECT_TRUE(LoggedSj(lines[i])) << items[i];
        SetNum(game_.gsys, items[i], 1);
    }
    // A record without the items reads -1 for each.
    EXPECT_EQ(record_date_text(game_.player, out, sizeof out), 0);
}

TEST_F(TextsTest, ModeLabelsByValue) {
    LoadGame();
    struct Case {
        const char* mode;
        int value;
        const char* label;
    } cases[] = {
        {"place", 0, "town"},   {"place", 2, "castle"}, {"place", 3, ""},      {"place", -1, ""},
        {"weather", 1, "rain"}, {"level", 1, ""},       {"place", 100000, ""},
    };
    for (const Case& c : cases) {
        SetNum(game_.player, c.mode, c.value);
        EXPECT_STREQ(mode_label(game_, c.mode), c.label) << c.mode << " " << c.value;
    }
    EXPECT_STREQ(mode_label(game_, "nothing"), "");
}

TEST(FormatWithLabels, FillsOnlyStringPlaces) {
    const char* labels[] = {"A", "BB"};
    struct Case {
        const char* format;
        int size;
        const char* out;
    } cases[] = {
        {"bg_%s_%s.bmp", 64, "bg_A_BB.bmp"},
        {"%s%s%s%s%s%s%s%s%s%s%s%s%s%s%s%s%s%s%s%s.bmp", 64, "ABB.bmp"},
        {"%d%n%x%%%s", 64, "%d%n%x%A"},
        {"abc%", 64, "abc%"},
        {"long_%s_%s", 8, "long_A_"},
    };
    for (const Case& c : cases) {
        char out[64];
        FormatWithLabels(c.format, labels, 2, out, size_t(c.size));
        EXPECT_STREQ(out, c.out) << c.format;
    }
}

TEST_F(TextsTest, BackgroundNameForEachLabelCount) {
    const char* names[] = {"courage", "wisdom", "charm", "luck",    "place",
                           "weather", "mode",   "count", "old_mode"};
    std::string modes;
    for (int k = 1; k <= 9; ++k)
        modes += "MODENAME" + std::to_string(k) + " " + names[k - 1] + ",zero" + std::to_string(k) +
                 ",one" + std::to_string(k) + "\n";
    PatchSettings(modes, {"MODENAME"});
    LoadGame();
    for (const char* name : names)
        SetNum(game_.player, name, 0);

    struct Case {
        int labels;
        const char* log;
    } cases[] = {
        {1, nullptr},
        {4, "graphic name get TEST.　パラが四個の場合"},
        {5, "graphic name get TEST.　パラが六個の場合"},
        {6, "graphic name get TEST.　パラが六個の場合"},
        {7, "graphic name get TEST.　パラが七個の場合"},
        {8, "graphic name get TEST.　パラが八個の場合"},
        {9, nullptr},
    };
    for (const Case& c : cases) {
        std::string format = "BG_FORMAT ";
        std::string expected;
        for (int i = 0; i < c.labels; ++i)
            format += "%s";
        format += ".bmp";
        for (int i = 1; i <= c.labels; ++i) {
            format += std::string(",") + names[i - 1];
            expected += "zero" + std::to_string(i);
        }
        expected += ".bmp";
        PatchSettings(format + "\n", {"BG_FORMAT"});
        int logged_before = c.log ? LogCount(Sj(c.log)) : 0;
        game_.bg_format[0] = '\0';
        char out[256];
        bg_file_name(game_, out, sizeof out);
        EXPECT_EQ(std::string(out), expected) << c.labels;
        EXPECT_STREQ(GetStr(game_.gsys, "bg_format"), game_.bg_format);
        if (c.log) {
            EXPECT_EQ(LogCount(Sj(c.log)), logged_before + 1) << c.labels;
        }
        if (c.labels == 9) {
            EXPECT_TRUE(Logged(expected));
        }
    }
}

TEST_F(TextsTest, BackgroundFormatIsReadOnlyWhenEmpty) {
    LoadGame();
    SetNum(game_.player, "place", 2);
    SetNum(game_.player, "weather", 1);
    char out[256];
    bg_file_name(game_, out, sizeof out);
    EXPECT_STREQ(out, "bg_castle_rain.bmp");
    PatchSettings("BG_FORMAT other_%s.bmp,place\n");
    bg_file_name(game_, out, sizeof out);
    EXPECT_STREQ(out, "bg_castle_rain.bmp");
    game_.bg_format[0] = '\0';
    bg_file_name(game_, out, sizeof out);
    EXPECT_STREQ(out, "other_castle.bmp");
}

}  // namespace
