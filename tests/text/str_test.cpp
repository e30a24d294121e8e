#include "text/str.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/sjis_literal.h"
#include "support/test_env.h"

namespace {

class StrTest : public NomaTest {};

TEST_F(StrTest, WordsAreSplitAtBlanksSemicolonsAndCommas) {
    char text[] = " ,;move,10;20";
    char word[32];
    char* p = NextWord(text, word);
    EXPECT_STREQ(word, "move");
    p = NextWord(p, word);
    EXPECT_STREQ(word, "10");
    p = NextWord(p, word);
    EXPECT_STREQ(word, "20");
    EXPECT_EQ(*p, '\0');
    // Only separators left: nothing is skipped, the word is empty and the position stays.
    char tail[] = ", ;";
    EXPECT_EQ(SkipSeparators(tail), tail);
    EXPECT_EQ(NextWord(tail, word), tail);
    EXPECT_STREQ(word, "");
    // A Shift-JIS word is copied whole.
    std::string sj = "名前"_sj;
    sj += ";x";
    NextWord(sj.c_str(), word);
    EXPECT_STREQ(word, "名前"_sj);
}

TEST_F(StrTest, NthParameterFollowsTheNthRunOfBlanks) {
    char word[32];
    EXPECT_EQ(NthParam("Button 10 20", 2, word), 1);
    EXPECT_STREQ(word, "20");
    EXPECT_EQ(NthParam("Button   10\t 20", 1, word), 1);
    EXPECT_STREQ(word, "10");
    EXPECT_EQ(NthParam("Button", 1, word), 0);
    EXPECT_STREQ(word, "");
    EXPECT_EQ(NthParam("Button 10 ", 2, word), 0);
    EXPECT_EQ(NthParam(" lead x", 1, word), 1);  // the leading run counts
    EXPECT_STREQ(word, "lead");
    EXPECT_EQ(NthParamNum("Move -15 7", 1), -15);
    EXPECT_EQ(NthParamNum("Move -15 7", 2), 7);
    EXPECT_EQ(NthParamNum("Move -15 7", 3), 0);
}

TEST_F(StrTest, BlanksAndTabsAreRemoved) {
    char text[] = " a\tb  c\t";
    EXPECT_EQ(RemoveBlanks(text), 0);
    EXPECT_STREQ(text, "abc");
}

TEST_F(StrTest, FindTextRestartsAfterTheMismatchingCharacter) {
    EXPECT_EQ(FindText("hello world", "world"), 7);
    EXPECT_EQ(FindText("abab", "ab"), 1);
    EXPECT_EQ(FindText("xab", "ab"), 2);
    EXPECT_EQ(FindText("aab", "ab"), 0);  // the second 'a' is never a new start
    EXPECT_EQ(FindText("aaab", "aab"), 0);
    EXPECT_EQ(FindText("abc", ""), 0);
    EXPECT_EQ(FindText("ab", "abc"), 0);
    EXPECT_EQ(FindText("StartData", "Data"), 6);
}

TEST_F(StrTest, InsertTextMovesTheRestRight) {
    char buffer[32] = "helloworld";
    InsertText(", ", buffer + 5, 0);
    EXPECT_STREQ(buffer, "hello, world");
    InsertText("XYZ", buffer, 2);
    EXPECT_STREQ(buffer, "XYhello, world");
    InsertText("ab", buffer + 14, 9);  // at most the source's length
    EXPECT_STREQ(buffer, "XYhello, worldab");
}

TEST_F(StrTest, ReplaceSectionGrowsAndShrinksInPlace) {
    char buffer[32] = "one <a> three";
    char* after = ReplaceSection(buffer, buffer + 4, buffer + 7, "<two>");
    EXPECT_STREQ(buffer, "one <two> three");
    EXPECT_EQ(after, buffer + 9);
    EXPECT_TRUE(Logged("out swap:-one <two> three-"));
    after = ReplaceSection(buffer, buffer + 4, buffer + 9, "2");
    EXPECT_STREQ(buffer, "one 2 three");
    EXPECT_EQ(after, buffer + 5);
    ReplaceSection(buffer, buffer + 3, buffer + 3, "");
    EXPECT_STREQ(buffer, "one 2 three");
}

TEST_F(StrTest, CharCountTakesALeadByteAndItsFollowerAsOne) {
    EXPECT_EQ(CharCount(""), 0);
    EXPECT_EQ(CharCount("abc"), 3);
    std::string mixed = std::string("a") + "メモリ"_sj + "b";
    EXPECT_EQ(CharCount(mixed.c_str()), 5);
    EXPECT_EQ(CharCount("ab\x82"), 3);  // a lead byte at the end is not read past
}

TEST_F(StrTest, FullWidthFormsBecomeTheirAsciiCharacters) {
    // The 95 forms in ASCII order, as the CP932 literal table spells them.
    const char* const pieces[] = {
        "　！”＃＄％＆’（）＊＋，－．／"_sj,   "０１２３４５６７８９：；＜＝＞？"_sj,
        "＠ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯ"_sj, "ＰＱＲＳＴＵＶＷＸＹＺ［￥］＾＿"_sj,
        "‘ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏ"_sj,  "ｐｑｒｓｔｕｖｗｘｙｚ｛｜｝￣"_sj};
    std::string forms;
    for (const char* piece : pieces)
        forms += piece;
    ASSERT_EQ(forms.size(), 190u);
    for (int i = 0; i < 95; ++i) {
        char c[3] = {forms[2 * i], forms[2 * i + 1], 'z'};
        ASSERT_EQ(ToHalfWidth(c), 1) << i;
        EXPECT_EQ(c[0], char(0x20 + i)) << i;
        EXPECT_EQ(c[1], '\0');
    }
    char kana[] = "あ";
    std::memcpy(kana, "あ"_sj, 2);
    EXPECT_EQ(ToHalfWidth(kana), 0);
    EXPECT_EQ(std::memcmp(kana, "あ"_sj, 2), 0);
    char dot[] = "\x81\x45";  // full-width middle dot: no ASCII form
    EXPECT_EQ(ToHalfWidth(dot), 0);
}

}  // namespace
