// The tag families: what each command does to the screen, the records, the events and the
// game's own actions.
#include <cstring>

#include "game/scenario.h"
#include "game/scenario_context.h"
#include "host/bitmap.h"
#include "kit/game_folder.h"
#include "present/effect_data.h"
#include "resource/resource.h"
#include "scenario_env.h"
#include "window/menu.h"
#include "window/object.h"
#include "window/window.h"

namespace {

class TagsTest : public ScenarioTest {};

constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kGreen = 0x00FF00;

TEST_F(TagsTest, PictureIsDrawnWithPureGreenTransparent) {
    WriteFile("p.bmp", BmpBytes(2, 1, {kRed, kGreen}));
    uint32_t under = Pixel(101, 50);
    Scan("<mput 100,50,p.bmp>");
    EXPECT_EQ(Pixel(100, 50), kRed);
    EXPECT_EQ(Pixel(101, 50), under);
    Scan("<mput 300 60 p.bmp>");  // x reads 30060, y and the file are empty
    Scan("<mput 10,20,missing.bmp>");
    EXPECT_NE(Pixel(300, 60), kRed);
    EXPECT_NE(Pixel(10, 20), kRed);
    Scan("<mput -300,60,p.bmp>");  // a "-" never starts a number
    EXPECT_EQ(Pixel(300, 60), kRed);
}

TEST_F(TagsTest, CutInSlotsKeepShortNames) {
    Scan("<CutGraphic 3,dance.ani><CutGraphic 4,averylongname.bmp><CutGraphic 10,x.bmp>");
    EXPECT_STREQ(g_scenario.cut_in[3], "dance.ani");
    EXPECT_STREQ(g_scenario.cut_in[4], "averylongn");
    EXPECT_TRUE(CutInIsAnimation(3));
    EXPECT_FALSE(CutInIsAnimation(4));
    EXPECT_FALSE(CutInIsAnimation(10));
    Scan("<CloseGraphic 3><CloseGraphic 12>");
    EXPECT_EQ(g_calls, (std::vector<std::string>{"cut-in 3 dance.ani", "cut-in 4 averylongname.bmp",
                                                 "close-cut-in 3"}));
}

TEST_F(TagsTest, SelectItemPictures) {
    WriteFile("item.bmp", BmpBytes(4, 2, std::vector<uint32_t>(8, kRed)));
    Scan("<SetMenuGraphic 2,item.bmp><SetMenuGraphic 3,none.bmp><SetMenuGraphic 99,item.bmp>");
    MenuItem* item = menu_item(menu_, 2);
    ASSERT_TRUE(item);
    uint32_t picture = item->picture;
    EXPECT_TRUE(HostBitmapExists(picture));
    EXPECT_TRUE(item->flags & ITEM_PICTURE);
    EXPECT_EQ(menu_item(menu_, 3)->picture, 0u);
    Scan("<OffMenuGraphic 2>");
    EXPECT_EQ(menu_item(menu_, 2)->picture, 0u);
    EXPECT_FALSE(menu_item(menu_, 2)->flags & ITEM_PICTURE);
    EXPECT_FALSE(HostBitmapExists(picture));
}

TEST_F(TagsTest, MessageAndSelecterObjects) {
    g_game.screen.text_height = 200;
    Scan("<OpenMessage>");
    EXPECT_TRUE(Shown(kMessageObject));
    const ObjectRecord* o = object_record(ReqObject(main_, kMessageObject));
    ASSERT_TRUE(o);
    EXPECT_EQ(window_record(o->window)->x, 80);
    EXPECT_EQ(window_record(o->window)->y, kHeight - 200 - 20);
    Scan("<CloseMessage>");
    EXPECT_FALSE(Shown(kMessageObject));
    ShowObject(main_, kSelecterObject, g_game.screen.selecter_x, 0);
    Scan("<CloseSelect>");
    EXPECT_FALSE(Shown(kSelecterObject));
}

TEST_F(TagsTest, StatusSheets) {
    struct Case {
        const char* text;
        std::vector<std::string> calls;
    } cases[] = {
        {"<OpenSTS 2>", {"sheet 2", "open-status"}},
        {"<OpenSTS 0>", {"open-status"}},  // keeps the current sheet
        {"<OpenSTS 3>", {"open-status"}},
        {"<Sheets 0>", {"sheet 0", "redraw-status"}},
        {"<Sheets 2>", {"sheet 2", "redraw-status"}},
        {"<Sheets 3>", {}},
        {"<CloseSTS>", {"close-status"}},
    };
    for (const Case& c : cases) {
        g_calls.clear();
        Scan(c.text);
        EXPECT_EQ(g_calls, c.calls) << c.text;
    }
}

TEST_F(TagsTest, FadesAreEffectRequestsForTheMainWindow) {
    Scan("<WhiteOut><BlackOut>");
    std::vector<EventRecord> requests = EventsTo(TASK_ID_EFFECT);
    ASSERT_EQ(requests.size(), 2u);
    uint16_t types[] = {EFFECT_WHITE_OUT, EFFECT_BLACK_OUT};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(requests[i].code, EVENT_EFFECT_REQUEST);
        EXPECT_EQ(requests[i].source, task_id_);
        EXPECT_EQ(requests[i].long_a, types[i]);
        EffectRequestData d;
        std::memcpy(&d, requests[i].data, sizeof d);
        EXPECT_EQ(d.window, main_);
    }
}

