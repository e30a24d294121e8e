#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "host/sjis_literal.h"
#include "text/text.h"
#include "text_fixture.h"

namespace {

class TextTest : public TextFixture {};

// Lines of 49 characters and a newline, each line's characters telling its number.
std::string numbered_lines(int count) {
    std::string content;
    for (int i = 0; i < count; ++i) {
        std::string line = std::to_string(i) + ":";
        line += std::string(49 - line.size(), char('a' + i % 26));
        content += line + "\n";
    }
    return content;
}

TEST_F(TextTest, ReadingCountsLinesAndSizeAndTurnsCrLfIntoLf) {
    Handle text = ReadText("abc.txt", "a\r\nb\r\nc\r\n");
    TextHeader* h = text_header(text);
    EXPECT_EQ(h->lines, 3u);
    EXPECT_EQ(h->size, 7u);
    EXPECT_EQ(Content(text), "a\nb\nc\n");
    EXPECT_EQ(Line(text, 0), "a");
    EXPECT_EQ(Line(text, 2), "c");
    EXPECT_EQ(Line(text, 3), "");  // after the last newline
    EXPECT_EQ(Line(text, 4), "<none>");
    EXPECT_TRUE(Logged("TextPoint()でmax_line(3)over  4line."_sj));
    EXPECT_EQ(Line(text, -1), "<none>");
    EXPECT_TRUE(Logged("File Open abc.txt"));
    EXPECT_TRUE(Logged("File read  abc.txt ﾃｷｽﾄ･ｻｲｽﾞ 7 byte max line 3  block count 0"_sj));

    Handle empty = ReadText("empty.txt", "");
    EXPECT_EQ(text_header(empty)->size, 1u);
    EXPECT_EQ(text_header(empty)->lines, 0u);
    EXPECT_EQ(Line(empty, 0), "");
    EXPECT_EQ(Line(empty, 1), "<none>");

    // NUL bytes cannot be held and are dropped; Ctrl-Z ends a text file.
    Handle odd = ReadText("odd.txt", std::string("x\0y\r\nz\x1A ignored", 15));
    EXPECT_EQ(Content(odd), "xy\nz");
    EXPECT_EQ(text_header(odd)->size, 5u);

    Handle missing = CreateText(0, "nothere.txt", 0);
    EXPECT_EQ(ReadTextFile(missing), 6);
    EXPECT_TRUE(Logged("File open error! nothere.txt for read"));
    // A fresh text is a single blank of size 0: it has no lines to give.
    std::vector<char> out(kTextLineSize, 'x');
    EXPECT_EQ(GetTextLine(missing, 0, out.data()), nullptr);
    EXPECT_STREQ(out.data(), "");
}

TEST_F(TextTest, BlocksHoldAtMost2047CharactersAndLinesReadInAnyOrder) {
    std::string content = numbered_lines(100);  // 5000 characters
    Handle text = ReadText("five.txt", content);
    std::vector<std::string> blocks = Blocks(text);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].size(), 2047u);
    EXPECT_EQ(blocks[1].size(), 2047u);
    EXPECT_EQ(blocks[2].size(), 906u);
    EXPECT_EQ(text_header(text)->size, 5001u);
    EXPECT_EQ(text_header(text)->lines, 100u);
    EXPECT_TRUE(Logged("File read  five.txt ﾃｷｽﾄ･ｻｲｽﾞ 5001 byte max line 100  block count 2"_sj));

    std::vector<std::string> expected;
    for (size_t start = 0; start < content.size(); start = content.find('\n', start) + 1)
        expected.push_back(content.substr(start, content.find('\n', start) - start));
    expected.push_back("");
    std::vector<int> order(expected.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y : order)
            ASSERT_EQ(Line(text, y), expected[size_t(y)]) << "line " << y;
        if (pass == 0) std::reverse(order.begin(), order.end());
        if (pass == 1) std::shuffle(order.begin(), order.end(), std::mt19937(7));
    }
    // The line that starts a block's text and the one that runs across a block end.
    EXPECT_EQ(TextPoint(text, 41)[0], '4');
    EXPECT_EQ(*text_point(text, 2, 40), ':');
    char* crossing = text_point(text, 48, 40);  // line 40 starts at 2000: column 48 is 2048
    EXPECT_EQ(crossing, reinterpret_cast<char*>(
                            handle_body(handle_entry(text_header(text)->first_block)->next)) +
                            1);
    EXPECT_EQ(*crossing, 'o');
    EXPECT_EQ(*text_point(text, 49, 40), '\n');
}

