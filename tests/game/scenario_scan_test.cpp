// The scan of scenario texts: tags and their parameters, the five tag results, text library
// words and player items in the text, stops, and tag removal.
#include <cstring>

#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/scenario_internal.h"
#include "resource/resource.h"
#include "scenario_env.h"
#include "window/menu.h"

namespace {

class ScanTest : public ScenarioTest {};

TEST_F(ScanTest, TagParameters) {
    struct Case {
        const char* parameters;
        int n;
        const char* expected;
    } cases[] = {
        {"10,20,a.bmp", 1, "10"}, {"10,20,a.bmp", 3, "a.bmp"},
        {",10,20", 1, "10"},      {",10,20", 2, "20"},
        {"-5", 1, "5"},           {"3-5", 2, "5"},
        {"a=b+c*d/e;f", 6, "f"},  {"10,,30", 2, ""},
        {"10,,30", 3, "30"},      {"1020a.bmp", 1, "1020a.bmp"},
        {"1020a.bmp", 2, ""},     {"", 1, ""},
    };
    for (const Case& c : cases) {
        char out[32];
        EXPECT_STREQ(TagParam(c.parameters, c.n, out, sizeof out), c.expected)
            << c.parameters << " #" << c.n;
    }
    EXPECT_EQ(TagNumber("-12,7", 1), 12);
    EXPECT_EQ(TagNumber("1020a.bmp", 1), 1020);
    EXPECT_EQ(TagNumber("x", 1), 0);
    char cut[4];
    EXPECT_STREQ(TagParam("abcdef", 1, cut, sizeof cut), "abc");
}

TEST_F(ScanTest, CommandTagsAreExecutedAndRemovedEvenWhenAdjacent) {
    int result = -1;
    EXPECT_EQ(Scan("<BG a.bmp><PlayMIDI my song .mid>Hello<StopWAVE>\nend", &result), "Hello\nend");
    EXPECT_EQ(result, 0);
    // Blanks are removed from the parameters before they are split.
    EXPECT_EQ(g_calls,
              (std::vector<std::string>{"background a.bmp", "midi mysong.mid", "wave  0"}));
    EXPECT_STREQ(g_scenario.text, "Hello\nend");  // the executed tags are gone from the text
    EXPECT_EQ(g_scenario.continuation, kNoContinuation);
    EXPECT_TRUE(Logged("ret exec_command() 1 code -BG a.bmp- para -a.bmp-(exe 1)"));
}

TEST_F(ScanTest, TextAroundTagsMayBeDoubleByte) {
    EXPECT_EQ(Scan(Sj("あ<CloseMessage>い<GetPlayer ベル>う")), Sj("あいう"));
    EXPECT_EQ(g_calls.back(), "get-player " + Sj("ベル"));
    EXPECT_EQ(g_game.player, other_player_);
}

TEST_F(ScanTest, LoneCloseIsLoggedAndKept) {
    EXPECT_EQ(Scan("a > b"), "a > b");
    EXPECT_TRUE(Logged("ERROR TAG>-> b- line 1971"));
}

TEST_F(ScanTest, UnclosedTagIsPlainText) {
    EXPECT_EQ(Scan("abc<PlayMIDI x.mid"), "abc<PlayMIDI x.mid");
    EXPECT_TRUE(g_calls.empty());
}

TEST_F(ScanTest, DrawingAndUnknownTagsStayInThePage) {
    EXPECT_EQ(Scan("<font_color 3>red<wait 5><nobody here>"),
              "<font_color 3>red<wait 5><nobody here>");
    EXPECT_TRUE(Logged(Sj(" 未定義ﾀｸﾞでTextLIBにもありません。 -nobody- exe0")));
    // Only the '<' of a kept tag is copied by the tag rule: its '>' is met as text.
    EXPECT_EQ(LogCount("ERROR TAG>"), 3);
    // Names are compared exactly: "Input" is not the page break "input".
    int result = -1;
    EXPECT_EQ(Scan("a<Input>b", &result), "a<Input>b");
    EXPECT_EQ(result, 0);
}

TEST_F(ScanTest, PlayerStringItemsReplaceTheirTags) {
    EXPECT_EQ(Scan(Sj("<nick>さん")), Sj("アルさん"));
    // A name path reaches another record's item.
    EXPECT_EQ(Scan(Sj("<.名前:ベル.名前>!")), Sj("ベル!"));
    // A number item is no text.
    EXPECT_EQ(Scan("<hp>"), "<hp>");
}

TEST_F(ScanTest, TextLibraryWordsAreReplacedAndScannedAgain) {
    AddWord("hero", "hp<50", "<PlayMIDI a.mid>weak<PlayWAVE b.wav>one");
    AddWord("tiny", "hp>0", "z");
    EXPECT_EQ(Scan("[<hero>]"), "[<PlayMIDI a.mid>weakone]");
    // The replacement's first byte is copied before the scan looks at it, so its first tag
    // stays; the later one is executed.
    EXPECT_EQ(g_calls, (std::vector<std::string>{"wave b.wav 1"}));
    EXPECT_TRUE(Logged(Sj(" textlib展開 -hero-")));
    EXPECT_TRUE(Logged("\ttextlib get str -<PlayMIDI a.mid>weak<PlayWAVE b.wav>one-"));
    EXPECT_EQ(Scan("a<tiny>b"), "ab");
    EXPECT_TRUE(Logged("decode TextLib Nullstring"));
}

TEST_F(ScanTest, ReplacementThatRepeatsItselfStopsAtTheEndOfTheBuffer) {
    AddWord("loop", "hp>0", "xy<loop>");
    std::string page = Scan("<loop>");
    EXPECT_LT(page.size(), kScenarioTextSize);
    EXPECT_GT(page.size(), kScenarioTextSize - 16);
    EXPECT_EQ(page.substr(0, 6), "xyxyxy");
}

TEST_F(ScanTest, LongTagsAreReadUpToTheirFirst2047Bytes) {
    std::string name(3000, 'a');
    EXPECT_EQ(Scan("<" + name + ">x"), "<" + name + ">x");
    std::string logged =
        "ret exec_command() 0 code -" + std::string(2047, 'a') + "- para --(exe 0)";
    EXPECT_TRUE(Logged(logged));
    // A command with a long parameter is removed whole.
    EXPECT_EQ(Scan("<BG " + std::string(2500, 'b') + ">after"), "after");
}

TEST_F(ScanTest, SelectAtTheEndEndsTheText) {
    int result = -1;
    EXPECT_EQ(Scan(Sj("北の門<Select 東へ,西へ>"), &result), Sj("北の門"));
    EXPECT_EQ(result, 2);
    EXPECT_EQ(g_scenario.continuation, kNoContinuation);
    EXPECT_TRUE(g_scenario.select_pending);
    EXPECT_STREQ(g_scenario.select_list, Sj("東へ,西へ").c_str());
    EXPECT_TRUE(Logged(Sj("あれまlen　1")));
}

TEST_F(ScanTest, StopInTheMiddleKeepsTheRestForLater) {
    int result = -1;
    EXPECT_EQ(Scan("one<input>two<Select a,b>three", &result), "one");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(g_scenario.continuation, 3);
    EXPECT_STREQ(g_scenario.text, "onetwo<Select a,b>three");
    char page[kScenarioTextSize];
    EXPECT_EQ(exec_command(task_, g_scenario.text + 3, page), 0);
    EXPECT_STREQ(page, "two");
    EXPECT_STREQ(g_scenario.text, "onetwothree");  // the saved buffer holds no Select tag
    EXPECT_EQ(g_scenario.continuation, 6);
}

TEST_F(ScanTest, NoTextBeforeAStop) {
    int result = -1;
    EXPECT_EQ(Scan("<NoText>x<Select a,b>rest", &result), "<NoText>x");
    EXPECT_EQ(result, 3);
    // At the end of the text the stop wins.
    Scan("<NoText>x<Select a,b>", &result);
    EXPECT_EQ(result, 2);
    // Without a stop NoText does nothing.
    Scan("<NoText>x", &result);
    EXPECT_EQ(result, 0);
}

TEST_F(ScanTest, DebugModeShowsEachTagName) {
    g_scenario.debug = true;
    Scan("<CloseMessage><abcdefghijklmnopqrstuvwxyz>");
    EXPECT_TRUE(Logged("CloseMessage"));
    EXPECT_TRUE(Logged("abcdefghijklmnopqrst.."));
    EXPECT_EQ(Pixel(222, 27), 0x000000u);
}

TEST_F(ScanTest, DeleteTag) {
    struct Case {
        const char* text;
        const char* expected;
    } cases[] = {
        {"<a>b<c>", "b"}, {"<a><b><c>", ""}, {"x<y", "x<y"}, {"a>b", "a>b"}, {"p<q>r<s", "pr<s"},
    };
    for (const Case& c : cases) {
        char text[32];
        std::strcpy(text, c.text);
        delete_tag(text);
        EXPECT_STREQ(text, c.expected) << c.text;
    }
    EXPECT_EQ(LogCount("delete_tag >"), 2);
}

}  // namespace
