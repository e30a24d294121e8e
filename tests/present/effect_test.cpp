// The effect player: requests and their records, the typewriter with its tags, wrap and pages,
// RedrawEffect, the wipes and fades on the tick events, capture and reveal, and requests that
// make no sense.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/bitmap.h"
#include "host/clock.h"
#include "host/input.h"
#include "host/raster.h"
#include "host/sjis_literal.h"
#include "host/surface.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "present/effect_data.h"
#include "present/effect_task.h"
#include "present_env.h"
#include "resource/resource.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

class EffectTest : public PresentTest {
protected:
    void SetUp() override {
        PresentTest::SetUp();
        StartEffects();
        gc_ = CreateGC(0x303030, 0x606060, 0x101010, 0xFFFFFF);
    }

    void Run() { Pump(EffectTask, g_tasks.effect); }
    void Tick(int n = 1) { TickEffects(n); }

    // Notices to the owner, oldest first; forgets them.
    std::vector<EventRecord> Notices() {
        std::vector<EventRecord> notices;
        for (EventRecord* r = event_record(g_event_head); r; r = event_record(r->next))
            if (r->destination == owner_id_ && r->code >= EFFECT_DONE &&
                r->code <= EFFECT_REPLACED) {
                notices.push_back(*r);
                r->destination = 0;
            }
        return notices;
    }
    std::vector<uint16_t> NoticeCodes() {
        std::vector<uint16_t> codes;
        for (const EventRecord& e : Notices())
            codes.push_back(e.code);
        return codes;
    }

    const EffectData& Record(Handle object, uint16_t type = EFFECT_TEXT) {
        static EffectData empty{};
        EffectData* r = effect_data(FindEffectByObject(object, type));
        return r ? *r : empty;
    }

    // A text effect in an open window of its own; returns the object.
    Handle Text(const std::string& text, int width = 200, int height = 140, uint32_t mode = 0) {
        window_ = OpenWindow(20, 20, width, height, 0, gc_);
        Handle object = MessageObject(window_, gc_, text);
        RequestEffect(EFFECT_TEXT, window_, object, mode);
        return object;
    }

    // Pixels of the window's client area that differ from its fill colour.
    int Inked() {
        const WindowRecord* w = window_record(window_);
        int n = 0;
        for (int y = 0; y < w->height; ++y)
            for (int x = 0; x < w->width; ++x)
                n += Pixel(client_left(window_) + x, client_top(window_) + y) != 0x303030;
        return n;
    }

    Handle gc_ = 0;
    Handle window_ = 0;
};

TEST_F(EffectTest, TypewriterDrawsOneCharacterPerTickAndReportsTheEnd) {
    Handle object = Text("あいう"_sj);
    EXPECT_EQ(Inked(), 0);
    const int cell = FontSize(gc_record(gc_)->font);
    Tick();
    int one = Inked();
    EXPECT_GT(one, 0);
    EXPECT_EQ(Record(object).position, 2u);
    EXPECT_EQ(Record(object).x, cell);
    Tick(2);
    EXPECT_GT(Inked(), one);
    EXPECT_TRUE(Notices().empty());
    Tick();  // the end of the text
    std::vector<EventRecord> n = Notices();
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0].code, EFFECT_DONE);
    EXPECT_EQ(n[0].word_a, 7);
    Handle window;
    std::memcpy(&window, n[0].data + 4, 4);
    EXPECT_EQ(window, window_);
    EXPECT_TRUE(Record(object).flags & EFFECT_PAGE_DONE) << "the record waits";
}