TEST_F(TextTest, LinesRunningOverBlockEndsComeBackWhole) {
    std::string long_line(3000, 'x');
    std::string last = std::string(50, 'y');
    // The last line starts in the second block and ends in the third, without a newline.
    std::string content = long_line + "\n" + std::string(1045, 'z') + "\n" + last;
    ASSERT_GT(content.size(), 2u * 2047);
    ASSERT_LT(content.size() - last.size(), 2u * 2047);
    Handle text = ReadText("long.txt", content);
    EXPECT_EQ(Line(text, 0), long_line);
    EXPECT_EQ(Line(text, 2), last);
    EXPECT_EQ(Line(text, 1), std::string(1045, 'z'));
    EXPECT_EQ(*text_point(text, 2999, 0), 'x');
    EXPECT_EQ(*text_point(text, 3000, 0), '\n');
    // An output buffer too small cuts the line.
    char small[8];
    EXPECT_STREQ(GetTextLine(text, 0, small, sizeof small), "xxxxxxx");
}

TEST_F(TextTest, TabsExpandToTabWidthPlusOneBlanksAndCountTabWidthColumns) {
    Handle text = ReadText("tab.txt", "a\tb\n\t\n");
    EXPECT_EQ(Line(text, 0), "a     b");
    EXPECT_EQ(Line(text, 1), "     ");
    EXPECT_EQ(LineColumns(text, TextPoint(text, 0)), 6);
    text_header(text)->tab_width = 2;
    EXPECT_EQ(Line(text, 0), "a   b");
    EXPECT_EQ(LineColumns(text, TextPoint(text, 0)), 4);
    // At the end of the block text a single-line text does not count the last cell.
    Handle field = ReadText("field.txt", "abc");
    EXPECT_EQ(LineColumns(field, TextPoint(field, 0)), 3);
    text_header(field)->flags |= TEXT_FLAG_SINGLE_LINE;
    EXPECT_EQ(LineColumns(field, TextPoint(field, 0)), 2);
    std::string wide(2000, '\t');
    Handle tabs = ReadText("tabs.txt", wide);
    EXPECT_EQ(LineColumns(tabs, TextPoint(tabs, 0)), 1028);  // stops past 1024
}

TEST_F(TextTest, InsertingIntoAFullBlockSplitsItAtTheInsertionPoint) {
    Handle text = ReadText("full.txt", std::string(2040, 'a'));
    ASSERT_EQ(Blocks(text).size(), 1u);
    // Room left: the bytes go in place.
    ASSERT_EQ(text_insert(text, 5, 0, "bc", 2), 0);
    EXPECT_TRUE(Logged("blockに空きがある Block文字列長2040 挿入ｻｲｽﾞ2　TBlockｻｲｽﾞ2048"_sj));
    ASSERT_EQ(Blocks(text).size(), 1u);
    // 2042 + 10 does not fit: split at column 1000, the 10 bytes before the moved tail.
    ASSERT_EQ(text_insert(text, 1000, 0, "0123456789xyz", 10), 0);
    EXPECT_TRUE(Logged("blockに空きがない"_sj));
    std::vector<std::string> blocks = Blocks(text);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].size(), 1000u);
    EXPECT_EQ(blocks[1].substr(0, 10), "0123456789");
    EXPECT_EQ(blocks[1].size(), 10u + 1042u);
    EXPECT_EQ(text_header(text)->size, 2041u + 12u);
    std::string expected =
        std::string(5, 'a') + "bc" + std::string(993, 'a') + "0123456789" + std::string(1042, 'a');
    EXPECT_EQ(Content(text), expected);
    EXPECT_EQ(Line(text, 0), expected);

    // More than a block's worth of text goes into blocks of its own before the tail.
    std::string big;
    for (int i = 0; i < 5000; ++i)
        big += (i % 100 == 99) ? '\n' : char('A' + i % 26);
    ASSERT_EQ(text_insert(text, 1500, 0, big.c_str(), int(big.size())), 0);
    EXPECT_TRUE(Logged("text.c text_insert()  挿入する文字がTEXT_BLOCKより大きい"_sj));
    expected.insert(1500, big);
    EXPECT_EQ(Content(text), expected);
    EXPECT_EQ(text_header(text)->lines, 50u);
    EXPECT_EQ(text_header(text)->size, expected.size() + 1);
    for (std::string b : Blocks(text))
        EXPECT_LE(b.size(), 2047u);
}

TEST_F(TextTest, DeletesCrossNewlinesAndRemoveWholeBlocks) {
    std::string content = numbered_lines(100);
    Handle text = ReadText("del.txt", content);
    // Across one newline inside a block.
    ASSERT_EQ(text_delete(text, 45, 0, 10), 0);
    content.erase(45, 10);
    EXPECT_EQ(text_header(text)->lines, 99u);
    EXPECT_EQ(Content(text), content);
    // From line 10 over the rest of the first block, all of the second, into the third.
    size_t start = 0;
    for (int y = 0; y < 10; ++y)
        start = content.find('\n', start) + 1;
    size_t n = (2037 - start) + 2047 + 10;
    Handle resource = text_header(text)->resource;
    int records = RecordCount(resource);
    ASSERT_EQ(text_delete(text, 0, 10, int(n)), 0);
    EXPECT_TRUE(Logged("ﾃｷｽﾄﾌﾞﾛｯｸに削除文字がないので次を見ます"_sj));
    content.erase(start, n);
    EXPECT_EQ(Content(text), content);
    EXPECT_EQ(Blocks(text).size(), 2u);
    EXPECT_EQ(RecordCount(resource), records - 1);
    EXPECT_EQ(text_header(text)->size, content.size() + 1);
    EXPECT_EQ(text_header(text)->lines, uint32_t(std::count(content.begin(), content.end(), '\n')));
    EXPECT_EQ(Line(text, 10), content.substr(start, content.find('\n', start) - start));
    // Deleting past the end removes what is there.
    ASSERT_EQ(text_delete(text, 0, 0, 100000), 0);
    EXPECT_EQ(Content(text), "");
    EXPECT_EQ(text_header(text)->lines, 0u);
    EXPECT_EQ(Line(text, 0), "");
}