TEST_F(TagsTest, TitleGoesToTheStartScreenAsAString) {
    Scan(Sj("<OpenTitle 夜明け の 章>"));
    std::vector<EventRecord> events = EventsTo(TASK_ID_START_SCREEN);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].code, EVENT_STRING);
    EXPECT_EQ(std::string(events[0].data), Sj("夜明けの章"));
}

TEST_F(TagsTest, ComputeRunsOnThePlayerWithModeLabels) {
    Scan(Sj("<Compute hp = hp+5; time=夜>"));
    EXPECT_EQ(GetNum(player_, "hp"), 15);
    EXPECT_EQ(GetNum(player_, "time"), 2);
    EXPECT_EQ(g_calls, (std::vector<std::string>{"highlight " + Sj("hp=hp+5;time=夜")}));
    EXPECT_TRUE(Logged(Sj("以下のCompute 実行します")));
    EXPECT_TRUE(Logged("hp=hp+5;time=2"));
}

TEST_F(TagsTest, SelectListFillsTheMenu) {
    struct Case {
        const char* list;
        std::vector<std::pair<std::string, int32_t>> items;  // items 1 .. n, the rest empty
    } cases[] = {
        {"north,south", {{"north", 1}, {"south", 2}}},
        {"go:5;stay", {{"go", 5}, {"stay", 2}}},
        {"go?hp>5:7,run?hp>50:8", {{"go", 7}, {"run", 2}}},
        {",,a,,b,", {{"a", 1}, {"b", 2}}},
        {"1,2,3,4,5,6,7,8,9,10,11",
         {{"1", 1},
          {"2", 2},
          {"3", 3},
          {"4", 4},
          {"5", 5},
          {"6", 6},
          {"7", 7},
          {"8", 8},
          {"9", 9}}},
    };
    for (const Case& c : cases) {
        FillSelectMenu(c.list);
        EXPECT_EQ(g_scenario.select_count, int(c.items.size())) << c.list;
        for (int k = 1; k <= kSelectItems; ++k) {
            const MenuItem* item = menu_item(menu_, k);
            ASSERT_TRUE(item);
            EXPECT_STREQ(item->help, " ");
            if (k <= int(c.items.size())) {
                EXPECT_EQ(item->label, c.items[size_t(k - 1)].first) << c.list << " #" << k;
                EXPECT_EQ(int32_t(item->value), c.items[size_t(k - 1)].second) << c.list;
                EXPECT_FALSE(item->flags & ITEM_DISABLED) << c.list << " #" << k;
            } else {
                EXPECT_STREQ(item->label, "") << c.list << " #" << k;
                EXPECT_EQ(int32_t(item->value), -1) << c.list << " #" << k;
                EXPECT_TRUE(item->flags & ITEM_DISABLED) << c.list << " #" << k;
            }
        }
    }
}

TEST_F(TagsTest, ActiveSelectShowsTheChoicesAtOnce) {
    Scan("a<Select x,y>");
    EXPECT_FALSE(Shown(kSelecterObject));
    g_scenario.active_select = true;
    Scan("a<Select x,y>");
    EXPECT_TRUE(Shown(kSelecterObject));
    EXPECT_EQ(g_calls, (std::vector<std::string>{"load-save on"}));
}

}  // namespace
