// The demo's story played through every choice with the game's own data loading and Compute:
// every scenario record is reached, no state is left without a matching record, every tag is a
// command, a drawing tag, a text library word with a matching record or a player item, every
// file a tag names is in the game folder, and both endings and the bad end can be reached.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "resource/compute.h"
#include "resource/resource.h"
#include "resource/resource_fixture.h"
#include "text/item_data.h"

namespace {

const std::string kGame = std::string(NOMA_SOURCE_DIR) + "/data/demo/";

bool GameFileExists(std::string name) {
    for (char& c : name)
        if (c == '\\') c = '/';
    return std::ifstream(kGame + name).good();
}

// The numeric items of a character, which with 呼び名 make up the story's state.
const char* const kNumbers[] = {"ILVrequest", "auto_play", "mode", "old_mode", "count",
                                "time",       "scene",     "場所", "時間",     "天気",
                                "灯",         "結末",      "章",   "勇気",     "信頼",
                                "灯油",       "ランタン",  "坂済", "社済",     "遅れ"};

struct State {
    std::string player;  // 名前 of the player record, Shift-JIS
    std::vector<int32_t> numbers;
    std::string call;  // 呼び名
    std::string format = "BG_FORMAT";
    bool operator<(const State& o) const {
        return std::tie(player, numbers, call, format) <
               std::tie(o.player, o.numbers, o.call, o.format);
    }
};

class DemoStoryTest : public ResourceTest {
protected:
    void SetUp() override {
        ResourceTest::SetUp();
        for (const char* f :
             {"dusk_ilvane.res", "story1.txt", "story2.txt", "story3.txt", "tlib.txt"})
            WriteFile(f, ReadFileBytes(kGame + f));
        characters_ = CreateItemData(0, "dusk_ilvane.res");
        // As the game builds its play list: later files go in front of the earlier ones.
        play_list_ = CreateItemData(0, "story1.txt");
        ASSERT_TRUE(LoadItemData(0, play_list_, "story2.txt"));
        ASSERT_TRUE(LoadItemData(0, play_list_, "story3.txt"));
        textlib_ = CreateItemData(0, "tlib.txt");
        ASSERT_TRUE(characters_ && play_list_ && textlib_);
        for (const std::string& line :
             Split(Utf8(ReadFileBytes(kGame + "system/ilvane.res")), '\n')) {
            if (line.empty() || line[0] == '/') continue;
            const size_t blank = line.find(' ');
            if (blank != std::string::npos)
                settings_.emplace(line.substr(0, blank), line.substr(blank + 1));
        }
    }

    static std::vector<std::string> Split(const std::string& text, char separator) {
        std::vector<std::string> out;
        std::string word;
        std::istringstream in(text);
        while (std::getline(in, word, separator))
            out.push_back(word);
        return out;
    }

    Handle Player(const std::string& name) const {
        return SearchRecordStr(characters_, Sj("名前").c_str(), name.c_str());
    }

    State Capture(Handle player) const {
        State s;
        s.player = GetStr(player, Sj("名前").c_str());
        for (const char* item : kNumbers)
            s.numbers.push_back(GetNum(player, Sj(item).c_str()));
        s.call = GetStr(player, Sj("呼び名").c_str());
        return s;
    }

    Handle Restore(const State& s) const {
        Handle player = Player(s.player);
        for (size_t i = 0; i < std::size(kNumbers); ++i)
            SetNum(player, Sj(kNumbers[i]).c_str(), s.numbers[i]);
        SetStr(player, Sj("呼び名").c_str(), s.call.c_str());
        return player;
    }

    int32_t Num(const State& s, const char* item) const {
        for (size_t i = 0; i < std::size(kNumbers); ++i)
            if (std::strcmp(kNumbers[i], item) == 0) return s.numbers[i];
        return -1;
    }

