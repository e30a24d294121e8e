// The game screen's layout and its settings keys, the status sheet's lines, the change
// highlight and clicks on the slot grid.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/save_slot.h"
#include "game/screen.h"
#include "game/status_sheet.h"
#include "game_env.h"
#include "host/input.h"
#include "host/surface.h"
#include "kernel/dialog.h"
#include "kernel/dialog_hooks.h"
#include "resource/resource.h"
#include "window/colors.h"
#include "window/gc.h"
#include "window/menu.h"
#include "window/object.h"
#include "window/window.h"

namespace {

struct Rect {
    int x, y, width, height;
    bool operator==(const Rect&) const = default;
};

Rect ObjectRect(Handle window, uint16_t number) {
    const ObjectRecord* o = object_record(ReqObject(window, number));
    if (!o) return {-1, -1, -1, -1};
    const WindowRecord* w = window_record(o->window);
    return {w->x, w->y, w->width, w->height};
}

using ScreenTest = GameScreenTest;

TEST_F(ScreenTest, StandardLayout) {
    BuildScreen();
    // What is shown (frame, background, message, status and side menu) is in the golden
    // game_screen.png; here what the picture cannot tell.
    Handle main = game_.main_window;
    EXPECT_STREQ(game_.background_file, "robyA.bmp");
    EXPECT_TRUE(object_record(ReqObject(main, kMessageObject))->flags & OBJ_INERT);
    EXPECT_EQ(ObjectRect(main, kSelecterObject), (Rect{695, 0, 100, 330}));
    EXPECT_EQ(ReqObject(main, kPopupObject), 0u);
    for (int n = 0; n < 10; ++n) {
        EXPECT_EQ(ObjectRect(main, uint16_t(kCutinObject + n)), (Rect{0, 0, 200, 110}));
        EXPECT_FALSE(test_window_mode(game_.cutin_windows[size_t(n)], WIN_SHOW));
    }
    EXPECT_EQ(MenuItemCount(game_.screen.select_menu), 35);
    EXPECT_EQ(MenuItemCount(game_.screen.side_menu), 12);
    EXPECT_EQ(MenuItemValue(game_.screen.side_menu, 2), 1000u);
    EXPECT_EQ(MenuItemValue(game_.screen.debug_menu, 9), 1009u);
    EXPECT_EQ(game_.entries_per_sheet, 10);
    const GCRecord* selecter = gc_record(game_.screen.gc_selecter);
    EXPECT_EQ(selecter->text, ColorByName("black"));
    EXPECT_EQ(selecter->fill, ColorByName("gray"));
}

TEST_F(ScreenTest, LayoutKeys) {
    PatchSettings(
        "WINDOW_FRAME on\nSmallSts on\nReverseColor on\nPopupMenu on\nGRAPHIC_HIGHT 400\n"
        "TEXT_HIGHT 150\nSELECT_WIDTH 200\nSELECT_HIGHT 0\nStart_BackGraphic bg_forest_rain.bmp\n");
    BuildScreen();
    Handle main = game_.main_window;
    EXPECT_EQ(ObjectRect(main, kBackgroundObject), (Rect{0, 0, 800, 400}));
    EXPECT_STREQ(game_.background_file, "bg_forest_rain.bmp");
    EXPECT_EQ(ObjectRect(main, kMessageObject), (Rect{50, 450, 700, 150}));
    EXPECT_EQ(ObjectRect(main, kSelecterObject), (Rect{595, 0, 200, 330}));
    EXPECT_EQ(ObjectRect(main, kPopupObject), (Rect{0, 0, 800, 600}));
    EXPECT_EQ(ObjectRect(main, kStatusObject), (Rect{0, 25, 180, 110}));
    EXPECT_TRUE(test_window_mode(game_.status_window, WIN_CONTROLBAR));
    EXPECT_TRUE(test_window_mode(game_.cutin_windows[0], WIN_CONTROLBAR));
    EXPECT_EQ(game_.entries_per_sheet, 4);
    const GCRecord* selecter = gc_record(game_.screen.gc_selecter);
    EXPECT_EQ(selecter->text, ColorByName("white"));
    EXPECT_EQ(selecter->fill, ColorByName("darkgray"));
}

TEST_F(ScreenTest, MissingStartPictureFallsBackAndNoPictureMeansNoBackground) {
    PatchSettings("Start_BackGraphic nothing.bmp\n");
    std::remove("robyA.bmp");
    BuildScreen();
    EXPECT_EQ(ReqObject(game_.main_window, kBackgroundObject), 0u);
    EXPECT_STREQ(game_.background_file, "");
}

// The rows of the status window that hold any pixel other than the fill colour.
std::vector<int> InkedLines(Handle window, uint32_t fill) {
    auto pixel = [](int x, int y) {
        return HostSurfacePixels()[y * HostSurfaceWidth() + x] & 0xFFFFFF;
    };
    std::vector<int> lines;
    const WindowRecord* w = window_record(window);
    int left = client_left(window), top = client_top(window);
    for (int line = 0; 10 + line * 20 < w->height; ++line) {
        bool inked = false;
        for (int y = 10 + line * 20; y < 10 + line * 20 + 16 && y < w->height; ++y)
            for (int x = 0; x < 50 && !inked; ++x)
                inked = pixel(left + x, top + y) != fill;
        if (inked) lines.push_back(line + 1);
    }
    return lines;
}

TEST_F(ScreenTest, SheetsShowTenEntriesFromTheirFirstWhateverTheWindow) {
    std::string lines;
    for (int i = 1; i <= 25; ++i)
        lines += "DISPLAY" + std::to_string(i) + " " + (i % 3 == 0 ? "blank" : "hp") + "\n";
    PatchSettings(lines + "SmallSts on\n", {"DISPLAY"});
    BuildScreen();
    uint32_t fill = gc_record(game_.screen.gc_standard)->fill;
    // The first count was made before the screen existed, with ten entries a sheet.
    EXPECT_EQ(game_.highest_sheet, 2);
    game_.now_sheet = 1;
    ASSERT_EQ(draw_status_sheet(game_), 1);
    // Entries 11 to 15 in the small window's five lines: 12 and 15 are blank.
    EXPECT_EQ(InkedLines(game_.status_window, fill), (std::vector<int>{1, 3, 4}));
    game_.now_sheet = 2;
    draw_status_sheet(game_);
    // Entries 21 to 25: 21 and 24 are blank.
    EXPECT_EQ(InkedLines(game_.status_window, fill), (std::vector<int>{2, 3, 5}));

    clear_window_mode(game_.status_window, WIN_OPEN);
    EXPECT_EQ(draw_status_sheet(game_), 0);
    EXPECT_EQ(highlight_changes(game_, "hp+=1"), 0);
}

TEST_F(ScreenTest, HighlightFindsAssignedItemsOnTheCurrentSheet) {
    BuildScreen();
    struct Case {
        const char* expression;
        int result;
    } cases[] = {
        {"hp+=5", 1},   {"gold-=3;x=1", 1},
        {"luck+=1", 0},  // luck is entry 13: sheet 1
        {"hpx=2", 0},   {"", 0},
        {";;hp", 1},    {"courage=", 1},
        {"place=1", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(highlight_changes(game_, c.expression), c.result) << c.expression;
    game_.now_sheet = 1;
    draw_status_sheet(game_);
    EXPECT_EQ(highlight_changes(game_, "luck+=1"), 1);
    // How the changes are drawn is in the golden game_status_highlight.png.
}

TEST_F(ScreenTest, PendingCountdownRedrawsTheSheetBeforeANewHighlight) {
    BuildScreen();
    int left = client_left(game_.status_window), top = client_top(game_.status_window);
    auto blue_at_hp = [&] {
        bool blue = false;
        for (int y = 69; y < 89; ++y)  // hp is the fourth line
            for (int x = 90; x < 190; ++x)
                blue |= Pixel(left + x, top + y) == ColorByName("blue");
        return blue;
    };
    draw_status_sheet(game_);
    ASSERT_EQ(highlight_changes(game_, "hp+=5"), 1);
    EXPECT_TRUE(blue_at_hp());
    // Without a countdown the earlier change stays beside the new one.
    ASSERT_EQ(highlight_changes(game_, "gold-=1"), 1);
    EXPECT_TRUE(blue_at_hp());
    // With one, the sheet is drawn afresh first.
    game_.highlight_countdown = 2;
    ASSERT_EQ(highlight_changes(game_, "gold-=1;level=2"), 1);
    EXPECT_FALSE(blue_at_hp());
}

// Dialogs that answer from a list and remember what they asked.
std::vector<std::string> g_asked;
std::vector<uint16_t> g_answers;

class SlotClickTest : public GameScreenTest {
protected:
    void SetUp() override {
        GameScreenTest::SetUp();
        saved_hooks_ = g_dialog_hooks;
        g_dialog_hooks.open = [](int) { return true; };
        g_dialog_hooks.close = [](int) {};
        g_dialog_hooks.text = [](int, int, int, const char* text) { g_asked.push_back(text); };
        g_asked.clear();
        BuildScreen();
    }
    void TearDown() override {
        g_dialog_hooks = saved_hooks_;
        HostResetInput();
        GameScreenTest::TearDown();
    }
    // Clicks with the keys the dialogs will read queued first.
    int Click(int x, int y, std::initializer_list<uint16_t> keys) {
        for (uint16_t key : keys)
            HostStoreKey(key);
        g_asked.clear();
        return slot_click(game_, task_, x, y);
    }
    DialogHooks saved_hooks_;
};

TEST_F(SlotClickTest, CellEdgesMapToSlots) {
    game_.save_mode = SaveWindowMode::Save;
    // 800 x 600: cells of 266 x 96; Escape answers No, so only the question is asked.
    struct Case {
        int x, y, slot;
    } cases[] = {
        {0, 0, 1},      {265, 0, 1},  {266, 0, 7}, {0, 95, 1},   {0, 96, 2},    {270, 100, 8},
        {531, 575, 12}, {532, 0, 13}, {0, 576, 7}, {799, 0, 19}, {265, 479, 5}, {265, 480, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Click(c.x, c.y, {15}), 0) << c.x << "," << c.y;
        ASSERT_EQ(g_asked.size(), 1u);
        EXPECT_EQ(Utf8(g_asked[0]), "No" + std::to_string(c.slot) + " に保存します")
            << c.x << "," << c.y;
    }
    EXPECT_FALSE(SlotExists(1));
}

TEST_F(SlotClickTest, SaveLoadAndOtherModes) {
    game_.save_mode = SaveWindowMode::Save;
    EXPECT_EQ(Click(270, 100, {13}), 1);
    EXPECT_TRUE(SlotExists(8));
    EXPECT_EQ(g_asked.size(), 1u);
    // Saving over a slot says so.
    EXPECT_EQ(Click(270, 100, {13, 13}), 1);
    ASSERT_EQ(g_asked.size(), 2u);
    EXPECT_EQ(Utf8(g_asked[1]), "上書きします");

    game_.save_mode = SaveWindowMode::Load;
    SetNum(game_.player, "gold", 1);
    EXPECT_EQ(Click(0, 0, {}), 0);  // slot 1 is empty: nothing asked
    EXPECT_TRUE(g_asked.empty());
    EXPECT_EQ(Click(270, 100, {15}), 0);
    EXPECT_EQ(Utf8(g_asked[0]), "No8 を読み込みます");
    EXPECT_EQ(GetNum(game_.player, "gold"), 1);
    EXPECT_EQ(Click(270, 100, {13}), 1);
    EXPECT_EQ(GetNum(game_.player, "gold"), 35);

    game_.save_mode = SaveWindowMode::Result;
    EXPECT_EQ(Click(10, 10, {}), 1);
}

}  // namespace
