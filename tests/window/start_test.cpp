// The window system's start: root window, system GCs, colour table and names, fonts.
#include <gtest/gtest.h>

#include "kernel/startup.h"
#include "window/colors.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window/window_start.h"
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
    uint32_t Fill(Handle gc) { return gc_record(gc)->fill; }
    uint32_t RootFill() { return Fill(window_record(g_window_manager.root)->gc); }
};

TEST_F(StartTest, RootWindowCoversTheScreenInTheBackgroundColour) {
    Restart("BACKSCREEN_COLOR 17\n", 3);
    Handle root = g_window_manager.root;
    WindowRecord* r = window_record(root);
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->name, "SystemRootWindow");
    EXPECT_EQ(r->width, kScreenWidth);
    EXPECT_EQ(r->height, kScreenHeight);
    EXPECT_EQ(r->parent, 0u);
    EXPECT_EQ(RootFill(), 0x787878u);

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
    Handle child = create_window(0, top, 5, 5, 0);
    EXPECT_EQ(window_record(child)->gc, own);
}

TEST_F(StartTest, ActiveColourPicksTheActiveGCByUseColour) {
    Restart("ACTIVE_COLOR DARKGREEN\n", 3);
    EXPECT_EQ(Fill(g_window_manager.system_gc), 0x787878u);
    EXPECT_EQ(gc_record(g_window_manager.system_gc)->edge1, 0xC8C8C8u);
    EXPECT_EQ(gc_record(g_window_manager.system_gc)->edge2, 0x323232u);
    EXPECT_EQ(Fill(g_window_manager.active_gc), RGBColor(100, 200, 100));
    EXPECT_NE(g_window_manager.active_gc, g_window_manager.system_gc);

    Restart("ACTIVE_COLOR PURPLE\n", 3);
    EXPECT_EQ(gc_record(g_window_manager.active_gc)->edge2, RGBColor(150, 60, 150));
    Restart("ACTIVE_COLOR PINK\n", 3);  // no true-colour entry: the system GC's colours
    EXPECT_EQ(Fill(g_window_manager.active_gc), 0x787878u);

    Restart("ACTIVE_COLOR BLUE\n", 1);  // palette numbers index the colour table
    EXPECT_EQ(Fill(g_window_manager.system_gc), SystemColor(8));
    EXPECT_EQ(Fill(g_window_manager.active_gc), SystemColor(5));
    EXPECT_EQ(gc_record(g_window_manager.active_gc)->edge2, SystemColor(1));

    Restart("ACTIVE_COLOR GREEN\n", 0);  // any other mode keeps the system GC
    EXPECT_EQ(g_window_manager.active_gc, g_window_manager.system_gc);
}

TEST_F(StartTest, ColourNamesGiveTableEntries) {
    EXPECT_EQ(ColorByName("white"), 0xFFFFFFu);
    EXPECT_EQ(ColorByName("red"), 0x0000C8u);
    EXPECT_EQ(ColorByName("black"), 0u);
    EXPECT_EQ(ColorByName("remon"), 0x8CFAFAu);
    EXPECT_EQ(ColorByName("brown"), 0x1E1E78u);
    EXPECT_EQ(ColorByName("nothing"), 0x28961Eu);
    EXPECT_EQ(ColorByName("Red"), 0x28961Eu) << "names are compared exactly";
    EXPECT_EQ(ColorByName("P1234gold"), 0x00D7FFu) << "five characters skipped after P";
    EXPECT_EQ(ColorByName("Pgold"), 0x28961Eu);
    EXPECT_EQ(ColorByName("P"), 0x28961Eu);
    EXPECT_EQ(SystemColor(6), 0x6E6EF0u);
    EXPECT_EQ(SystemColor(11), 0u) << "entries 9 to 13 are never filled";
    EXPECT_EQ(SystemColor(-1, 7), 7u);

    Handle gc = CreateGC(0, 0, 0, 0);
    SetGCColorName(gc, "mint");
    EXPECT_EQ(gc_record(gc)->text, 0x91CE58u);
    EXPECT_EQ(gc_record(gc)->font, FindFont(kSystemFontNumber)) << "new GCs take font 3";
    EXPECT_EQ(FontSize(FindFont(kSystemFontNumber)), 16);
    EXPECT_EQ(FontSize(FindFont(4)), 18);
}

}  // namespace