TEST_F(EffectTest, LineBreaksTagsAndAFinalLineFeed) {
    const int line = FontLineHeight(gc_record(gc_)->font) + 8;
    Handle object = Text("a\\nb\nc<font_color red>d\n");
    Tick(2);  // "a", then the escaped line break
    EXPECT_EQ(Record(object).y, line);
    EXPECT_EQ(Record(object).x, 0);
    Tick(3);  // "b", the line feed, "c"
    EXPECT_EQ(Record(object).y, 2 * line);
    Tick();  // the tag runs before "d"
    EXPECT_EQ(gc_record(gc_)->text, 0x0000C8u);
    EXPECT_TRUE(Notices().empty());
    Tick();  // the last line feed ends the text where it stands
    std::vector<EventRecord> n = Notices();
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0].code, EFFECT_DONE);
    int16_t reported_y;
    std::memcpy(&reported_y, n[0].data + 10, 2);
    EXPECT_EQ(reported_y, 2 * line);
    EXPECT_EQ(Record(object).y, 2 * line);
}

TEST_F(EffectTest, ClosingMarksMayStandPastTheMargin) {
    // 200 wide: margins of 12 and a 16-pixel cell. After a character at x the line wraps when
    // 24 + x + 16 > 200, so eleven characters fit (the eleventh at x = 160).
    const int cell = FontSize(gc_record(gc_)->font);
    ASSERT_EQ(cell, 16);
    std::string eleven;
    for (int i = 0; i < 11; ++i)
        eleven += "あ"_sj;
    Handle plain = Text(eleven + "い"_sj);
    Tick(10);
    EXPECT_EQ(Record(plain).y, 0);
    Tick();
    EXPECT_EQ(Record(plain).x, 0) << "the eleventh character ends the line";
    EXPECT_GT(Record(plain).y, 0);

    Handle marked = Text(eleven + "。"_sj + "い"_sj);
    Tick(11);
    EXPECT_EQ(Record(marked).y, 0);
    EXPECT_EQ(Record(marked).x, 11 * cell) << "no wrap before the 。";
    Tick();  // the 。 stands past the margin, then the line wraps
    EXPECT_EQ(Record(marked).x, 0);
    EXPECT_GT(Record(marked).y, 0);
}

TEST_F(EffectTest, FontSizeTags) {
    Handle original = gc_record(gc_)->font;
    Text("<font_size 1>a");
    Tick();
    EXPECT_EQ(gc_record(gc_)->font, original) << "size 1 first changes nothing";
    Handle object = Text("<font_size 3>a<font_size 2>b<font_size 1>c");
    Tick();
    EXPECT_EQ(gc_record(gc_)->font, g_effect.font36);
    EXPECT_EQ(Record(object).x, 18) << "a half-width character advances half of 36";
    Tick();
    EXPECT_EQ(gc_record(gc_)->font, g_effect.font28);
    Tick();
    EXPECT_EQ(gc_record(gc_)->font, original);
}

TEST_F(EffectTest, UnknownTagsAreLoggedAndWaitsHoldTheSystem) {
    Text("<sparkle x>a<wait 5>b");
    Tick();
    EXPECT_EQ(LogCount("EffectTask unknow code"), 1);
    EXPECT_TRUE(Logged("sparkle"));
    uint32_t before = HostTickCount();
    Tick(2);
    EXPECT_GE(HostTickCount() - before, 50u);
}

TEST_F(EffectTest, SecondRequestForTheSameObjectReplacesTheFirst) {
    Handle object = Text("あいうえお"_sj);
    Tick(3);
    EXPECT_GT(Inked(), 0);
    RequestEffect(EFFECT_TEXT, window_, object, 0);
    std::vector<EventRecord> n = Notices();
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0].code, EFFECT_REPLACED);
    EXPECT_EQ(Inked(), 0) << "the background is painted again";
    EXPECT_EQ(EffectCount(), 1);
    EXPECT_EQ(Record(object).position, 0u);
    EXPECT_EQ(LogCount(Sj("古い方を削除します  count rec 1")), 1);
    Tick();
    EXPECT_EQ(Record(object).position, 2u) << "the new page starts at the top";
}

