// Pages: entering records, the page shown through the message object and the text effect, the
// backlog, stops, choices and the scenario's requests.
#include <cstring>

#include "game/scenario.h"
#include "game/scenario_context.h"
#include "present/effect_data.h"
#include "resource/resource.h"
#include "scenario_env.h"
#include "window/menu.h"
#include "window/object.h"

namespace {

class PageTest : public ScenarioTest {
protected:
    std::string MessageText() {
        const char* text = MessageObjectText(ReqObject(main_, kMessageObject));
        return text ? text : "";
    }
    std::vector<EventRecord> TextRequests() {
        std::vector<EventRecord> requests;
        for (const EventRecord& e : EventsTo(TASK_ID_EFFECT))
            if (e.long_a == EFFECT_TEXT) requests.push_back(e);
        return requests;
    }
    // The effect has drawn the page.
    void PageDone() { g_scenario.drawing = false; }
};

TEST_F(PageTest, EnteringARecordRunsItsExpressionAndShowsItsFirstPage) {
    AddScene("hp>0", "Hello <font_color 2>world<PlayMIDI a.mid>", "hp=hp+.gsys.month");
    g_scenario.effect_x = 12;
    g_scenario.effect_y = 34;
    EXPECT_EQ(action_ilvane(task_), 0);
    EXPECT_EQ(GetNum(player_, "hp"), 14);
    EXPECT_EQ(MessageText(), "Hello <font_color 2>world");
    EXPECT_TRUE(g_scenario.drawing);
    EXPECT_EQ(g_scenario.continuation, kNoContinuation);
    std::vector<EventRecord> requests = TextRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].source, task_id_);
    EXPECT_EQ(requests[0].value, 0xFFFFFFu);
    EffectRequestData d;
    std::memcpy(&d, requests[0].data, sizeof d);
    EXPECT_EQ(d.mode, 0u);
    EXPECT_EQ(d.window, main_);
    EXPECT_EQ(d.object, ReqObject(main_, kMessageObject));
    EXPECT_EQ(d.x, 12);
    EXPECT_EQ(d.y, 34);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"midi a.mid"}));
    EXPECT_TRUE(Logged("action_ilvane() in"));
}

TEST_F(PageTest, BacklogGetsEachPageWithoutTagsAfterALineBreak) {
    AddScene("hp>0", "first<font_size 2>page<input>second");
    action_ilvane(task_);
    PageDone();
    action_ilvane(task_);
    std::string backlog = Backlog();
    EXPECT_NE(backlog.find("\nfirstpage"), std::string::npos) << backlog;
    EXPECT_NE(backlog.find("\nsecond"), std::string::npos) << backlog;
    EXPECT_LT(backlog.find("firstpage"), backlog.find("second"));
}

TEST_F(PageTest, APageBeingDrawnIsNeverCut) {
    AddScene("hp>0", "one<input>two");
    action_ilvane(task_);
    EXPECT_EQ(action_ilvane(task_), 1);
    EXPECT_TRUE(Logged(Sj("action_ilvane()が呼ばれましたが、描画中によりキャンセル")));
    EXPECT_EQ(MessageText(), "one");
    PageDone();
    EXPECT_EQ(action_ilvane(task_), 0);
    EXPECT_EQ(MessageText(), "two");
}

TEST_F(PageTest, AShortPageIsNotShownUnlessAChoiceWaits) {
    AddScene("hp>0", "<CloseMessage>\n");
    action_ilvane(task_);
    EXPECT_FALSE(g_scenario.drawing);
    EXPECT_TRUE(TextRequests().empty());
    EXPECT_TRUE(Logged(Sj("短いメッセージ（3文字以下）を表示しようとしました 下行表示")));

    char page[] = "ab";
    g_scenario.select_pending = true;
    EXPECT_EQ(show_message(task_, page), 0);
    EXPECT_TRUE(Logged(Sj("Select表示催促のため、表示を行います")));
    EXPECT_EQ(MessageText(), "ab");
}