    // The background file BackGraphic shows for the state (UTF-8 settings, labels of the modes).
    std::string Background(Handle player, const std::string& format_key) const {
        const std::vector<std::string> words = Split(settings_.at(format_key), ',');
        std::string name = words[0];
        for (size_t w = 1; w < words.size(); ++w) {
            std::string label;
            for (int k = 1; settings_.count("MODENAME" + std::to_string(k)); ++k) {
                const auto slot = Split(settings_.at("MODENAME" + std::to_string(k)), ',');
                if (slot[0] != words[w]) continue;
                const size_t at = size_t(GetNum(player, Sj(words[w]).c_str()) + 1);
                if (at < slot.size()) label = slot[at];
            }
            name.replace(name.find("%s"), 2, label);
        }
        return name;
    }

    Handle FindRecord(Handle player) const {
        for (Handle r = FirstRecord(play_list_); r; r = NextRecord(r)) {
            const char* compare = GetStr(r, "Compare");
            if (!compare || !*compare) return 0;
            if (CompareRecordCopy(player, compare)) return r;
        }
        return 0;
    }

    bool TextLibMatches(Handle player, const std::string& word) const {
        for (Handle r = FirstRecord(textlib_); r; r = NextRecord(r))
            if (word == GetStr(r, "textlib_word") &&
                CompareRecordCopy(player, GetStr(r, "Compare")))
                return true;
        return false;
    }

    // Plays from `start` until the story stops at a choice, an end or a state seen before;
    // queues the states after each choice.
    void Play(State state, std::vector<State>& queue) {
        for (int steps = 0; steps < 200; ++steps) {
            Handle player = Restore(state);
            const int32_t request = GetNum(player, "ILVrequest");
            if (request == 2) {
                ++bad_ends_;
                return;
            }
            if (request >= 3 && request <= 8 && request != 6) SetNum(player, "ILVrequest", 0);
            Handle record = FindRecord(player);
            ASSERT_TRUE(record) << "no record matches scene " << GetNum(player, "scene");
            reached_.insert(record);
            const std::string text = GetStr(record, "TEXT");
            EXPECT_LT(text.size(), 2047u) << "a text was cut: scene " << GetNum(player, "scene");
            const char* compute = GetStr(record, "Compute");
            if (compute && *compute) {
                EXPECT_NE(ComputeRecordCopy(player, compute), 0) << compute;
            }
            if (GetNum(player, "scene") == 99) {
                endings_.insert(GetNum(player, Sj("結末").c_str()));
                return;
            }
            std::string format = state.format;
            std::vector<std::string> choices;
            bool restored = false;
            for (size_t open = text.find('<'); open != std::string::npos && !restored;
                 open = text.find('<', open + 1)) {
                const size_t close = text.find('>', open);
                ASSERT_NE(close, std::string::npos) << "unclosed tag in " << Utf8(text);
                std::string tag = text.substr(open + 1, close - open - 1);
                const size_t cut = tag.find_first_of(" ;,");
                const std::string name = tag.substr(0, cut);
                std::string param = cut == std::string::npos ? "" : tag.substr(cut + 1);
                std::erase(param, ' ');
                const std::vector<std::string> params = Split(param, ',');
                auto file = [&](size_t i) {
                    ASSERT_GT(params.size(), i) << Utf8(tag);
                    EXPECT_TRUE(GameFileExists(params[i])) << Utf8(tag);
                };
                if (name == "Compute") {
                    EXPECT_NE(ComputeRecordCopy(player, param.c_str()), 0) << Utf8(param);
                } else if (name == "Select") {
                    for (const std::string& word : Split(param, ',')) {
                        const size_t q = word.find('?'), colon = word.rfind(':');
                        int value = int(choices.size()) + 1;
                        if (colon != std::string::npos) {
                            const bool holds =
                                q == std::string::npos ||
                                CompareRecordCopy(player,
                                                  word.substr(q + 1, colon - q - 1).c_str());
                            if (holds) value = std::stoi(word.substr(colon + 1));
                        }
                        choices.push_back(std::to_string(value));
                    }
                    EXPECT_LE(choices.size(), 9u);
                    break;
                } else if (name == "AutoSave") {
                    saved_ = Capture(player);
                    saved_.format = format;
                } else if (name == "RestoreSave") {
                    ASSERT_TRUE(saved_.player.size()) << "restore before any automatic save";
                    state = saved_;
                    restored = true;
                } else if (name == "GetPlayer") {
                    ASSERT_TRUE(Player(param)) << Utf8(param);
                    player = Player(param);
                } else if (name == "BGFormat1" || name == "BGFormat2" || name == "BGFormat3") {
                    format = name == "BGFormat1" ? "BG_FORMAT" : "BG_FORMAT" + name.substr(8);
                } else if (name == "BackGraphic") {
                    EXPECT_TRUE(GameFileExists(Background(player, format)))
                        << Background(player, format);
                } else if (name == "mput") {
                    file(2);
                } else if (name == "CutGraphic" || name == "SetMenuGraphic") {
                    file(1);
                } else if (name == "BG" || name == "PlayMIDI" || name == "PlayWAVE" ||
                           name == "OpenTitle") {
                    file(0);
                } else if (!kKnown.count(name)) {
                    const char* item = GetStr(player, name.c_str());
                    EXPECT_TRUE(TextLibMatches(player, name) || item)
                        << "tag <" << Utf8(name) << "> is no command, word or item";
                }
            }
            if (restored) continue;
            State next = Capture(player);
            next.format = format;
            if (!choices.empty()) {
                // The mouse or swipe takes each item's value; Return takes the value 0.
                choices.push_back("0");
                for (const std::string& value : choices) {
                    State chosen = next;
                    const int v = std::stoi(value);
                    for (size_t i = 0; i < std::size(kNumbers); ++i) {
                        if (std::strcmp(kNumbers[i], "count") == 0)
                            chosen.numbers[i] =
                                Num(next, "old_mode") == v ? Num(next, "count") + 1 : 0;
                        if (std::strcmp(kNumbers[i], "mode") == 0) chosen.numbers[i] = v;
                    }
                    if (seen_.insert(chosen).second) queue.push_back(chosen);
                }
                return;
            }
            if (!seen_.insert(next).second) return;
            state = next;
        }
        ADD_FAILURE() << "the story runs on without a choice or an end";
    }

