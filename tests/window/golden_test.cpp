// The window system's start (root window, system GCs, colour names) and what players see: a
// screen of windows in every decoration and background mode, compared pixel for pixel with the
// reference screenshots in tests/golden. Run with NOMA_UPDATE_GOLDEN=1 to write the references
// anew (then look at them before committing).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/bitmap.h"
#include "host/raster_target.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/startup.h"
#include "kernel/task.h"
#include "window/colors.h"
#include "window/draw.h"
#include "window/escaped_text.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/graphic.h"
#include "window/panel.h"
#include "window/tag_draw.h"
#include "window/win_text.h"
#include "window/window.h"
#include "window/window_events.h"
#include "window/window_manager.h"
#include "window/window_start.h"
#include "window/window_task.h"
#include "window_env.h"

namespace {

class StartTest : public WindowTest {
protected:
    // Restarts the window system with these NOMA.ini lines.
    void Restart(const std::string& ini, int use_color) {
        WriteFile("NOMA.ini", "Sys.error.elogfile test.log\n" + ini);
        g_use_color = int16_t(use_color);
        StartWindowSystem();
    }
    GCRecord& Gc(Handle gc) { return *gc_record(gc); }
    uint32_t RootFill() { return Gc(window_record(g_window_manager.root)->gc).fill; }
};

TEST_F(StartTest, RootWindowCoversTheScreenInTheBackgroundColour) {
    Restart("BACKSCREEN_COLOR 17\n", 3);
    WindowRecord* r = window_record(g_window_manager.root);
    EXPECT_STREQ(r->name, "SystemRootWindow");
    EXPECT_EQ(r->width, kScreenWidth);
    EXPECT_EQ(RootFill(), SystemColor(17));
    Restart("", 3);  // absent: a fallback colour, not black
    uint32_t fallback = RootFill();
    EXPECT_NE(fallback, 0u);
    Restart("BACKSCREEN_COLOR 39\n", 3);  // outside the table
    EXPECT_EQ(RootFill(), fallback);

    // Top-level windows draw with the system GC; children inherit their parent's GC.
    Handle top = create_window(0, 0, 10, 10, 0);
    EXPECT_EQ(window_record(top)->gc, g_window_manager.system_gc);
    Handle own = CreateGC(1, 2, 3, 4);
    set_window_gc(top, own);
    EXPECT_EQ(window_record(create_window(0, top, 5, 5, 0))->gc, own);
    EXPECT_EQ(Gc(own).font, FindFont(0, kSystemFontNumber)) << "new GCs take font 3";
}

TEST_F(StartTest, ActiveColourPicksTheActiveGCByUseColour) {
    Restart("ACTIVE_COLOR DARKGREEN\n", 3);
    EXPECT_EQ(Gc(g_window_manager.system_gc).fill, 0x787878u);
    EXPECT_EQ(Gc(g_window_manager.system_gc).edge2, 0x323232u);
    EXPECT_EQ(Gc(g_window_manager.active_gc).fill, RGBColor(100, 200, 100));
    Restart("ACTIVE_COLOR PINK\n", 3);  // no true-colour entry: the system GC's colours
    EXPECT_NE(g_window_manager.active_gc, g_window_manager.system_gc);
    EXPECT_EQ(Gc(g_window_manager.active_gc).fill, 0x787878u);
    Restart("ACTIVE_COLOR BLUE\n", 1);  // palette numbers index the colour table
    EXPECT_EQ(Gc(g_window_manager.system_gc).fill, SystemColor(8));
    EXPECT_EQ(Gc(g_window_manager.active_gc).fill, SystemColor(5));
    EXPECT_EQ(Gc(g_window_manager.active_gc).edge2, SystemColor(1));
    Restart("ACTIVE_COLOR GREEN\n", 0);  // any other mode keeps the system GC
    EXPECT_EQ(g_window_manager.active_gc, g_window_manager.system_gc);
}

TEST_F(StartTest, ColourNamesGiveTableEntries) {
    const uint32_t fallback = SystemColor(kDefaultColorIndex);
    EXPECT_EQ(ColorByName("black"), 0u);
    EXPECT_EQ(ColorByName("brown"), SystemColor(15)) << "the last name of the list";
    EXPECT_EQ(ColorByName("nothing"), fallback);
    EXPECT_EQ(ColorByName("Red"), fallback) << "names are compared exactly";
    EXPECT_EQ(ColorByName("P1234gold"), SystemColor(35)) << "five characters skipped after P";
    EXPECT_EQ(ColorByName("Pgold"), fallback);
    EXPECT_EQ(ColorByName("P"), fallback);
    EXPECT_EQ(SystemColor(7), 0xFA7878u) << "taken as it is";
    EXPECT_EQ(SystemColor(11), 0u) << "entries 9 to 13 are never filled";
    EXPECT_EQ(SystemColor(-1, 7), 7u);
    Handle gc = CreateGC(0, 0, 0, 0);
    SetGCColorName(gc, "mint");
    EXPECT_EQ(Gc(gc).text, SystemColor(26));
}

class GoldenTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        UseScreen(800, 600, "BACKSCREEN_COLOR 25\nACTIVE_COLOR GREEN\n");
        // WindowTask's initialisation clears the root and makes the title font.
        Handle window_task = RegisterTask("WindowTask", TASK_ID_WINDOW, 0);
        OpenTaskEvents(window_task);
        SendEvent(TASK_ID_MANAGER, TASK_ID_ALL, EVENT_SYSTEM_READY);
        for (int i = 0; i < 4; ++i)
            WindowTask(window_task);
        owner_ = NewTask("Scene");
        ForgetEvents();
    }

    // The owner's side: answers every draw request with the window's contents.
    void Pump() {
        AnswerDraws(owner_, [this](Handle w) { DrawContents(w); });
    }

    void DrawContents(Handle w) {
        const WindowRecord* r = window_record(w);
        std::string name(r->name, strnlen(r->name, sizeof r->name));
        if (name == "Messages") {
            WinMessage(w, 10, 8, "ウインドウの文字 ABC abc 123"_sj);
            Handle gc = CopyGC(g_window_manager.third_gc);
            SetGCTextColor(gc, 0xFFFFFF);
            tag_draw(
                w, 10, 32,
                "<font_color gold>金色<font_color scarlet>紅色<div><font_size 2>小さい字 small"_sj,
                gc);
            DrawEscapedText(w, 10, 66, "\\cR赤い行\\n\\l\\n\\cB青い行 blue"_sj, gc);
        } else if (name == "Shapes") {
            Circle(w, 10, 10, 40, 30, 0x3060E0);
            Circle(w, 60, 10, 40, 30, 10, 25, 80, 10, 0xFFFFFF);
            Rectangle(w, 110, 10, 30, 30, 0x00FFFF);
            Line(w, 10, 60, 140, 45, 0xFF8080);
            GradationBand(w, 10, 128, 0, 16);
        } else if (name != "NON") {
            WinMessage(w, 6, 4, name.c_str());
        }
    }

    Handle Open(const char* name, int x, int y, int width, int height, uint32_t mode,
                Handle gc = 0) {
        Handle w = create_window(owner_, 0, uint16_t(width), uint16_t(height), mode | WIN_TITLE);
        set_window_name(w, name);
        if (gc) set_window_gc(w, gc);
        open_window(w, x, y);
        Pump();
        return w;
    }

    Handle owner_ = 0;
};