TEST_F(EffectTest, PageFullWaitsAndModeOneGoesOnToTheNextPage) {
    // 100 x 70: margins 6 and 5; a 16-pixel cell fits 5 characters a line; lines 28 apart,
    // so the page is full once y + 10 > 70: after three lines.
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "あ"_sj;
    Handle object = Text(text, 100, 70);
    int ticks = 0;
    while (Notices().empty() && ticks < 100) {
        Tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 16) << "15 characters and the tick that finds the page full";
    EXPECT_EQ(Record(object).position, 30u);
    EXPECT_TRUE(Record(object).flags & EFFECT_PAGE_FULL);

    // Mode 1 moves on, a page at a time, until the end.
    int pages = 1;
    while (Record(object).flags & EFFECT_PAGE_FULL) {
        ASSERT_EQ(RedrawEffect(owner_, object, 1), 0);
        ++pages;
        ASSERT_LT(pages, 10);
    }
    EXPECT_EQ(pages, 3);
    EXPECT_EQ(Record(object).page_start, 60u);
    EXPECT_EQ(LogCount(Sj("続きﾃﾞｰﾀ見つけた")), 2);
    EXPECT_EQ(LogCount(Sj("text_draw() 二枚目表示")), 1);
    Notices();
    ASSERT_EQ(RedrawEffect(owner_, object, 1), 0);  // no continuation
    EXPECT_EQ(NoticeCodes(), std::vector<uint16_t>{EFFECT_STOPPED});
}

TEST_F(EffectTest, RedrawModesTwoAndZero) {
    Handle object = Text("あいうえおかきく"_sj);
    Tick(3);
    std::vector<uint32_t> typed(HostSurfacePixels(), HostSurfacePixels() + kWidth * kHeight);
    SetGCTextColor(gc_, 0x00FF00);  // a tag's colour; the redraw gives the base colour back
    EXPECT_EQ(RedrawEffect(owner_, object, 2), 0);
    EXPECT_EQ(Record(object).position, 6u);
    EXPECT_TRUE(std::equal(typed.begin(), typed.end(), HostSurfacePixels()));
    EXPECT_EQ(LogCount("RedrawEffect() mode 2 6"), 1);

    EXPECT_EQ(RedrawEffect(owner_, object, 0), 0);  // the whole page at once: the text ends
    EXPECT_EQ(Record(object).position, 16u);
    EXPECT_EQ(NoticeCodes(), std::vector<uint16_t>{EFFECT_STOPPED});
    SetMessageText(object, "あい"_sj);  // a shorter text: mode 2 meets its end and removes it
    EXPECT_EQ(RedrawEffect(owner_, object, 2), 0);
    EXPECT_EQ(EffectCount(), 0);
    EXPECT_EQ(RedrawEffect(owner_, object, 0), 0) << "no record: nothing to draw";
}

TEST_F(EffectTest, PlainModeShowsThePageAtOnce) {
    Handle object = Text("あいうえお"_sj, 200, 140, EFFECT_PLAIN);
    Tick();
    EXPECT_EQ(Record(object).position, 10u);
    EXPECT_EQ(NoticeCodes(), std::vector<uint16_t>{EFFECT_STOPPED});
}

TEST_F(EffectTest, ControlGivesOneExtraCharacterPerCycle) {
    Handle object = Text("あいうえおかきく"_sj);
    HostSetModifierState(MOD_CONTROL, true);
    EffectTask(g_tasks.effect);
    EffectTask(g_tasks.effect);
    HostSetModifierState(0, true);
    EXPECT_EQ(Record(object).position, 4u);
    Tick();
    EXPECT_EQ(Record(object).position, 6u);
}

