// nomatool check run as the author runs it: on the demo, on the test game completed with an
// ending, and on copies of that game with one fault each, comparing every finding line.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "kit/boot.h"
#include "kit/game_folder.h"

namespace {

namespace fs = std::filesystem;

struct CheckRun {
    int status = -1;
    std::vector<std::string> lines;  // stdout, UTF-8
};

CheckRun Check(const std::string& folder) {
    std::string command =
        std::string(NOMA_BINARY_DIR) + "/nomatool check '" + folder + "' 2>/dev/null";
    CheckRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    size_t start = 0;
    for (size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
        run.lines.push_back(out.substr(start, end - start));
    return run;
}

// Every file under `folder` with its bytes.
std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files[entry.path().string()] =
            entry.is_regular_file() ? ReadFileBytes(entry.path().string()) : "<dir>";
    return files;
}

void Replace(const std::string& file, const std::string& from_utf8, const std::string& to_utf8) {
    std::string text = ReadFileBytes(file);
    size_t at = text.find(Sj(from_utf8));
    ASSERT_NE(at, std::string::npos) << file << ": " << from_utf8;
    WriteFileBytes(file, text.replace(at, Sj(from_utf8).size(), Sj(to_utf8)));
}

void Prepend(const std::string& file, const std::string& utf8) {
    WriteFileBytes(file, Sj(utf8) + ReadFileBytes(file));
}

void Append(const std::string& file, const std::string& utf8) {
    WriteFileBytes(file, ReadFileBytes(file) + Sj(utf8));
}

// The test game's story ends when its counter runs out; this file gives it an ending that
// plays every kind of tag the checker looks into.
const char* const kEnding =
    "The end of the story, for the checker.\n"
    "ResourceName PlayList.res\n"
    "DataName PlayList\n"
    "StartData\n"
    "Compare count==2\n"
    "Compute count=3\n"
    "TEXT \"<BackGraphic><BG robyA.bmp><PlayWAVE bell.wav><PlayMIDI tune.mid><挨拶>、<名前>。\n"
    "<CutGraphic 1,anim.ani><mput 10,10,robyA.bmp><Compute weather=sunny>おしまい"
    "<OpenTitle closing.txt>\"\n"
    "EndData\n"
    "StartData\n"
    "Compare count==3\n"
    "Compute count=3;time+=10\n"
    "TEXT おわり\n"
    "EndData\n";

class CheckGameTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallTestGame();
        WriteFileBytes("scene_end.res", Sj(kEnding));
        const std::string settings = "system/ilvane.res";
        Prepend(settings, "RES_FILE scene_main.res;scene_extra.res;scene_end.res\n");
        for (const char* file :
             {"robyA.bmp", "bg_forest_sunny.bmp", "frame1.bmp", "bell.wav", "tune.mid"})
            WriteFileBytes(file, "placeholder");
        WriteFileBytes("anim.ani", "pic frame1.bmp\n");
        WriteFileBytes("closing.txt", "BackGraphic robyA.bmp\nButton1 1003,330,420,END\n");
    }

    TempFolder folder_{"check"};
};

TEST(CheckDemo, TheDemoIsCleanAndLeftUntouched) {
    const std::string demo = std::string(NOMA_SOURCE_DIR) + "/data/demo";
    auto before = Snapshot(demo);
    CheckRun run = Check(demo);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.lines, std::vector<std::string>{});
    EXPECT_EQ(Snapshot(demo), before);
}

TEST_F(CheckGameTest, TheCompletedTestGameIsClean) {
    auto before = Snapshot(".");
    CheckRun run = Check(".");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.lines, std::vector<std::string>{});
    // Nothing is written: no resource file saved, no log, no save slot.
    EXPECT_EQ(Snapshot("."), before);
}

struct Fault {
    const char* kind;
    void (*plant)();
    std::vector<std::string> expected;
};

