// Save slots and the automatic save: a save and a load give back every item of both records,
// damaged or truncated slot files leave the game as it was, and the records reach the screen
// through rebuild_screen. (A slot of an earlier run is loaded by the whole-system play.)
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "game/auto_save.h"
#include "game/rebuild_screen.h"
#include "game/save_slot.h"
#include "game/scenario_context.h"
#include "game_env.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"

namespace {

// Every item of a record as name -> value text.
std::map<std::string, std::string> Items(Handle record) {
    std::map<std::string, std::string> items;
    const ResourceAttr* attr = resource_attr(handle_entry(record)->owner);
    for (Handle item = attr->first_item; item; item = item_desc(item)->next) {
        const ItemDesc* d = item_desc(item);
        std::string name(d->name, strnlen(d->name, sizeof d->name));
        if (d->type == ITEMstring) {
            const char* text = GetStr(record, name.c_str());
            items[name] = text ? text : "(none)";
        } else {
            items[name] = std::to_string(GetNum(record, name.c_str()));
        }
    }
    return items;
}

// What the hooks of rebuild_screen were asked to do.
struct HookLog {
    std::string background;
    bool from_format = false;
    std::string select_list;
    int selecter_shown = 0;
    int selecter_hidden = 0;
    int pages = 0;
};
HookLog g_hooks;

class SaveTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        g_hooks = {};
    }
    void LoadWithHooks() {
        LoadGame();
        game_.hooks.show_background = [](IlvaneGame&, Handle, const char* file) {
            g_hooks.background = file;
        };
        game_.hooks.show_background_from_format = [](IlvaneGame&, Handle) {
            g_hooks.from_format = true;
        };
        game_.hooks.fill_select_menu = [](IlvaneGame&, const char* list) {
            g_hooks.select_list = list;
        };
        game_.hooks.show_selecter = [](IlvaneGame&, bool shown) {
            ++(shown ? g_hooks.selecter_shown : g_hooks.selecter_hidden);
        };
        game_.hooks.show_status_window = [](IlvaneGame& g, bool open) { g.status_open = open; };
        game_.hooks.text_step = [](IlvaneGame&, Handle) { ++g_hooks.pages; };
    }
    // A game in progress: changed player items and play state.
    void Play() {
        SetNum(game_.player, "gold", 777);
        SetNum(game_.player, "hp", 55);
        SetStr(game_.player, "称号"_sj, "勇者"_sj);
        std::snprintf(game_.background_file, sizeof game_.background_file, "bg_forest.bmp");
        std::snprintf(g_scenario.select_list, sizeof g_scenario.select_list, "go;stay");
        std::snprintf(g_scenario.text, sizeof g_scenario.text, "rest of the scene");
        g_scenario.continuation = 0;
        g_scenario.select_pending = true;
        game_.now_sheet = 1;
        game_.status_open = false;
    }
};

TEST_F(SaveTest, SaveAndLoadGiveBackEveryItem) {
    LoadWithHooks();
    Play();
    save_slot(game_, task_, 3);
    EXPECT_TRUE(SlotExists(3));
    EXPECT_FALSE(SlotExists(4));
    EXPECT_EQ(Utf8(GetStr(game_.gsys, "base_text")), "rest of the scene");
    auto player = Items(game_.player);
    auto gsys = Items(game_.gsys);
    // The resources keep their own names.
    EXPECT_STREQ(resource_attr(game_.characters)->name, "ilvane_cahrcter.res");
    EXPECT_STREQ(resource_attr(game_.gsystem)->name, "gamesystem.res");

    SetNum(game_.player, "gold", 1);
    SetStr(game_.player, "称号"_sj, "x");
    SetStr(game_.gsys, "menu_str", "other");
    SetNum(game_.gsys, "sts_open", 1);
    std::snprintf(game_.background_file, sizeof game_.background_file, "now.bmp");
    load_slot(game_, task_, 3);
    EXPECT_EQ(Items(game_.player), player);
    EXPECT_EQ(Items(game_.gsys), gsys);
    EXPECT_TRUE(Logged("load_gsys() graphic_name now.bmp bg_forest.bmp"));
    EXPECT_EQ(g_hooks.background, "bg_forest.bmp");
    EXPECT_STREQ(game_.background_file, "bg_forest.bmp");
    EXPECT_EQ(g_hooks.select_list, "go;stay");
    EXPECT_EQ(g_hooks.selecter_shown, 1);
    EXPECT_EQ(g_hooks.pages, 1);
    EXPECT_TRUE(g_scenario.select_pending);
    EXPECT_EQ(g_scenario.continuation, 0);
    EXPECT_STREQ(g_scenario.text, "rest of the scene");
    EXPECT_EQ(game_.now_sheet, 1);
    EXPECT_TRUE(LoggedSj("読み込み　SelectMenu :1 back_graphic bg_forest.bmp"));
}

TEST_F(SaveTest, ACopyOfASlotReadEarlierIsReadAgainAfterASave) {
    LoadWithHooks();
    save_slot(game_, task_, 3);
    load_slot(game_, task_, 3);
    Handle copy = FindResource("system\\ilvane_char03.res", "Charcter");
    ASSERT_NE(copy, 0u);
    ASSERT_NE(copy, game_.characters);
    SetNum(game_.player, "gold", 4242);
    save_slot(game_, task_, 3);
    EXPECT_EQ(FindResource("system\\ilvane_char03.res", "Charcter"), copy);
    EXPECT_EQ(GetNum(FirstRecord(copy), "gold"), 4242);
    EXPECT_EQ(FindResource("ilvane_cahrcter.res", "Charcter"), game_.characters);
}