TEST_F(EffectTest, AWindowThatCannotBeDrawnPausesTypingAndRefusesRedraws) {
    Handle top = OpenWindow(10, 10, 200, 150, 0, gc_);
    Handle inner = create_window(owner_, top, 180, 100, WIN_SUBWINDOW | WIN_SHOW);
    set_rectangle(inner, 10, 10, 180, 100);
    window_depth();
    Handle object = MessageObject(inner, gc_, "あいう"_sj);
    RequestEffect(EFFECT_TEXT, top, object);
    Tick();
    EXPECT_EQ(Record(object).position, 2u);
    clear_window_mode(inner, WIN_DRAWABLE);
    Tick(3);
    EXPECT_EQ(Record(object).position, 2u);
    EXPECT_TRUE(Notices().empty());
    EXPECT_EQ(RedrawEffect(owner_, object, 0), 0) << "nothing to draw into: the page stays";
    set_window_mode(inner, WIN_DRAWABLE);
    Tick();
    EXPECT_EQ(Record(object).position, 4u);
    clear_window_mode(top, WIN_DRAWABLE);
    EXPECT_EQ(RedrawEffect(owner_, object, 0), 1);
    EXPECT_EQ(RedrawEffect(owner_, 0x12345, 0), 1) << "not a message object";
}

TEST_F(EffectTest, WindowClosingMidWayStopsTheEffect) {
    Handle object = Text("あいうえお"_sj);
    Tick(2);
    close_window(window_);
    Tick();
    std::vector<EventRecord> n = Notices();
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(n[0].code, EFFECT_STOPPED);
    EXPECT_EQ(EffectCount(), 0);
    EXPECT_EQ(Record(object).type, 0);

    // A wipe in a window about to be redrawn ends too; a capture outlives the redraw.
    Handle w = OpenWindow(0, 0, 100, 100, 0, gc_);
    RequestEffect(EFFECT_BAND_WIPE, w, 0, 0, 0xFF);
    RequestEffect(EFFECT_CAPTURE, w, 1, 0, 0, 0, 0, 10, 10);
    set_window_mode(w, WIN_REDRAW);
    clear_window_mode(w, WIN_DRAWABLE);
    Tick();
    EXPECT_EQ(NoticeCodes(), std::vector<uint16_t>{EFFECT_STOPPED});
    EXPECT_EQ(EffectCount(), 1);
}

// (What a finished white-out leaves on the screen is in the effect wipes golden; the line grid
// and the white-out end on their ticks in WipeStepsFollowTheClockTicks.)
struct WipeCase {
    uint16_t type;
    int ticks;
    uint16_t notice;
    bool removed;
};

TEST_F(EffectTest, WipesAndFadesEndOnTheirTickWithTheirNotice) {
    const WipeCase cases[] = {
        {EFFECT_BAND_WIPE, 16, EFFECT_STOPPED, true},
        {EFFECT_BLACK_OUT, 19, EFFECT_DONE, false},
    };
    for (const WipeCase& c : cases) {
        SCOPED_TRACE(c.type);
        Handle w = OpenWindow(10, 10, 200, 150, 0, gc_);
        RequestEffect(c.type, w, 0, 0, 0x0000FF);
        Tick(c.ticks - 1);
        EXPECT_TRUE(Notices().empty());
        Tick();
        EXPECT_EQ(NoticeCodes(), std::vector<uint16_t>{c.notice});
        EXPECT_EQ(EffectCount(), c.removed ? 0 : 1);
        Tick(3);
        EXPECT_TRUE(Notices().empty()) << "a finished effect stays quiet";
        // The finished fade's record goes with the next request of its kind.
        while (Handle h = FirstRecord(g_effect.resource))
            RemoveEffect(h);
        close_window(w);
    }
}

// The ticks come from EventTask on the virtual clock (a cycle tick every fourth cycle, and
// the quarter and half seconds): a wipe ends on the tick event that makes its count.
TEST_F(EffectTest, WipeStepsFollowTheClockTicks) {
    const WipeCase cases[] = {{EFFECT_LINE_GRID, 21, EFFECT_STOPPED, true},
                              {EFFECT_WHITE_OUT, 4, EFFECT_DONE, false}};
    for (const WipeCase& c : cases) {
        SCOPED_TRACE(c.type);
        Handle w = OpenWindow(10, 10, 200, 150, 0, gc_);
        RequestEffect(c.type, w, 0, 0, 0x0000FF);
        int ticks = 0;
        for (int cycle = 0; cycle < 2000 && Notices().empty(); ++cycle) {
            Handle before = g_event_tail;
            EventTask(g_tasks.event);
            for (Handle h = event_record(before)->next; h; h = event_record(h)->next) {
                uint16_t code = event_record(h)->code;
                ticks +=
                    code == EVENT_TICK || code == EVENT_QUARTER_SECOND || code == EVENT_HALF_SECOND;
            }
            Run();
            HostAdvanceClock(1);
        }
        EXPECT_EQ(ticks, c.ticks);
        while (Handle h = FirstRecord(g_effect.resource))
            RemoveEffect(h);
        close_window(w);
    }
}