TEST_F(TextTest, CursorEditsTakeDoubleByteCharactersWhole) {
    Handle text = ReadText("cur.txt", "ab\ncd");
    TextHeader* h = text_header(text);
    h->cursor_x = 1;
    h->cursor_y = 1;
    ASSERT_EQ(WordInsert(text, "漢x"_sj), 0);
    EXPECT_EQ(Line(text, 1), std::string("c") + "漢"_sj + "d");
    EXPECT_EQ(text_header(text)->cursor_x, 1);  // the cursor stays
    ASSERT_EQ(WordInsert(text, "\n"), 0);
    EXPECT_EQ(text_header(text)->lines, 2u);
    EXPECT_EQ(Line(text, 2), std::string("漢"_sj) + "d");
    text_header(text)->cursor_y = 2;
    text_header(text)->cursor_x = 0;
    ASSERT_EQ(DeleteCursorChar(text), 0);
    EXPECT_EQ(Line(text, 2), "d");
    // A lead byte before a byte that cannot trail goes alone.
    ASSERT_EQ(text_insert(text, 0, 2, "\x82\x0a", 2), 0);
    ASSERT_EQ(DeleteCursorChar(text), 0);
    EXPECT_EQ(Line(text, 2), "");
    EXPECT_EQ(Line(text, 3), "d");
    CursorToEnd(text);
    EXPECT_EQ(text_header(text)->cursor_y, 3);
    EXPECT_EQ(text_header(text)->cursor_x, 1);
    ASSERT_EQ(DeleteCursorChar(text), 0);  // at the end: nothing to delete
    EXPECT_EQ(Content(text), "ab\nc\n\nd");
}

TEST_F(TextTest, WritingTurnsLfIntoCrLf) {
    std::string content = numbered_lines(100);
    Handle text = ReadText("w.txt", content);
    ASSERT_EQ(text_insert(text, 0, 3, "new\n", 4), 0);
    content.insert(150, "new\n");
    ASSERT_EQ(WriteTextFile(text), 0);
    std::string crlf;
    for (char c : content)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(ReadFile("w.txt"), crlf);
    EXPECT_TRUE(Logged("File write   w.txt block_count " + std::to_string(Blocks(text).size() - 1) +
                       " text_size 5004"));

    Handle fresh = CreateText(0, "fresh.txt", 0);
    ASSERT_EQ(WriteTextFile(fresh), 0);
    EXPECT_EQ(ReadFile("fresh.txt"), " ");
    // A block without text stands for a line break.
    Handle empty = ReadText("e.txt", "");
    ASSERT_EQ(WriteTextFile(empty), 0);
    EXPECT_EQ(ReadFile("e.txt"), "\r\n");
}

TEST_F(TextTest, RereadingAndRecreatingKeepOnlyTheNewContent) {
    Handle text = ReadText("re.txt", numbered_lines(100));
    ASSERT_EQ(Blocks(text).size(), 3u);
    WriteFile("re.txt", "short\n");
    ASSERT_EQ(ReadTextFile(text), 0);
    EXPECT_EQ(Blocks(text).size(), 1u);
    EXPECT_EQ(Content(text), "short\n");
    EXPECT_EQ(Line(text, 1), "");

    // A second text of the same name is the same header with a fresh first block.
    Handle again = CreateText(0, "re.txt", 0x100);
    EXPECT_EQ(again, text);
    EXPECT_EQ(Content(again), " ");
    EXPECT_EQ(text_header(again)->flags, 0x106u);
    EXPECT_EQ(text_header(again)->size, 0u);
    EXPECT_EQ(handle_entry(again)->mark[0], 'T');
    EXPECT_EQ(handle_entry(text_header(again)->first_block)->mark[0], 'B');
    Handle resource = text_header(again)->resource;
    EXPECT_EQ(CloseText(0, again), 0);
    EXPECT_EQ(handle_entry(again)->flags & RECORD_INACTIVE, RECORD_INACTIVE);
    EXPECT_NE(FindResource("re.txt", "TEXT"), 0u);
    EXPECT_EQ(FindResource("re.txt", "TEXT"), resource);
}

}  // namespace