    const std::set<std::string> kKnown = {
        "PlayMIDI",       "PlayWAVE",   "StopWAVE",     "OpenTitle",
        "mput",           "GetPlayer",  "Result",       "CloseMessage",
        "OpenMessage",    "CutGraphic", "CloseGraphic", "SetMenuGraphic",
        "OffMenuGraphic", "OpenSTS",    "CloseSTS",     "Sheets",
        "CloseSelect",    "Select",     "input",        "NoText",
        "BackGraphic",    "BG",         "Compute",      "AutoSave",
        "RestoreSave",    "WhiteOut",   "BlackOut",     "font_color",
        "font_size",      "wait",       "BGFormat1",    "BGFormat2",
        "BGFormat3"};

    Handle characters_ = 0, play_list_ = 0, textlib_ = 0;
    std::map<std::string, std::string> settings_;
    std::set<Handle> reached_;
    std::set<State> seen_;
    State saved_;
    int bad_ends_ = 0;
    std::set<int32_t> endings_;
};

TEST_F(DemoStoryTest, EveryRecordIsReachedAndEveryPathEnds) {
    EXPECT_GE(RecordCount(play_list_), 40);
    std::vector<State> queue{Capture(Player(Sj("葵")))};
    for (size_t i = 0; i < queue.size() && i < 5000; ++i) {
        Play(queue[i], queue);
        if (HasFatalFailure()) return;
    }
    EXPECT_EQ(int(reached_.size()), RecordCount(play_list_));
    for (Handle r = FirstRecord(play_list_); r; r = NextRecord(r))
        EXPECT_TRUE(reached_.count(r)) << "never reached: " << GetStr(r, "Compare");
    EXPECT_GT(bad_ends_, 0);
    EXPECT_EQ(endings_, (std::set<int32_t>{1, 2}));
}

}  // namespace
