// The demo played from its title to each of its ends by the real program, headless: the
// scripted input that `make run` uses (pages by click, a choice by Return and one by mouse, the
// backlog, a save and a load through the side menu, auto play, Ctrl skipping, the bad end), and
// one input file for each good ending (tests/system/data/demo_ending_*.input: choices by mouse,
// Return and swipe, the result screen, the closing title). The error log must hold the game's
// lines in order, and the key screens must match their golden images.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "host/png.h"
#include "system/system_run.h"

namespace {

namespace fs = std::filesystem;

class GamePlay : public SystemTest {
protected:
    void SetUp() override {
        SystemTest::SetUp();
        const fs::path demo = fs::path(NOMA_SOURCE_DIR) / "data/demo";
        // The start screen's pictures are painted by the build (demo_art); without them the
        // logo and the title take other times and no screen matches its golden.
        ASSERT_TRUE(fs::exists(demo / "LOGO.BMP") && fs::exists(demo / "TITLE.BMP"))
            << "build the demo's pictures first (cmake --build build --target demo_art)";
        for (const auto& entry : fs::recursive_directory_iterator(demo)) {
            const fs::path relative = fs::relative(entry.path(), demo);
            const std::string name = relative.filename().string();
            // What earlier runs left behind stays out: logs, install record, saved slots.
            if (name == "VavIDIZ.dat" || name == "NOMArev.dat" || name == "player.ini" ||
                name.rfind("ilvane_char", 0) == 0 || name.rfind("ilvane_gsys", 0) == 0)
                continue;
            if (entry.is_directory())
                fs::create_directories(folder_ + "/" + relative.string());
            else
                fs::copy_file(entry.path(), folder_ + "/" + relative.string());
        }
        SetIni("Sys.error.elogfile", "TEST.LOG");
        // The demo's own input with the screenshots kept in the working folder.
        std::string input = Read("demo.input");
        for (size_t at; (at = input.find("../../out/")) != std::string::npos;)
            input.erase(at, 10);
        Write("play.input", input);
    }

    // Plays tests/system/data/<input> to its end (its closing title's おわる ends the program).
    void PlayEnding(const std::string& input) {
        Write(input, ReadFileBytes(std::string(NOMA_SOURCE_DIR) + "/tests/system/data/" + input));
        NomaRun run = Run({"--headless", "--input", input}, {}, 120000);
        ASSERT_FALSE(run.timed_out);
        EXPECT_EQ(run.exit_status, 0) << run.err;
    }

    // The screenshot against tests/golden/<golden>; NOMA_UPDATE_GOLDEN=1 writes the golden.
    void ExpectGolden(const std::string& shot, const std::string& golden) {
        const std::string path = std::string(NOMA_SOURCE_DIR) + "/tests/golden/" + golden;
        if (std::getenv("NOMA_UPDATE_GOLDEN")) {
            fs::copy_file(folder_ + "/" + shot, path, fs::copy_options::overwrite_existing);
            return;
        }
        std::vector<uint32_t> actual, expected;
        int aw = 0, ah = 0, ew = 0, eh = 0;
        ASSERT_TRUE(HostReadPng((folder_ + "/" + shot).c_str(), &actual, &aw, &ah)) << shot;
        ASSERT_TRUE(HostReadPng(path.c_str(), &expected, &ew, &eh)) << path;
        ASSERT_EQ(aw, ew);
        ASSERT_EQ(ah, eh);
        int differing = 0;
        for (size_t i = 0; i < actual.size(); ++i)
            differing += (actual[i] & 0xFFFFFF) != (expected[i] & 0xFFFFFF);
        if (differing && std::getenv("NOMA_KEEP_SHOTS"))
            Command("cp " + folder_ + "/" + shot + " " + std::getenv("NOMA_KEEP_SHOTS") + "/");
        EXPECT_EQ(differing, 0) << shot << " differs from " << golden;
    }
};

TEST_F(GamePlay, TheDemoFromItsTitleThroughSaveLoadAndAutoPlayToItsBadEnd) {
    NomaRun run = Run({"--headless", "--input", "play.input"}, {}, 240000);
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, 0) << run.err;
    EXPECT_TRUE(LogInOrder({
        "DuskIlvane 0.702  start!",
        Sj("潮灯の島  -DuskIlvane v0.702-"),
        "create swipe graphic work.",
        "action_ilvane() in",
        "ret exec_command() 2 code -Select*",
        "SelectMenu 0 active_selectmode 0",  // Return at the first choice: choice 0
        "select no0  ret &d",
        "OPEN SAVEMENU",
        "save_gsys() graphic_name bg_minato_yu_hare_kie.bmp bg_minato_yu_hare_kie.bmp",
        "SelectMenu 3 active_selectmode 0",  // the lighthouse, by mouse
        Sj("ILV　-AutoSave-"),
        "OPEN SAVEMENU",
        "load_gsys() graphic_name *",
        Sj("読み込み　SelectMenu :1 back_graphic bg_minato_yu_hare_kie.bmp"),
        "SelectMenu 3 active_selectmode 0",
        "SelectMenu 1 active_selectmode 0",  // the cliff path
        "action_ilvane() in",
        Sj("ShutDownEventを受け取りました　終了します。"),
    }));
    EXPECT_TRUE(fs::exists(folder_ + "/system/ilvane_char01.res"));
    EXPECT_TRUE(fs::exists(folder_ + "/system/ilvane_gsys01.res"));
    ExpectGolden("demo-01-first-page.png", "play_first_page.png");
    ExpectGolden("demo-03-backlog.png", "play_backlog.png");
    ExpectGolden("demo-06-choice-of-ways.png", "play_choice.png");
    ExpectGolden("demo-07-save-window.png", "play_save_window.png");
    ExpectGolden("demo-13-loaded.png", "play_loaded.png");
    ExpectGolden("demo-16-bad-end.png", "play_bad_end.png");
}

