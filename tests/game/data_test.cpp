// Loading the game's data: item data files on a fresh installation, saved resource files when
// they exist, the order of the play list's files and each missing piece.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "game/game_init.h"
#include "game/game_resources.h"
#include "game/scenario_context.h"
#include "game_env.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"
#include "resource/resource_file.h"

namespace {

using DataTest = GameTest;

std::string Name(Handle record) {
    const char* name = GetStr(record, "名前"_sj);
    return name ? Utf8(name) : "";
}

TEST_F(DataTest, FreshInstallationBuildsFromItemDataFiles) {
    LoadGame();
    ASSERT_TRUE(game_.characters && game_.gsystem && game_.play_list && game_.text_lib);
    EXPECT_EQ(Name(game_.player), "アリス");
    EXPECT_EQ(GetNum(game_.player, "hp"), 120);
    EXPECT_EQ(game_.gsys, FirstRecord(game_.gsystem));
    EXPECT_EQ(GetNum(game_.gsys, "week"), 6);
    // A later file's records come first.
    Handle first = FirstRecord(game_.play_list);
    EXPECT_EQ(Utf8(GetStr(first, "TEXT")), "森の入り口。");
    EXPECT_EQ(Utf8(GetStr(NextRecord(first), "TEXT")), "町の広場に立っている。");
    EXPECT_TRUE(Logged("textlib.res"));
    EXPECT_EQ(Utf8(game_.title), "黄昏の試験");
    EXPECT_EQ(game_.date_sts, 1);
    EXPECT_TRUE(g_scenario.active_select);
    EXPECT_EQ(game_.modes.count, 2);
    EXPECT_NE(game_.screen.gc_standard, 0u);
}

TEST_F(DataTest, SavedResourceFilesComeBeforeItemData) {
    LoadGame();
    SetNum(game_.player, "gold", 4321);
    SetStr(FirstRecord(game_.play_list), "TEXT", "saved scene");
    SetNum(game_.gsys, "now_sheet", 3);
    ASSERT_EQ(SaveResource(task_, game_.characters), 0);
    ASSERT_EQ(SaveResource(task_, game_.play_list), 0);
    ASSERT_EQ(SaveResource(task_, game_.gsystem), 0);
    Restart();
    // The item data files would give other values now.
    WriteFileBytes("scene_main.res", "broken\n");
    LoadGame();
    EXPECT_EQ(GetNum(game_.player, "gold"), 4321);
    EXPECT_STREQ(GetStr(FirstRecord(game_.play_list), "TEXT"), "saved scene");
    EXPECT_EQ(GetNum(game_.gsys, "now_sheet"), 3);
}

TEST_F(DataTest, PlayerIsFoundByName) {
    PatchSettings("PLAYER_NAME ボブ\n");
    LoadGame();
    EXPECT_EQ(Name(game_.player), "ボブ");
    Handle bob = game_.player;
    EXPECT_EQ(get_player(game_, Sj("ゼッド").c_str()), 0u);
    EXPECT_EQ(game_.player, bob);
    Handle alice = get_player(game_, Sj("アリス").c_str());
    EXPECT_NE(alice, 0u);
    EXPECT_EQ(game_.player, alice);
}

TEST_F(DataTest, MissingPlayerOrCharactersFailTheLoad) {
    PatchSettings("PLAYER_NAME ゼッド\n");
    EXPECT_EQ(load_game_data(game_, task_), 1);
    EXPECT_TRUE(Logged(Sj("no player data! (ゼッド)")) || LogCount("DLG OPEN ERROR!") > 0);

    game_ = IlvaneGame{};
    PatchSettings("", {"PLAYER_NAME"});
    EXPECT_EQ(load_game_data(game_, task_), 1);

    game_ = IlvaneGame{};
    std::remove("dusk_ilvane.res");
    std::remove("ilvane_cahrcter.res");
    EXPECT_EQ(load_game_data(game_, task_), 1);
    EXPECT_EQ(game_.characters, 0u);
}

TEST_F(DataTest, MissingOptionalPieces) {
    PatchSettings("", {"TEXTLIB_FILE"});
    std::remove("gsystem.res");
    LoadGame();
    EXPECT_EQ(game_.gsystem, 0u);
    EXPECT_EQ(game_.gsys, 0u);
    EXPECT_TRUE(LoggedSj("ILVv0.5 gsystem.res 無し"));
    EXPECT_EQ(game_.text_lib, 0u);
    EXPECT_TRUE(LoggedSj("このｼﾅﾘｵはTextLibが定義されていません"));
    EXPECT_EQ(game_.gsys_copy, 0u);
    EXPECT_NE(game_.player_copy, 0u);
}

TEST_F(DataTest, InitialisationMakesTheAutomaticSaveOnce) {
    LoadGame();
    ASSERT_NE(game_.player_copy, 0u);
    ASSERT_NE(game_.gsys_copy, 0u);
    EXPECT_TRUE(Logged("Save Start data for init_ilvane()"));
    EXPECT_EQ(Name(game_.player_copy), "アリス");
    EXPECT_EQ(GetNum(game_.player_copy, "gold"), 35);
    // The graphic-system copy is left as created.
    EXPECT_EQ(GetNum(game_.gsys_copy, "week"), 0);

    Handle copy = game_.player_copy;
    SetNum(game_.player, "gold", 1);
    std::snprintf(game_.bg_format, sizeof game_.bg_format, "kept");
    init_ilvane(game_, task_);
    EXPECT_EQ(game_.player_copy, copy);
    EXPECT_EQ(GetNum(game_.player_copy, "gold"), 35);
    EXPECT_STREQ(game_.bg_format, "");
    EXPECT_EQ(LogCount("Save Start data for init_ilvane()"), 1);
}

TEST_F(DataTest, AbsurdItemDataFilesFailTheLoadWithoutHarm) {
    struct Case {
        const char* what;
        const char* characters;
    } cases[] = {
        {"negative string size",
         "x\nResourceName ilvane_cahrcter.res\nDataName Charcter\nItem 名前 ITEMstring -20\n"
         "StartData\n名前 アリス\nEndData\n"},
        {"huge string size",
         "x\nResourceName ilvane_cahrcter.res\nDataName Charcter\nItem 名前 ITEMstring 99999999\n"
         "StartData\n名前 アリス\nEndData\n"},
        {"no records", "x\nResourceName ilvane_cahrcter.res\nDataName Charcter\n"},
        {"no names", "x\nItem 名前 ITEMstring 20\n"},
    };
    for (const Case& c : cases) {
        Restart();
        WriteFileBytes("dusk_ilvane.res", Sj(c.characters));
        EXPECT_EQ(load_game_data(game_, task_), 1) << c.what;
        EXPECT_EQ(game_.player, 0u) << c.what;
    }
}

}  // namespace
