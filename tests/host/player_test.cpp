// The player's comforts on the host side: settings from player.ini under the command line,
// the remembered window size, the fall-back of missing soundfonts, screenshots. (A missing font
// family is checked by the whole-system player run.)
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "host/clock.h"
#include "host/midi_synth.h"
#include "host/options.h"
#include "host/player_settings.h"
#include "host/png.h"
#include "host/screenshot.h"
#include "host/surface.h"
#include "support/test_env.h"

namespace {

bool Parse(std::vector<const char*> args, HostOptions* o, std::string* error) {
    args.insert(args.begin(), "noma");
    return ParseHostOptions(int(args.size()), args.data(), o, error);
}

TEST(PlayerSettings, FileLinesCommentsAndProblems) {
    PlayerSettings s;
    std::vector<std::string> problems;
    ParsePlayerSettings(
        "# the player's settings\r\n"
        "[player]\n"
        "Music_Volume = 40\r\n"
        "effect_volume=7\n"
        "mute = yes\n"
        "fullscreen = On\n"
        "gothic_font =   IPAGothic  \n"
        "window_height = 700",
        &s, &problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_EQ(s.music_volume, 40);
    EXPECT_EQ(s.effect_volume, 7);
    EXPECT_TRUE(s.mute && s.fullscreen);
    EXPECT_EQ(s.gothic_font, "IPAGothic");
    EXPECT_EQ(s.window_height, 700);

    // Bad lines change nothing and are each reported with their number.
    PlayerSettings kept = s;
    problems.clear();
    ParsePlayerSettings(
        "music_volume = 101\neffect_volume = -1\nmute = maybe\nscale = 2x\n"
        "volume = 3\njust words\nmusic_volume =\nwindow_width = 99999999999\n",
        &s, &problems);
    ASSERT_EQ(problems.size(), 8u);
    EXPECT_EQ(problems[0].rfind("line 1:", 0), 0u) << problems[0];
    EXPECT_NE(problems[4].find("volume"), std::string::npos) << problems[4];
    EXPECT_EQ(problems[5].rfind("line 6:", 0), 0u) << problems[5];
    EXPECT_EQ(s.music_volume, kept.music_volume);
    EXPECT_EQ(s.effect_volume, kept.effect_volume);
    EXPECT_EQ(s.mute, kept.mute);
    EXPECT_EQ(s.window_width, kept.window_width);
}

TEST(PlayerSettings, TheCommandLineOverridesTheFile) {
    PlayerSettings file;
    file.music_volume = 30;
    file.effect_volume = 40;
    file.mute = true;
    file.fullscreen = true;
    file.integer_scaling = true;
    file.mincho_font = "A";
    file.gothic_font = "B";
    file.soundfont = "file.sf2";
    file.scale = 2;
    file.window_width = 900;
    file.window_height = 650;

    HostOptions none;
    std::string error;
    ASSERT_TRUE(Parse({"--headless"}, &none, &error));
    PlayerSettings same = MergePlayerSettings(file, none);
    EXPECT_EQ(same.music_volume, 30);
    EXPECT_TRUE(same.mute && same.fullscreen && same.integer_scaling);
    EXPECT_EQ(same.soundfont, "file.sf2");
    EXPECT_EQ(same.window_width, 900) << "the remembered size stays without a --scale";

    HostOptions o;
    ASSERT_TRUE(Parse({"--music-volume", "0", "--effect-volume", "100", "--no-mute", "--windowed",
                       "--smooth-scaling", "--mincho", "IPAexMincho", "--gothic", "Noto Sans JP",
                       "--soundfont", "other.sf2", "--scale", "1"},
                      &o, &error))
        << error;
    PlayerSettings run = MergePlayerSettings(file, o);
    EXPECT_EQ(run.music_volume, 0);
    EXPECT_EQ(run.effect_volume, 100);
    EXPECT_FALSE(run.mute || run.fullscreen || run.integer_scaling);
    EXPECT_EQ(run.gothic_font, "Noto Sans JP");
    EXPECT_EQ(run.soundfont, "other.sf2");
    EXPECT_EQ(run.window_width, 0) << "a --scale wins over the remembered size";

    const std::vector<std::vector<const char*>> bad = {
        {"--music-volume", "101"},
        {"--effect-volume", "-3"},
        {"--mincho"},
    };
    for (const auto& args : bad) {
        HostOptions b;
        EXPECT_FALSE(Parse(args, &b, &error)) << args[0];
        EXPECT_NE(error.find(args[0]), std::string::npos) << error;
    }
}

TEST(PlayerSettings, TheWindowSizeIsWrittenIntoTheFileKeepingEverythingElse) {
    EXPECT_EQ(WithWindowSize("", 1024, 768), "window_width = 1024\nwindow_height = 768\n");
    EXPECT_EQ(WithWindowSize("# mine\r\nmute = on\nwindow_height=1\nWINDOW_WIDTH = 5\n"
                             "window_width = 6\nscale = 2",
                             800, 600),
              "# mine\r\nmute = on\nwindow_height = 600\nwindow_width = 800\nscale = 2\n");
}

class PlayerFiles : public NomaTest {};

TEST_F(PlayerFiles, SettingsLoadAndTheWindowSizeComesBack) {
    EXPECT_EQ(LoadPlayerSettings("player.ini").music_volume, 100) << "no file: the defaults";
    WriteFile("player.ini", "music_volume = 55\n# comment\n");
    ASSERT_TRUE(SavePlayerWindowSize("player.ini", 1111, 777));
    PlayerSettings s = LoadPlayerSettings("player.ini");
    EXPECT_EQ(s.music_volume, 55);
    EXPECT_EQ(std::make_pair(s.window_width, s.window_height), std::make_pair(1111, 777));
    EXPECT_NE(ReadFile("player.ini").find("# comment"), std::string::npos);
}

TEST_F(PlayerFiles, AMissingSoundFontFallsBackToTheBestInstalledOne) {
    WriteFile("mine.sf2", "RIFF");
    WriteFile("first.sf2", "RIFF");
    const std::vector<std::string> installed = {folder_ + "/first.sf2", "/elsewhere/second.sf2"};
    const struct {
        std::string wanted;
        std::vector<std::string> installed;
        std::string chosen;
        bool noted;
    } cases[] = {
        {"mine.sf2", installed, "mine.sf2", false},  {"", installed, installed[0], false},
        {"gone.sf2", installed, installed[0], true}, {"gone.sf2", {}, "", true},
        {folder_, installed, installed[0], true},  // a folder is no soundfont
    };
    for (const auto& c : cases) {
        std::string note;
        EXPECT_EQ(ChooseSoundFont(c.wanted, c.installed, &note), c.chosen) << c.wanted;
        EXPECT_EQ(!note.empty(), c.noted) << c.wanted;
        if (c.noted) {
            EXPECT_NE(note.find(c.wanted), std::string::npos) << note;
        }
    }

    // The run's choice: said once on stderr and in the log, and the soundfont that replaced
    // the missing one is the one loaded.
    MidiChooseSoundFont("no-such.sf2");
    std::vector<std::string> machine = InstalledSoundFonts();
    EXPECT_EQ(MidiSoundFontPath(), machine.empty() ? std::string() : machine.front());
    EXPECT_EQ(LogCount("no-such.sf2 not found"), 1);
    MidiChooseSoundFont(folder_ + "/mine.sf2");
    EXPECT_EQ(MidiSoundFontPath(), folder_ + "/mine.sf2");
    MidiChooseSoundFont("");
    EXPECT_EQ(MidiSoundFontPath(), machine.empty() ? std::string() : machine.front())
        << "no wish: the system's choice again";
}

TEST(Screenshots, NamedByDateAndTime) {
    const struct {
        HostTime time;
        int n;
        const char* name;
    } cases[] = {
        {{2026, 12, 6, 9, 5, 7, 999}, 1, "screenshots/2026-12-06_09-05-07.png"},
        {{2026, 12, 6, 23, 59, 59, 0}, 12, "screenshots/2026-12-06_23-59-59-12.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScreenshotName(c.time, c.n), c.name);
}

TEST_F(PlayerFiles, ScreenshotsGoIntoTheGamesFolderWithoutOverwriting) {
    HostUseVirtualClock(true);
    ASSERT_TRUE(HostCreateSurface(40, 30));
    {
        std::lock_guard<std::mutex> hold(HostSurfaceLock());
        HostSurfacePixels()[0] = 0x00112233;
    }
    HostTime now = HostClockNow();
    std::string first = HostTakeScreenshot();
    std::string second = HostTakeScreenshot();
    EXPECT_EQ(first, ScreenshotName(now, 1));
    EXPECT_EQ(second, ScreenshotName(now, 2)) << "same second, a second picture";
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    ASSERT_TRUE(HostReadPng(first.c_str(), &pixels, &width, &height));
    EXPECT_EQ(std::make_pair(width, height), std::make_pair(40, 30));
    EXPECT_EQ(pixels[0], 0x00112233u);
    HostAdvanceClock(1000);
    EXPECT_EQ(HostTakeScreenshot(), ScreenshotName(HostClockNow(), 1));
    HostUseVirtualClock(false);
}

}  // namespace