TEST_F(GamePlay, TheFirstEndingThroughTheOilFromTheShopAndTheResultScreen) {
    PlayEnding("demo_ending_a.input");
    EXPECT_TRUE(LogInOrder({
        "SelectMenu 1 active_selectmode 0",  // the first choice by mouse
        "SelectMenu 1 active_selectmode 0",  // the slope town by mouse
        "swipe_ok()",
        "SelectMenu 1 active_selectmode 0",  // the oil, by a swipe to the left
        "SelectMenu 3 active_selectmode 0",  // the lighthouse by mouse, with the oil
        "OPEN SAVEMENU",
        "ret exec_command() 1 code -Result- *",
        Sj("ret exec_command() 1 code -GetPlayer 灯子- *"),
        Sj("――灯子の手記より。"),
        "ret exec_command() 1 code -OpenTitle system\\owari.txt- *",
        Sj("潮灯の島　― 完 ―"),
        Sj("ShutDownEventを受け取りました　終了します。"),
    }));
    for (const std::string& line : Log())
        EXPECT_NE(line, Sj("舟の影は、どこにもない。")) << "a line of the other ending";
    ExpectGolden("swipe.png", "play_ending_a_swipe.png");
    ExpectGolden("result.png", "play_ending_a_result.png");
    ExpectGolden("ending.png", "play_ending_title.png");
}

TEST_F(GamePlay, TheSecondEndingThroughTheSlopeRoadAndTheRequestedResultScreen) {
    PlayEnding("demo_ending_b.input");
    EXPECT_TRUE(LogInOrder({
        "SelectMenu 0 active_selectmode 0",  // the first choice by Return
        "select no0  ret &d",
        "SelectMenu 3 active_selectmode 0",  // the lighthouse by mouse, without the oil
        Sj("ILV　-AutoSave-"),
        "swipe_ok()",
        "SelectMenu 2 active_selectmode 0",  // the slope road, by a swipe to the right
        "SelectMenu 0 active_selectmode 0",  // the oil back to the lighthouse by Return
        Sj("舟の影は、どこにもない。"),
        "OPEN SAVEMENU",  // the result screen asked for by ILVrequest 3
        "ret exec_command() 1 code -OpenTitle system\\owari.txt- *",
        Sj("潮灯の島　― 完 ―"),
        Sj("ShutDownEventを受け取りました　終了します。"),
    }));
    for (const std::string& line : Log())
        EXPECT_NE(line, Sj("――灯子の手記より。")) << "a line of the other ending";
    ExpectGolden("swipe.png", "play_ending_b_swipe.png");
    ExpectGolden("result.png", "play_ending_b_result.png");
    ExpectGolden("ending.png", "play_ending_title.png");
}

TEST_F(GamePlay, TheTitlesLoadButtonOpensTheLoadWindowAtOnce) {
    // A first run leaves slot 1 behind (the save of the scripted play).
    NomaRun run = Run({"--headless", "--input", "play.input"}, {}, 240000);
    ASSERT_EQ(run.exit_status, 0) << run.err;
    ASSERT_TRUE(fs::exists(folder_ + "/system/ilvane_char01.res"));
    fs::remove(folder_ + "/TEST.LOG");
    // The Load button (start mode 1002); slot 1 and its Yes; then the loaded choice.
    Write("load.input",
          "62 down 400 300 left\n64 up\n140 down 395 482 left\n142 up\n"
          "2000 down 100 50 left\n2050 up\n3500 down 290 374 left\n3550 up\n"
          "5000 shot loaded.png\n5500 close\n");
    run = Run({"--headless", "--input", "load.input"}, {}, 120000);
    ASSERT_FALSE(run.timed_out);
    EXPECT_EQ(run.exit_status, 0) << run.err;
    EXPECT_TRUE(LogInOrder({"DuskIlvane 0.702  start!", "OPEN SAVEMENU",
                            "create swipe graphic work.", "load_gsys() graphic_name *",
                            Sj("読み込み　SelectMenu :1 back_graphic bg_minato_yu_hare_kie.bmp")}));
    EXPECT_EQ(LogCount("save_gsys()"), 0) << "nothing was saved";
}

}  // namespace
