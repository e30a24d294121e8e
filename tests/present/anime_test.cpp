// The anime player: scripts on the tick events (pictures, waits, jumps, sequences, loops),
// the end notice and removal, kept animations and the free-cache request, press lines, focus,
// the picture cache, and animations whose script, picture or window goes missing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/bmp_write.h"
#include "host/sjis_literal.h"
#include "host/surface.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "present/anime_data.h"
#include "present/anime_script.h"
#include "present/anime_task.h"
#include "present_env.h"
#include "resource/resource.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

class AnimeTest : public PresentTest {
protected:
    void SetUp() override {
        PresentTest::SetUp();
        SendEvent(TASK_ID_MANAGER, TASK_ID_ANIME, EVENT_START);
        Run();
        window_ = OpenWindow(20, 20, 120, 100);
    }
    void TearDown() override {
        g_anime_cache_pixels = saved_limit_;
        PresentTest::TearDown();
    }

    void Run() { Pump(AnimeTask, g_tasks.anime); }

    // A solid picture file of `colour` (0x00BBGGRR).
    static void Picture(const std::string& name, uint32_t colour, int width = 16, int height = 16) {
        std::vector<uint32_t> pixels(size_t(width) * height, colour);
        ASSERT_TRUE(HostWriteBmp(name.c_str(), pixels.data(), width, height));
    }

    void Request(uint32_t type, Handle window, const std::string& script = "", int x = 0, int y = 0,
                 int focus_width = 0, int focus_height = 0, uint32_t from = 0) {
        Handle h = SendEvent(from ? from : owner_id_, TASK_ID_ANIME, EVENT_EFFECT_REQUEST);
        EventRecord* e = event_record(h);
        e->long_a = type;
        AnimeRequestData d{};
        d.window = window;
        d.x = int16_t(x);
        d.y = int16_t(y);
        d.focus_width = int16_t(focus_width);
        d.focus_height = int16_t(focus_height);
        std::strncpy(d.script, script.c_str(), sizeof d.script - 1);
        std::memcpy(e->data, &d, sizeof d);
        Run();
    }

    // Starts `script` (written to anime.ani) in the window at (x, y).
    void Start(const std::string& script, int x = 0, int y = 0) {
        WriteFile("anime.ani", script);
        Request(ANIME_START, window_, "anime.ani", x, y);
    }

    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            SendEvent(TASK_ID_EVENT, TASK_ID_ALL, EVENT_TICK);
            Run();
        }
    }

    // End notices to the owner so far; forgets them.
    int Notices() {
        int n = 0;
        for (EventRecord* r = event_record(g_event_head); r; r = event_record(r->next))
            if (r->destination == owner_id_ && r->code == EVENT_ANIME_END) {
                Handle window;
                std::memcpy(&window, r->data + 4, 4);
                EXPECT_EQ(window, window_);
                EXPECT_EQ(r->word_a, 0);
                ++n;
                r->destination = 0;
            }
        return n;
    }

    // The colour shown at (x, y) of the window's client area.
    uint32_t Shown(int x = 2, int y = 2) {
        return Pixel(client_left(window_) + x, client_top(window_) + y);
    }

    // Colours shown on `n` ticks, one a tick (0 when the window was not painted).
    std::vector<uint32_t> ShownOnTicks(int n) {
        std::vector<uint32_t> shown;
        FillMarker();
        for (int i = 0; i < n; ++i) {
            Tick();
            shown.push_back(Shown());
            // Paint a marker so an unchanged picture is told from a redrawn one.
            FillMarker();
        }
        return shown;
    }
    void FillMarker() {
        HostSurfacePixels()[(client_top(window_) + 2) * kWidth + client_left(window_) + 2] = 0;
    }

    const AnimeData* Anime() { return anime_data(FindAnimeByWindow(window_)); }

    Handle window_ = 0;
    int64_t saved_limit_ = g_anime_cache_pixels;
};

constexpr uint32_t kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kGrey = 0x808080;