TEST_F(EffectTest, CaptureAndRevealRestoreTheExactPixels) {
    Handle w = OpenWindow(0, 0, 200, 150, 0, gc_);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            HostSetPixel(x, y, uint32_t(x * 7 + y * 131) & 0xFFFFFF);
    std::vector<uint32_t> before(HostSurfacePixels(), HostSurfacePixels() + kWidth * kHeight);
    int bitmaps = HostBitmapCount();
    const Handle area = 77;  // the capture is keyed by its "object"
    RequestEffect(EFFECT_CAPTURE, w, area, 0, 0, 30, 20, 101, 41);
    Tick();
    EXPECT_EQ(HostBitmapCount(), bitmaps + 21);
    HostFillRect(0, 0, 200, 150, 0x123456);
    Tick(10);
    EXPECT_EQ(Pixel(30, 20), 0x123456u) << "the capture waits for the reveal";
    RequestEffect(EFFECT_REVEAL, w, area);
    EXPECT_EQ(Record(area, EFFECT_REVEAL).type, EFFECT_REVEAL);
    int ticks = 0;
    while (EffectCount() && ticks < 100) {
        Tick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 19) << "passes on the 5th, 10th, 15th and 20th counted tick";
    EXPECT_EQ(HostBitmapCount(), bitmaps);
    EXPECT_TRUE(Notices().empty());
    int restored = 0, other = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x) {
            bool inside = x >= 30 && x < 131 && y >= 20 && y < 61;
            uint32_t p = HostSurfacePixels()[y * kWidth + x] & 0xFFFFFF;
            if (inside)
                restored += p == (before[y * kWidth + x] & 0xFFFFFF);
            else
                other += p == 0x123456;
        }
    EXPECT_EQ(restored, 101 * 41);
    // The last strip's second row lies below the area and comes back too.
    EXPECT_EQ(other, 200 * 150 - 101 * 42);
}

TEST_F(EffectTest, AbsurdRequestsEndQuietly) {
    int bitmaps = HostBitmapCount();
    RequestEffect(EFFECT_LINE_GRID, 0);  // no window
    RequestEffect(EFFECT_CAPTURE, OpenWindow(0, 0, 50, 50), 5, 0, 0, 0, 0, 0, 10);
    RequestEffect(EFFECT_CAPTURE, OpenWindow(60, 0, 50, 50), 6, 0, 0, 0, 0, -4, -4);
    Tick();
    EXPECT_EQ(EffectCount(), 0);
    EXPECT_EQ(HostBitmapCount(), bitmaps);

    // A message object without text (or no object at all) ends at its first step.
    Handle w = OpenWindow(120, 0, 50, 50);
    RequestEffect(EFFECT_TEXT, w, 0x4444);
    Tick();
    EXPECT_EQ(NoticeCodes(), std::vector<uint16_t>{EFFECT_DONE});

    // An unknown type lives on and is logged on every tick.
    RequestEffect(42, w, 0, 0, 0, 0, 0, 0, 0, 9);
    Tick(3);
    EXPECT_EQ(LogCount("NON suport effect request. type 42"), 3);

    // Type 6 changes the mode of the effect with that window and request word.
    RequestEffect(EFFECT_SET_MODE, w, 0, 9, 0, 0, 0, 0, 0, 9);
    EXPECT_EQ(Record(0, 42).mode, 9u);
}

}  // namespace
