// The record search, text library lookup and the two expression rewrites.
#include <cstring>

#include "game/scenario.h"
#include "game/scenario_context.h"
#include "resource/resource.h"
#include "scenario_env.h"

namespace {

class SearchTest : public ScenarioTest {};

TEST_F(SearchTest, FirstRecordWhoseConditionHoldsWins) {
    Handle low = AddScene("hp<5", "low");
    Handle any = AddScene("hp>0", "any");
    AddScene("hp>5", "also");
    EXPECT_EQ(find_scenario_record(task_), any);
    SetNum(player_, "hp", 3);
    EXPECT_EQ(find_scenario_record(task_), low);
}

TEST_F(SearchTest, RecordWithoutConditionEndsTheSearch) {
    AddScene("hp>100", "never");
    AddScene("", "stop");
    AddScene("hp>0", "after the stop");
    EXPECT_EQ(find_scenario_record(task_), 0u);
    EXPECT_TRUE(Logged("DLG OPEN ERROR!"));
}

TEST_F(SearchTest, NoMatchLeavesNoRecordAndPlaysNothing) {
    AddScene("hp>100", "never");
    EXPECT_EQ(action_ilvane(task_), 0);
    EXPECT_EQ(g_scenario.record, 0u);
    EXPECT_EQ(g_scenario.continuation, kNoContinuation);
    EXPECT_EQ(text_step(task_), 1);
    EXPECT_TRUE(EventsTo(TASK_ID_EFFECT).empty());
}

TEST_F(SearchTest, GsysReferenceIsResolvedOnceInTheStoredCondition) {
    Handle r = AddScene("hp<.gsys.month", "text");
    EXPECT_EQ(find_scenario_record(task_), 0u);  // 10 < 4 fails
    EXPECT_STREQ(GetStr(r, "Compare"), "hp<4");
    SetNum(gsys_, "month", 20);
    EXPECT_EQ(find_scenario_record(task_), 0u);  // the value stays the first one
}

TEST_F(SearchTest, GsysReferencesEndAtTheOperatorsButNotInsideDoubleByteCharacters) {
    struct Case {
        std::string text;
        size_t capacity;
        const char* expected;
    } cases[] = {
        {"x=.gsys.month", 64, "x=4"},
        {"x=.gsys:month+.gsys.month;y=1", 64, "x=4+4;y=1"},
        {"x=.gsys.nothing*2", 64, "x=-1*2"},
        {"x=.gsys.month.y", 64, "x=4.y"},
        {"x=.gsys.day", 64, "x=1234567890"},  // longer than the reference: the text grows
        {"x=.gsys.day", 12, "x=.gsys.day"},   // no room to grow: left as written
        {"x=.gsys", 64, "x=.gsys"},
        {"no reference", 64, "no reference"},
        // ポ is 0x83 0x7C: its trail byte is '|', which must not end the name.
        {"a=.gsys." + Sj("ポ") + "|b", 64, "a=-1|b"},
    };
    for (const Case& c : cases) {
        char text[64] = {};
        std::strcpy(text, c.text.c_str());
        expand_gsys_refs(text, c.capacity);
        EXPECT_STREQ(text, c.expected) << c.text;
    }
}

TEST_F(SearchTest, TextLibraryWordWithSeveralConditions) {
    AddWord("hero", "hp>50", "strong");
    Handle weak = AddWord("hero", "hp<50", "weak");
    Handle other = AddWord("villain", "hp>0", "evil");
    EXPECT_EQ(find_textlib_record("hero"), weak);
    SetNum(player_, "hp", 60);
    EXPECT_EQ(GetStr(find_textlib_record("hero"), "Text"), std::string("strong"));
    EXPECT_EQ(find_textlib_record("villain"), other);
    EXPECT_EQ(find_textlib_record("nobody"), 0u);
}

TEST_F(SearchTest, ModeLabelsBecomeTheirValues) {
    struct Case {
        const char* utf8;
        const char* expected;
    } cases[] = {
        {"time=朝", "time=0"},  {"time=夜;place=町", "time=2;place=1"},
        {"hp=hp+1", "hp=hp+1"}, {"time=朝朝", "time=朝朝"},  // only whole words
        {"x=昼-森", "x=1-0"},
    };
    for (const Case& c : cases) {
        std::string text = Sj(c.utf8);
        std::vector<char> buffer(text.begin(), text.end());
        buffer.push_back('\0');
        replace_mode_labels(buffer.data());
        EXPECT_EQ(std::string(buffer.data()), Sj(c.expected)) << c.utf8;
    }
}

}  // namespace