TEST_F(AnimeTest, ThreePicturesThenTheEndNotice) {
    Picture("a.bmp", kRed);
    Picture("b.bmp", kGreen);
    Picture("c.bmp", kBlue);
    // The same script with and without a newline after its last line.
    for (const char* end : {"\n", ""}) {
        SCOPED_TRACE(std::string("ending ") + (*end ? "with" : "without") + " a newline");
        Start(std::string("pic a.bmp\npic b.bmp\npic c.bmp") + end);
        ASSERT_NE(Anime(), nullptr);
        EXPECT_EQ(Anime()->line_count, 3);
        EXPECT_EQ(ShownOnTicks(3), (std::vector<uint32_t>{kRed, kGreen, kBlue}));
        EXPECT_EQ(Notices(), 0);
        Tick();
        EXPECT_EQ(Notices(), 1);
        EXPECT_EQ(Anime(), nullptr) << "removed";
        EXPECT_EQ(g_anime.count, 0);
        EXPECT_EQ(RecordCount(g_anime.graphics), 0) << "its pictures are freed";
        EXPECT_TRUE(Logged("delete anime!! anime.ani"));
    }
}

// Each script against the colours shown on its ticks (0: nothing drawn on that tick) and
// whether it ended within them.
TEST_F(AnimeTest, ScriptTimelines) {
    const uint32_t grey[] = {0, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555};
    for (int i = 1; i <= 5; ++i)
        Picture("p" + std::to_string(i) + ".bmp", grey[i]);
    Picture("a.bmp", kRed);
    Picture("b.bmp", kGreen);
    Picture("c.bmp", kBlue);
    struct Case {
        const char* script;
        std::vector<uint32_t> shown;
        int notices;
    } cases[] = {
        // endmotion, a, comment, b, (end: back to 0), endmotion, a, ...
        {"endmotion loop\npic a.bmp\n; a comment line\npic b.bmp\n",
         {0, kRed, 0, kGreen, 0, 0, kRed, 0, kGreen, 0},
         0},
        // The wait delays only the line after it.
        {"wait 4\npic a.bmp\npic b.bmp\n", {0, 0, 0, 0, kRed, kGreen, 0}, 1},
        // jump 0 goes on at line 1.
        {"pic a.bmp\npic b.bmp\njump 0\npic c.bmp\n", {kRed, kGreen, 0, kGreen, 0, kGreen}, 0},
        {"add_loop 1, 5, p%d.bmp\npic a.bmp", {0, grey[1], grey[2], grey[3], grey[4], kRed, 0}, 1},
        {"sub_loop 5;1;p%d.bmp\npic a.bmp", {0, grey[5], grey[4], grey[3], grey[2], kRed, 0}, 1},
        {"sub_loop 3 -4 p%d.bmp\npic a.bmp", {0, grey[3], grey[2], grey[1], kRed, 0}, 1},
        // A jump far below 0 is the end of the script.
        {"pic a.bmp\njump -9\npic b.bmp", {kRed, 0, 0}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        Start(c.script);
        EXPECT_EQ(ShownOnTicks(int(c.shown.size())), c.shown);
        EXPECT_EQ(Notices(), c.notices);
        Request(ANIME_STOP, window_);
        Notices();
    }
    // The looping script loaded each of its pictures once.
    Start("endmotion loop\npic a.bmp\npic b.bmp\n");
    Tick(12);
    EXPECT_EQ(AnimePictureCount(FindAnimeByWindow(window_)), 2);
    EXPECT_EQ(RecordCount(g_anime.graphics), 2);
}

TEST_F(AnimeTest, MissingPictures) {
    Picture("a.bmp", kRed);
    Picture("p1.bmp", kRed);
    // In a pic line the script goes on.
    Start("pic gone.bmp\npic a.bmp\n");
    EXPECT_EQ(ShownOnTicks(2), (std::vector<uint32_t>{0, kRed}));
    EXPECT_TRUE(Logged("no graphic gone.bmp"));
    EXPECT_TRUE(Logged("AnimeTask sync_anime() -pic- draw_graphic error  gone.bmp."));
    Tick();
    EXPECT_EQ(Notices(), 1);
    // In a sequence the animation ends.
    Start("add_loop 1 4 p%d.bmp\npic a.bmp\n");
    Tick(2);
    EXPECT_EQ(Notices(), 0);
    Tick();
    EXPECT_TRUE(Logged("AnimeTask sync_anime() draw_graphic error  p2.bmp."));
    EXPECT_EQ(Notices(), 1);
    EXPECT_EQ(Anime(), nullptr);
}

TEST_F(AnimeTest, AScriptThatDoesNotLoadStaysUntilStopped) {
    Request(ANIME_START, window_, "nothing.ani");
    ASSERT_NE(Anime(), nullptr);
    EXPECT_EQ(Anime()->flags, 0u) << "not running";
    EXPECT_EQ(g_anime.count, 0);
    Tick(5);
    EXPECT_EQ(Notices(), 0);
    Request(ANIME_STOP, window_);
    EXPECT_EQ(Notices(), 1);
    EXPECT_EQ(Anime(), nullptr);
    EXPECT_EQ(g_anime.count, 0) << "never below 0";
}

TEST_F(AnimeTest, KeptAnimationsAndTheFreeCacheRequest) {
    Picture("a.bmp", kRed);
    Start("endmotion cash\npic a.bmp\n");
    Tick(3);
    EXPECT_EQ(Notices(), 1);
    ASSERT_NE(Anime(), nullptr) << "kept";
    EXPECT_EQ(Anime()->flags & ANIME_RUNNING, 0u);
    EXPECT_EQ(AnimePictureCount(FindAnimeByWindow(window_)), 1) << "with its pictures";
    // Another task's free cache leaves it; its owner's removes it without a second notice.
    Request(ANIME_FREE_CACHE, window_, "", 0, 0, 0, 0, TASK_ID_EFFECT);
    EXPECT_NE(Anime(), nullptr);
    Request(ANIME_FREE_CACHE, window_);
    EXPECT_EQ(Anime(), nullptr);
    EXPECT_EQ(Notices(), 0);
    EXPECT_TRUE(Logged("パタアニcash free"_sj));

    // A stop ends a running kept animation; a second stop removes it.
    Start("endmotion cash\npic a.bmp\nwait 100\npic a.bmp\n");
    Tick(2);
    Request(ANIME_STOP, window_);
    EXPECT_EQ(Notices(), 1);
    ASSERT_NE(Anime(), nullptr);
    Request(ANIME_STOP, window_);
    EXPECT_EQ(Anime(), nullptr);
    EXPECT_EQ(RecordCount(g_anime.graphics), 0);
}

TEST_F(AnimeTest, PressJumpsOnceToThePressLine) {
    Picture("a.bmp", kRed);
    Picture("b.bmp", kGreen);
    Start("endmotion loop\npic a.bmp\nwait 1000\npic a.bmp\npress_jump_line 6\npic b.bmp\n");
    Request(ANIME_PRESS, window_);  // no press line yet: nothing
    EXPECT_EQ(ShownOnTicks(3), (std::vector<uint32_t>{0, kRed, 0}));
    EXPECT_TRUE(Logged("press animewindow"));
    EXPECT_EQ(Anime()->press_line, -1);
    // Now waiting 1000 ticks: a press line set by hand, as a script line before would.
    const_cast<AnimeData*>(Anime())->press_line = 5;
    Request(ANIME_PRESS, window_);
    EXPECT_EQ(Anime()->press_line, -1);
    EXPECT_EQ(Anime()->line, 5);
    const_cast<AnimeData*>(Anime())->wait = 1;
    EXPECT_EQ(ShownOnTicks(1), (std::vector<uint32_t>{kGreen}));
}

TEST_F(AnimeTest, StartStopPausesAndWindowsWithoutAnAnimationIgnoreRequests) {
    Picture("a.bmp", kRed, 100, 40);
    Start("endmotion loop\npic a.bmp\n");
    Request(ANIME_START_STOP, window_);
    EXPECT_TRUE(Logged("ANIME start & stop"));
    EXPECT_EQ(ShownOnTicks(4), (std::vector<uint32_t>{0, 0, 0, 0})) << "paused";
    Request(ANIME_START_STOP, window_);
    EXPECT_NE(ShownOnTicks(4), std::vector<uint32_t>(4, 0)) << "running again";
    // Requests for a window without an animation do nothing.
    Handle other = OpenWindow(200, 20, 40, 40);
    for (uint32_t type : {ANIME_STOP, ANIME_PRESS, ANIME_START_STOP, ANIME_DEBUG, ANIME_SET_FOCUS})
        Request(type, other);
    EXPECT_EQ(Anime()->flags & ANIME_FOCUS, 0u);
}

// A 64 x 32 picture of four 16-pixel columns: red, green, blue, grey.
void Columns(const std::string& name) {
    std::vector<uint32_t> pixels(64 * 32);
    const uint32_t colours[] = {kRed, kGreen, kBlue, kGrey};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            pixels[size_t(y) * 64 + size_t(x)] = colours[x / 16];
    ASSERT_TRUE(HostWriteBmp(name.c_str(), pixels.data(), 64, 32));
}

TEST_F(AnimeTest, FocusShowsAPartStretchedToThePicture) {
    Columns("cols.bmp");
    Start("endmotion loop\npic cols.bmp\n");
    Tick(2);
    EXPECT_EQ(Shown(0, 0), kRed);
    // Focus on the second column: x 32 in picture scale is 16 at a ratio of 64 / 32 = 2.
    Request(ANIME_SET_FOCUS, window_, "", 32, 2, 32, 16);
    EXPECT_EQ(Anime()->focus_x, 16);
    EXPECT_EQ(Anime()->focus_y, 1);
    Tick(3);
    EXPECT_EQ(Shown(0, 0), kGreen);
    EXPECT_EQ(Shown(62, 30), kBlue) << "16 columns stretched over 64";
    // Moving keeps the rectangle inside the picture.
    Request(ANIME_MOVE_FOCUS, window_, "", 50, 30);
    EXPECT_EQ(Anime()->focus_x, 32);
    Request(ANIME_MOVE_FOCUS, window_, "", -5, -1);
    EXPECT_EQ(Anime()->focus_x, 0);
    EXPECT_TRUE(Logged("    focus_anime() in tasks error  x = 0"));
    EXPECT_TRUE(Logged("    focus_anime() in tasks error  y = 0"));
    // A focus wider than the picture gives a ratio of 0: the origin stays as asked.
    Request(ANIME_SET_FOCUS, window_, "", 8, 4, 100, 16);
    EXPECT_EQ(Anime()->focus_x, 8);
    EXPECT_EQ(Anime()->focus_width, 100);
    Request(ANIME_FOCUS_OFF, window_);
    Tick(3);
    EXPECT_EQ(Shown(0, 0), kRed);
}

TEST_F(AnimeTest, AClosedOrDestroyedWindow) {
    Picture("a.bmp", kRed);
    Start("endmotion loop\npic a.bmp\n");
    close_window(window_);
    clear_window_mode(window_, WIN_DRAWABLE);
    Tick(2);
    EXPECT_TRUE(Logged("anime window描画禁止です"_sj));
    EXPECT_EQ(Notices(), 0);
    DestroyWindow(window_);
    Tick();
    EXPECT_EQ(Notices(), 1) << "the animation of a destroyed window ends";
    EXPECT_EQ(RecordCount(g_anime.resource), 0);
}

TEST_F(AnimeTest, TheCacheKeepsItsFirstPictureAndStaysWithinItsLimit) {
    g_anime_cache_pixels = 3 * 16 * 16;
    for (int i = 1; i <= 6; ++i)
        Picture("p" + std::to_string(i) + ".bmp", 0x101010u * uint32_t(i));
    Start("endmotion loop\nadd_loop 1 7 p%d.bmp\n");
    Tick(8);
    Handle record = FindAnimeByWindow(window_);
    EXPECT_EQ(AnimePictureCount(record), 3);
    EXPECT_EQ(RecordCount(g_anime.graphics), 3);
    const AnimePicture* first =
        reinterpret_cast<const AnimePicture*>(record_body(anime_data(record)->pictures));
    EXPECT_STREQ(first->name, "p1.bmp");
}

TEST(AnimeScript, LinesAndSequenceNames) {
    AnimeCommand c = ParseAnimeLine("  add_loop 3,12;pic%03d.bmp extra");
    EXPECT_EQ(c.kind, ANIME_CMD_ADD_LOOP);
    EXPECT_EQ(c.a, 3);
    EXPECT_EQ(c.b, 12);
    EXPECT_STREQ(c.text, "pic%03d.bmp");
    EXPECT_EQ(ParseAnimeLine("endmotion stop,exit").flags, ANIME_STOP_FLAG | ANIME_EXIT);
    EXPECT_EQ(ParseAnimeLine("endmotion cash").flags, ANIME_KEEP);
    EXPECT_EQ(ParseAnimeLine("endmotion loop  ").flags, ANIME_LOOP)
        << "trailing blanks end the words";
    EXPECT_EQ(ParseAnimeLine("picture a.bmp").kind, ANIME_CMD_NONE);
    EXPECT_EQ(ParseAnimeLine("wait").a, 0);
    EXPECT_EQ(std::strlen(ParseAnimeLine(("pic " + std::string(300, 'x')).c_str()).text), 79u);

    struct {
        const char* format;
        int counter;
        const char* name;
    } names[] = {
        {"p%03d.bmp", 7, "p007.bmp"},  {"%d%d.bmp", 1, "1%d.bmp"},
        {"100%%_%d", 2, "100%_2"},     {"%s%n%d", 5, "%s%n5"},
        {"no number", 1, "no number"}, {"%99999999999d", 1, "%99999999999d"},
    };
    for (const auto& n : names) {
        char out[80];
        FormatSequenceName(n.format, n.counter, out, sizeof out);
        EXPECT_STREQ(out, n.name) << n.format;
    }
    char small[6];
    FormatSequenceName("abc%08d", 1, small, sizeof small);
    EXPECT_STREQ(small, "abc00");
}

}  // namespace

