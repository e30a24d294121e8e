// What the player sees of the game: the screen with background, message and status window,
// a status sheet during its change highlight, the save grid with three filled slots and the
// result screen, each compared pixel for pixel with tests/golden/game_*.png (NOMA_UPDATE_GOLDEN=1
// writes them anew; look at them before committing).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <cstdlib>
#include <ctime>

#include "game/auto_save.h"
#include "game/save_slot.h"
#include "game/status_sheet.h"
#include "game_env.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"
#include "support/golden.h"
#include "window/object.h"

namespace {

class ScreenGoldenTest : public GameScreenTest {
protected:
    void SetUp() override {
        GameScreenTest::SetUp();
        // Slot summaries show file times: pinned to one moment in one time zone.
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void Compare(const char* file) { CompareScreenGolden(file, folder_); }
    void PinFileTime(const char* file, time_t when) {
        utimbuf times{when, when};
        ASSERT_EQ(utime(file, &times), 0) << file;
    }
};

TEST_F(ScreenGoldenTest, GameScreenWithMessageAndStatus) {
    BuildScreen();
    // The page is drawn at once rather than played by the text effect.
    auto effect = g_redraw_effect;
    g_redraw_effect = nullptr;
    SetMessageObject(game_.main_window, kMessageObject,
                     "町の広場に立っている。\n夕暮れの鐘が鳴り、人々は家路を急ぐ。"_sj);
    DrawObject(game_.main_window, kMessageObject);
    Pump();
    g_redraw_effect = effect;
    Compare("game_screen.png");
}

TEST_F(ScreenGoldenTest, StatusSheetDuringItsHighlight) {
    BuildScreen();
    EXPECT_EQ(highlight_changes(game_, "hp+=5;gold-=10;level=4;luck+=1"), 1);
    Compare("game_status_highlight.png");
}

TEST_F(ScreenGoldenTest, SaveGridWithThreeSlots) {
    BuildScreen();
    save_slot(game_, task_, 1);
    SetNum(game_.player, "gold", 1200);
    SetNum(game_.player, "hp", 64);
    SetNum(game_.gsys, "month", 11);
    SetNum(game_.gsys, "day", 30);
    save_slot(game_, task_, 2);
    SetNum(game_.player, "courage", 42);
    SetNum(game_.gsys, "week", 7);
    save_slot(game_, task_, 8);
    PinFileTime("system/ilvane_char01.res", 1767225600);  // 2026-01-01 00:00:00
    PinFileTime("system/ilvane_char02.res", 1767270000);
    PinFileTime("system/ilvane_char08.res", 1780000000);
    OpenSaveWindow(SaveWindowMode::Save);
    Compare("game_save_grid.png");
}

TEST_F(ScreenGoldenTest, ResultScreen) {
    PatchSettings("RESULT_BACKGRAPHIC result.bmp\n");
    BuildScreen();
    auto_save(game_, task_);
    SetNum(game_.player, "hp", 150);
    SetNum(game_.player, "gold", 20);
    OpenSaveWindow(SaveWindowMode::Result);
    Compare("game_result.png");
}

}  // namespace