// A 16 x 16 two-tone tile.
uint32_t MakeTile() {
    uint32_t tile = HostCreateBitmap(16, 16);
    RasterTarget t = HostBitmapTarget(tile);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            t.Row(y)[x] = ((x / 8) ^ (y / 8)) ? 0x5A6E3C : (x == y ? 0x90B070 : 0x7A8E5C);
    return tile;
}

// A wallpaper graphic: a diagonal blend from deep blue to orange.
Handle MakeWallpaper(Handle owner, int width, int height) {
    Handle graphic = CreateGraphic(owner, 0, width + 1, height + 1);
    RasterTarget t = HostBitmapTarget(graphic_record(graphic)->bitmap);
    for (int y = 0; y < t.height; ++y)
        for (int x = 0; x < t.width; ++x) {
            int f = (x + y) * 255 / (t.width + t.height);
            t.Row(y)[x] = RGBColor(40 + f * 3 / 4, 40 + f / 3, 120 - f / 3);
        }
    return graphic;
}

TEST_F(GoldenTest, WindowsInEveryModeThenACloseThatUncoversOne) {
    const uint32_t bars = WIN_CONTROLBAR | WIN_CLOSEBOX | WIN_RESIZEBOX;
    Open("Plain", 20, 40, 220, 110, bars | WIN_FRAME);
    Open("Ruled", 270, 40, 220, 110, bars | WIN_FRAME | WIN_RULED);
    Handle tiled_gc = CopyGC(g_window_manager.system_gc);
    SetGCTile(tiled_gc, MakeTile());
    Open("Tiled", 520, 40, 250, 110, bars | WIN_TILED, tiled_gc);

    Handle gcfill =
        CreateGC(RGBColor(210, 200, 170), RGBColor(250, 245, 230), RGBColor(120, 110, 90), 0);
    Open("GCFill", 20, 200, 220, 120, bars | WIN_BAR2 | WIN_GCFILL, gcfill);
    Handle paper = create_window(owner_, 0, 240, 130, bars | WIN_FRAME | WIN_TITLE);
    set_window_name(paper, "Wallpaper");
    window_record(paper)->wallpaper = MakeWallpaper(owner_, 240, 130);
    open_window(paper, 270, 190);
    Pump();
    Open("Shadow", 540, 190, 200, 110, WIN_CONTROLBAR | WIN_SHADOW);

    Open("Shapes", 20, 380, 160, 90, bars | WIN_FRAME);
    Handle covered = Open("Covered", 220, 380, 200, 120, bars | WIN_FRAME);
    Handle semi = Open("Semitrans", 320, 420, 200, 110, bars | WIN_FRAME | WIN_SEMITRANS);
    Handle moved = Open("Moved", 560, 360, 200, 80, bars);
    move_window(moved, 570, 500);
    Pump();
    Open("Messages", 470, 320, 300, 140, bars | WIN_FRAME | WIN_NOBACK | WIN_GCFILL);
    Open("NoBack", 600, 250, 100, 60, WIN_NOBACK | WIN_FRAME | WIN_CONTROLBAR);
    ASSERT_GT(window_record(covered)->depth, 1);
    CompareGolden("window_screen.png");

    // Closing the semi-transparent window repaints the window it covered, and the window
    // behind it becomes the active one.
    close_window(semi);
    Pump();
    EXPECT_FALSE(TestSystemFlag(FLAG_REDRAW_MOTION));
    CompareGolden("window_after_close.png");
}

}  // namespace