TEST_F(CheckGameTest, EachPlantedFaultGivesItsFinding) {
    const Fault faults[] = {
        {"unknown tag",
         [] { Replace("scene_end.res", "おしまい", "<Mystery>おしまい"); },
         {"scene_end.res:8: record 1: unknown tag <Mystery>: no command, text-library word or "
          "string item of the player (shown as text)"}},
        {"unclosed tag",
         [] { Replace("scene_end.res", "<名前>。", "<名前。"); },
         {"scene_end.res:7: record 1: unclosed tag: '<' without '>'"}},
        {"stray >",
         [] { Replace("scene_end.res", "おしまい", "おし>まい"); },
         {"scene_end.res:8: record 1: '>' outside a tag (shown as text; the game logs \"ERROR "
          "TAG>\")"}},
        {"condition",
         [] { Replace("scene_end.res", "Compare count==3", "Compare count==3&&"); },
         {"scene_end.res:11: record 2: Compare \"count==3&&\" does not parse: the condition ends "
          "with a connective"}},
        {"expression",
         [] { Replace("scene_end.res", "time+=10\n", "time+=10;gold+\n"); },
         {"scene_end.res:12: record 2: Compute \"count=3;time+=10;gold+\" does not parse: write "
          "'+=' to "
          "assign to gold"}},
        {"expression in a tag",
         [] { Replace("scene_end.res", "おしまい", "<Compute gold=>おしまい"); },
         {"scene_end.res:8: record 1: <Compute> \"gold=\" does not parse: missing operand "
          "before the end"}},
        {"player item",
         [] { Replace("scene_end.res", "time+=10\n", "time+=10;mana=1\n"); },
         {"scene_end.res:12: record 2: Compute: no item mana in the player record"}},
        {"graphic-system item",
         [] { Replace("scene_end.res", "Compare count==3", "Compare count==3||.gsys.nosuch==1"); },
         {"scene_end.res:11: record 2: Compare: no item nosuch in the graphic-system record"}},
        {"settings item",
         [] { Prepend("system/ilvane.res", "SAVE_STSITEM hp,mana\n"); },
         {"system\\ilvane.res: SAVE_STSITEM: no item mana in the player record"}},
        {"picture",
         [] { Replace("scene_end.res", "<BG robyA.bmp>", "<BG gone.bmp>"); },
         {"scene_end.res:7: record 1: <BG gone.bmp>: no picture file gone.bmp"}},
        {"sprite",
         [] { Replace("scene_end.res", "10,10,robyA.bmp", "10,10,sprite.bmp"); },
         {"scene_end.res:8: record 1: <mput 10,10,sprite.bmp>: no picture file sprite.bmp"}},
        {"sound",
         [] { Replace("scene_end.res", "bell.wav", "boom.wav"); },
         {"scene_end.res:7: record 1: <PlayWAVE boom.wav>: no sound file boom.wav"}},
        {"music",
         [] { Replace("scene_end.res", "tune.mid", "gone.mid"); },
         {"scene_end.res:7: record 1: <PlayMIDI gone.mid>: no music file gone.mid"}},
        {"animation",
         [] { Replace("scene_end.res", "anim.ani", "spin.ani"); },
         {"scene_end.res:8: record 1: <CutGraphic 1,spin.ani>: no animation file spin.ani"}},
        {"animation picture",
         [] { Append("anim.ani", "add_loop 1,3,frame%d.bmp\n"); },
         {"anim.ani:2: no picture file frame2.bmp"}},
        {"background of the modes",
         [] { Replace("scene_end.res", "Compute count=3", "Compute count=3;weather=1"); },
         {"scene_end.res:4: record 1: <BackGraphic>: no picture file bg_forest_rain.bmp (the "
          "background its modes name when this record plays)"}},
        {"start-screen file",
         [] { Replace("scene_end.res", "closing.txt", "opening.txt"); },
         {"scene_end.res:8: record 1: <OpenTitle opening.txt>: no start-screen file "
          "opening.txt"}},
        {"start-screen picture",
         [] { Replace("closing.txt", "robyA.bmp", "dusk.bmp"); },
         {"closing.txt: BackGraphic: no picture file dusk.bmp"}},
        {"settings picture",
         [] { Append("system/ilvane.res", "RESULT_BACKGRAPHIC result.bmp\n"); },
         {"system\\ilvane.res: RESULT_BACKGRAPHIC: no picture file result.bmp"}},
        {"item data file",
         [] { Replace("system/ilvane.res", "scene_end.res\n", "scene_end.res;scene_gone.res\n"); },
         {"system\\ilvane.res: no item data file scene_gone.res"}},
        {"item of a data file",
         [] { Replace("scene_end.res", "Compare count==3\n", "Compare count==3\nmana 5\n"); },
         {"scene_end.res:12: value of an item the resource does not define: mana; the rest of "
          "the file is not read (\"ApendItemData() itemname non mana\")"}},
        {"text-library word",
         [] {
             Append("textlib.res",
                    "StartData\ntextlib_word 天気\nCompare weather==5\n"
                    "Text 嵐の予感\nEndData\n");
             Replace("scene_end.res", "おしまい", "<天気>おしまい");
         },
         {"scene_end.res:4: record 1: text-library word <天気>: none of its records' Compare "
          "holds when this record plays (shown as text)"}},
        {"unreachable record",
         [] { Append("scene_end.res", "StartData\nCompare count==7\nTEXT 迷子\nEndData\n"); },
         {"scene_end.res:15: record 3: never played: no path of choices from the start state "
          "reaches it"}},
        {"dead end",
         [] { Replace("scene_end.res", "count=3;time", "count=4;time"); },
         {"scene_end.res:10: record 2: after this record no scenario record matches: the game "
          "shows \"プレイデータ検索ミス\" and the story stops"}},
        {"player switch",
         [] { Replace("scene_end.res", "おしまい", "<GetPlayer キャロル>おしまい"); },
         {"scene_end.res:8: record 1: <GetPlayer キャロル>: no character record has the 名前 "
          "キャロル"}},
    };
    const fs::path base = fs::current_path();
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.kind);
        const fs::path copy = base / "copy";
        fs::remove_all(copy);
        fs::create_directory(copy);
        for (const auto& entry : fs::directory_iterator(base))
            if (entry.path().filename() != "copy")
                fs::copy(entry.path(), copy / entry.path().filename(), fs::copy_options::recursive);
        fs::current_path(copy);
        fault.plant();
        fs::current_path(base);
        CheckRun run = Check(copy.string());
        EXPECT_EQ(run.status, fault.expected.empty() ? 0 : 1);
        EXPECT_EQ(run.lines, fault.expected);
    }
}

TEST_F(CheckGameTest, AGameThatCannotBeLoadedExitsWithTwo) {
    fs::rename("system/ilvane.res", "system/other.res");
    EXPECT_EQ(Check(".").status, 2);
    fs::rename("system/other.res", "system/ilvane.res");
    Replace("system/ilvane.res", "RES_FILE", "PLAYER_NAME 誰か\nRES_FILE");
    EXPECT_EQ(Check(".").status, 2);
    EXPECT_EQ(Check("no-such-folder").status, 2);
}

}  // namespace