namespace {

// Frame `n` of a small painted scene: a dusk sky, a hill and a moon that rises frame by frame.
std::vector<uint32_t> DuskFrame(int n, int width, int height) {
    std::vector<uint32_t> pixels(size_t(width) * height);
    const int moon_x = 30 + n * 50, moon_y = 70 - n * 22, radius = 14;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t r = uint32_t(40 + y * 150 / height), g = uint32_t(20 + y * 60 / height),
                     b = uint32_t(90 - y * 40 / height);
            int dx = x - moon_x, dy = y - moon_y;
            if (dx * dx + dy * dy <= radius * radius) r = 250, g = 235, b = 170;
            int hill = height - 24 + (x - width / 2) * (x - width / 2) / 220;
            if (y >= hill) r = 20, g = uint32_t(50 + (y - hill) * 2), b = 30;
            pixels[size_t(y) * width + x] = (b << 16) | (g << 8) | r;
        }
    return pixels;
}

TEST_F(AnimeTest, GoldenThreeSteps) {
    for (int n = 0; n < 3; ++n) {
        std::vector<uint32_t> frame = DuskFrame(n, 200, 110);
        std::string name = "dusk" + std::to_string(n) + ".bmp";
        ASSERT_TRUE(HostWriteBmp(name.c_str(), frame.data(), 200, 110));
    }
    Handle stage = OpenWindow(50, 50, 220, 130);
    WriteFile("dusk.ani", "pic dusk0.bmp\npic dusk1.bmp\npic dusk2.bmp\n");
    Request(ANIME_START, stage, "dusk.ani", 10, 10);
    const char* goldens[] = {"anime_step1.png", "anime_step2.png", "anime_step3.png"};
    for (const char* golden : goldens) {
        SCOPED_TRACE(golden);
        Tick();
        CompareGolden(golden);
    }
}

}  // namespace