TEST_F(SaveTest, OnlyTheFirstCharacterOfASlotIsTaken) {
    PatchSettings("PLAYER_NAME ボブ\n");
    LoadWithHooks();
    save_slot(game_, task_, 1);
    SetNum(game_.player, "gold", 5);
    load_slot(game_, task_, 1);
    // The slot's first record is Alice's; it is copied into Bob's record.
    EXPECT_EQ(GetNum(game_.player, "gold"), 35);
    EXPECT_EQ(Utf8(GetStr(game_.player, "名前"_sj)), "アリス");
}

TEST_F(SaveTest, DamagedSlotsLeaveTheGameAsItWas) {
    LoadWithHooks();
    Play();
    save_slot(game_, task_, 2);
    std::string good_char = ReadFileBytes("system/ilvane_char02.res");
    std::string good_gsys = ReadFileBytes("system/ilvane_gsys02.res");
    ASSERT_GT(good_char.size(), 300u);
    SetNum(game_.player, "gold", 9);
    SetStr(game_.gsys, "backgraphic_name", "now.bmp");
    auto player = Items(game_.player);
    auto gsys = Items(game_.gsys);

    struct Case {
        const char* what;
        std::string char_file;
        std::string gsys_file;
    } cases[] = {
        {"empty files", "", ""},
        {"header only", good_char.substr(0, 32), good_gsys.substr(0, 32)},
        {"no records", good_char.substr(0, 32 + 232), good_gsys.substr(0, 32 + 232)},
        {"garbage", std::string(2000, '\xA5'), std::string(700, '\x01')},
        {"cut in the first record", good_char.substr(0, 32 + 232 + 17 * 60 + 28 + 5),
         good_gsys.substr(0, 32 + 232 + 10 * 60 + 28 + 5)},
    };
    for (const Case& c : cases) {
        WriteFileBytes("system/ilvane_char05.res", c.char_file);
        WriteFileBytes("system/ilvane_gsys05.res", c.gsys_file);
        g_hooks = {};
        load_slot(game_, task_, 5);
        EXPECT_EQ(Items(game_.player), player) << c.what;
        EXPECT_EQ(Items(game_.gsys), gsys) << c.what;
        EXPECT_EQ(g_hooks.pages, 0) << c.what;
    }
    // A missing slot likewise.
    load_slot(game_, task_, 40);
    EXPECT_EQ(Items(game_.player), player);
}

TEST_F(SaveTest, SavingWithoutGraphicSystemWritesOnlyTheCharacterFile) {
    std::remove("gsystem.res");
    LoadWithHooks();
    save_slot(game_, task_, 6);
    EXPECT_TRUE(SlotExists(6));
    EXPECT_EQ(ReadFileBytes("system/ilvane_gsys06.res"), "");
}

TEST_F(SaveTest, AutomaticSaveAndRestore) {
    LoadWithHooks();
    // Restoring before any AutoSave gives the start data and a fresh graphic-system record.
    SetNum(game_.player, "gold", 500);
    restore_save(game_, task_);
    EXPECT_EQ(GetNum(game_.player, "gold"), 35);
    EXPECT_EQ(GetNum(game_.gsys, "week"), 0);
    EXPECT_TRUE(LoggedSj("ILV　-RestoreSave-"));

    Play();
    SetStr(game_.gsys, "backgraphic_name", "auto.bmp");
    SetNum(game_.gsys, "select_menu", 0);
    SetStr(game_.gsys, "base_text", "from the copy");
    auto player = Items(game_.player);
    auto gsys = Items(game_.gsys);
    EXPECT_EQ(auto_save(game_, task_), 1);
    EXPECT_TRUE(LoggedSj("ILV　-AutoSave-"));
    SetNum(game_.player, "gold", 3);
    SetStr(game_.gsys, "backgraphic_name", "later.bmp");
    g_hooks = {};
    EXPECT_EQ(restore_save(game_, task_), 1);
    EXPECT_EQ(Items(game_.player), player);
    EXPECT_EQ(Items(game_.gsys), gsys);
    EXPECT_EQ(g_hooks.background, "auto.bmp");
    EXPECT_EQ(g_hooks.selecter_shown, 0);
    EXPECT_FALSE(g_scenario.select_pending);
    EXPECT_STREQ(g_scenario.text, "from the copy");
}

TEST_F(SaveTest, AutomaticSaveIsMadeByTheFirstAutoSaveWhenMissing) {
    LoadWithHooks();
    game_.player_copy = 0;
    game_.gsys_copy = 0;
    restore_save(game_, task_);
    EXPECT_FALSE(LoggedSj("ILV　-RestoreSave-"));
    auto_save(game_, task_);
    EXPECT_NE(game_.player_copy, 0u);
    EXPECT_NE(game_.gsys_copy, 0u);
}

TEST_F(SaveTest, RebuildWithoutBaseTextOrBackgroundItem) {
    LoadWithHooks();
    g_scenario.continuation = 7;
    // A graphic-system record of another layout: no base_text, no backgraphic_name.
    Handle other = CreateResource(task_, "other.res", "Other");
    CreateItem(other, "select_menu", ITEMlong, 4);
    game_.gsys = CreateRecord(other, 1, resource_attr(other)->record_size);
    rebuild_screen(game_, task_);
    EXPECT_TRUE(g_hooks.from_format);
    EXPECT_EQ(g_hooks.background, "");
    EXPECT_EQ(g_scenario.continuation, 7);
    EXPECT_EQ(g_hooks.pages, 1);
}

}  // namespace