TEST_F(PageTest, TextEndingWithASelectOfTwoPlaces) {
    AddScene("hp>0", Sj("分かれ道だ。<Select 森へ,町へ>"));
    action_ilvane(task_);
    EXPECT_EQ(MessageText(), Sj("分かれ道だ。"));
    EXPECT_EQ(g_scenario.continuation, kNoContinuation);
    EXPECT_TRUE(g_scenario.select_pending);
    EXPECT_EQ(MenuItemValue(menu_, 1), 1u);
    EXPECT_EQ(MenuItemValue(menu_, 2), 2u);
    for (int k = 3; k <= 9; ++k)
        EXPECT_TRUE(TestMenuItemFlags(menu_, k, ITEM_DISABLED)) << k;
}

TEST_F(PageTest, ChoiceSkipsTheTextAfterAMidTextSelectAndEntersTheMatchingRecord) {
    AddScene("mode==0", "ask<Select a,b>hidden");
    AddScene("mode==2", "chose b");
    action_ilvane(task_);
    EXPECT_EQ(MessageText(), "ask");
    EXPECT_NE(g_scenario.continuation, kNoContinuation);
    ShowObject(main_, kSelecterObject, g_game.screen.selecter_x, 0);
    g_calls.clear();
    SelectMenu(task_, 2);
    EXPECT_FALSE(g_scenario.select_pending);
    EXPECT_FALSE(Shown(kSelecterObject));
    EXPECT_EQ(GetNum(player_, "mode"), 2);
    EXPECT_EQ(MessageText(), "chose b");
    EXPECT_EQ(g_calls, (std::vector<std::string>{"load-save off"}));
    EXPECT_TRUE(Logged("SelectMenu 2 active_selectmode 0"));
}

TEST_F(PageTest, ChoiceCountsRepeatsOfTheOldMode) {
    AddScene("hp>0", "page");
    struct Step {
        int old_mode;
        int value;
        int count;
    } steps[] = {{3, 3, 1}, {3, 3, 2}, {3, 4, 0}, {4, 4, 1}};
    for (const Step& s : steps) {
        SetNum(player_, "old_mode", s.old_mode);
        PageDone();
        SelectMenu(task_, s.value);
        EXPECT_EQ(GetNum(player_, "count"), s.count) << s.old_mode << " " << s.value;
        EXPECT_EQ(GetNum(player_, "mode"), s.value);
    }
}

TEST_F(PageTest, NoTextPageShowsTheChoicesInstead) {
    AddScene("hp>0", "<NoText>hidden<Select a,b>after");
    action_ilvane(task_);
    EXPECT_TRUE(Logged("NoText"));
    EXPECT_TRUE(Shown(kSelecterObject));
    EXPECT_EQ(MessageText(), "");
    EXPECT_TRUE(TextRequests().empty());
    EXPECT_EQ(g_calls, (std::vector<std::string>{"load-save on"}));
}

TEST_F(PageTest, Requests) {
    struct Case {
        int32_t request;
        std::vector<std::string> calls;
        int32_t after;
        int32_t auto_play;
    } cases[] = {
        {0, {}, 0, 9},
        {2, {"bad-end"}, 2, 9},
        {3, {"result"}, 0, 9},
        {4, {"auto-play on"}, 0, 1},
        {5, {"auto-play off"}, 0, 0},
        {7, {"auto-save"}, 0, 9},
        {8, {"restore"}, 0, 9},
        {6, {}, 6, 9},
    };
    for (const Case& c : cases) {
        g_calls.clear();
        SetNum(player_, "ILVrequest", c.request);
        SetNum(player_, "auto_play", 9);
        EXPECT_EQ(run_request(task_), c.request);
        EXPECT_EQ(g_calls, c.calls) << c.request;
        EXPECT_EQ(GetNum(player_, "ILVrequest"), c.after) << c.request;
        EXPECT_EQ(GetNum(player_, "auto_play"), c.auto_play) << c.request;
    }
}

TEST_F(PageTest, RequestIsServedWhenTheNextRecordIsEntered) {
    AddScene("hp>0", "page", "ILVrequest=3");
    action_ilvane(task_);
    EXPECT_TRUE(g_calls.empty());  // set on entry, served at the next one
    PageDone();
    action_ilvane(task_);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"result"}));
}

}  // namespace
