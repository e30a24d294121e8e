// Text objects (random edits checked against a plain string, files in and out, lines over
// block ends, tabs, edits at the cursor) and the string utilities.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "host/sjis_literal.h"
#include "resource/resource.h"
#include "support/test_env.h"
#include "text/str.h"
#include "text/text.h"

namespace {

class TextTest : public NomaTest {
protected:
    void SetUp() override {
        NomaTest::SetUp();
        ASSERT_TRUE(CreateSystemResources());
    }

    Handle ReadText(const std::string& name, const std::string& content) {
        WriteFile(name, content);
        Handle text = CreateText(0, name.c_str(), 0);
        EXPECT_EQ(ReadTextFile(text), 0);
        return text;
    }

    // The texts of the blocks from the first block along the chain.
    static std::vector<std::string> Blocks(Handle text) {
        std::vector<std::string> blocks;
        for (Handle b = text_header(text)->first_block; b; b = handle_entry(b)->next)
            blocks.emplace_back(reinterpret_cast<const char*>(handle_body(b)));
        return blocks;
    }

    static std::string Content(Handle text) {
        std::string all;
        for (const std::string& b : Blocks(text))
            all += b;
        return all;
    }

    static std::string Line(Handle text, int y) {
        std::vector<char> out(kTextLineSize);
        const char* got = GetTextLine(text, y, out.data());
        return got ? got : "<none>";
    }

    static std::vector<std::string> Lines(const std::string& s) {
        std::vector<std::string> lines;
        size_t start = 0;
        for (size_t nl; (nl = s.find('\n', start)) != std::string::npos; start = nl + 1)
            lines.push_back(s.substr(start, nl - start));
        lines.push_back(s.substr(start));
        return lines;
    }

    // Random edits of the text and of a string; after each batch the header counts, the block
    // texts and every line (some at random, then all in order, using the line caches both
    // ways) must agree with the string.
    void ExpectSame(Handle text, const std::string& model, std::mt19937& random) {
        std::vector<std::string> lines = Lines(model);
        ASSERT_EQ(text_header(text)->lines, lines.size() - 1);
        ASSERT_EQ(text_header(text)->size, model.size() + 1);
        ASSERT_EQ(Content(text), model);
        for (const std::string& block : Blocks(text))
            ASSERT_LE(block.size(), kTextBlockText);
        for (int k = 0; k < 20; ++k) {
            size_t y = random() % lines.size();
            ASSERT_EQ(Line(text, int(y)), lines[y]) << y;
        }
        for (size_t y = 0; y < lines.size(); ++y)
            ASSERT_EQ(Line(text, int(y)), lines[y]) << y;
    }

    static std::string RandomBytes(std::mt19937& random, size_t n) {
        std::string s;
        for (size_t i = 0; i < n; ++i)
            s += random() % 12 == 0 ? '\n' : char('a' + random() % 26);
        return s;
    }

    void RunModel(unsigned seed, size_t initial, int steps) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        std::string model = RandomBytes(random, initial);
        std::string name = "model" + std::to_string(seed) + ".txt";
        Handle text = ReadText(name, model);
        ASSERT_NO_FATAL_FAILURE(ExpectSame(text, model, random));
        for (int step = 0; step < steps; ++step) {
            std::vector<std::string> lines = Lines(model);
            int y = int(random() % lines.size());
            int x = int(random() % (lines[size_t(y)].size() + 3));  // sometimes past the end
            // Column x of line y runs on into the following lines; nothing lies past the end.
            size_t at = 0;
            for (int i = 0; i < y; ++i)
                at = model.find('\n', at) + 1;
            at = std::min(at + size_t(x), model.size());
            SCOPED_TRACE("step " + std::to_string(step));
            if (random() % 2) {  // now and then more than a block
                size_t n = random() % 8 == 0 ? random() % 5000 + 1 : random() % 40 + 1;
                std::string bytes = RandomBytes(random, n);
                ASSERT_EQ(text_insert(text, x, y, bytes.c_str(), int(n)), 0);
                model.insert(at, bytes);
            } else {
                size_t n = random() % 8 == 0 ? random() % 6000 + 1 : random() % 30 + 1;
                ASSERT_EQ(text_delete(text, x, y, int(n)), 0);
                model.erase(at, std::min(n, model.size() - at));
            }
            if (random() % 3 == 0) {
                ASSERT_NO_FATAL_FAILURE(ExpectSame(text, model, random));
            }
        }
        ASSERT_NO_FATAL_FAILURE(ExpectSame(text, model, random));
        // The file holds the text with a line break for every block left without text.
        std::string written;
        for (const std::string& block : Blocks(text))
            written += block.empty() ? "\n" : block;
        ASSERT_EQ(WriteTextFile(text), 0);
        Handle again = CreateText(0, name.c_str(), 0);
        ASSERT_EQ(ReadTextFile(again), 0);
        ASSERT_NO_FATAL_FAILURE(ExpectSame(again, written, random));
    }
};

// Lines of 49 characters and a newline, each line's characters telling its number.
std::string numbered_lines(int count) {
    std::string content;
    for (int i = 0; i < count; ++i) {
        std::string line = std::to_string(i) + ":";
        content += line + std::string(49 - line.size(), char('a' + i % 26)) + "\n";
    }
    return content;
}

TEST_F(TextTest, RandomEditsAgreeWithAString) {
    for (unsigned seed = 1; seed <= 10; ++seed)  // small texts, texts of many blocks, empty
        ASSERT_NO_FATAL_FAILURE(RunModel(seed, seed <= 6 ? 300 : seed <= 9 ? 9000 : 0, 300));
}

TEST_F(TextTest, ReadingTurnsCrLfIntoLfDropsNulAndStopsAtCtrlZ) {
    Handle text = ReadText("odd.txt", std::string("x\0y\r\nz\r\n\x1A ignored", 17));
    EXPECT_EQ(Content(text), "xy\nz\n");
    EXPECT_EQ(text_header(text)->size, 6u);
    EXPECT_EQ(Line(text, 2), "");  // after the last newline
    EXPECT_EQ(Line(text, 3), "<none>");
    Handle missing = CreateText(0, "nothere.txt", 0);
    EXPECT_EQ(ReadTextFile(missing), 6);
    // A fresh text is a single blank of size 0: it has no lines to give.
    std::vector<char> out(kTextLineSize, 'x');
    EXPECT_EQ(GetTextLine(missing, 0, out.data()), nullptr);
    EXPECT_STREQ(out.data(), "");
    ExpectLogged({"TextPoint()でmax_line(2)over  3line."_sj,
                  "File open error! nothere.txt for read",
                  "File read  odd.txt ﾃｷｽﾄ･ｻｲｽﾞ 6 byte max line 2  block count 0"_sj});
}

TEST_F(TextTest, BlocksHoldAtMost2047CharactersAndLinesRunOverTheirEnds) {
    Handle text = ReadText("five.txt", numbered_lines(100));  // 5000 characters
    std::vector<std::string> blocks = Blocks(text);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].size(), 2047u);
    EXPECT_EQ(blocks[2].size(), 906u);
    EXPECT_TRUE(Logged("File read  five.txt ﾃｷｽﾄ･ｻｲｽﾞ 5001 byte max line 100  block count 2"_sj));
    char* crossing = text_point(text, 48, 40);  // line 40 starts at 2000: column 48 is 2048
    Handle second = handle_entry(text_header(text)->first_block)->next;
    EXPECT_EQ(crossing, reinterpret_cast<char*>(handle_body(second)) + 1);
    // A line longer than a block, and a last line from the second block into the third.
    std::string last(50, 'y');
    text =
        ReadText("long.txt", std::string(3000, 'x') + "\n" + std::string(1045, 'z') + "\n" + last);
    EXPECT_EQ(Line(text, 0), std::string(3000, 'x'));
    EXPECT_EQ(Line(text, 2), last);
    EXPECT_EQ(*text_point(text, 3000, 0), '\n');
    char small[8];  // an output buffer too small cuts the line
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
    Handle tabs = ReadText("tabs.txt", std::string(2000, '\t'));
    EXPECT_EQ(LineColumns(tabs, TextPoint(tabs, 0)), 1028);  // stops past 1024
}

TEST_F(TextTest, InsertsSplitAFullBlockAndDeletesRemoveEmptiedBlocks) {
    Handle text = ReadText("full.txt", std::string(2040, 'a'));
    ASSERT_EQ(text_insert(text, 5, 0, "bc", 2), 0);  // room left: in place
    ASSERT_EQ(Blocks(text).size(), 1u);
    // 2042 + 10 does not fit: split at column 1000, the 10 bytes before the moved tail.
    ASSERT_EQ(text_insert(text, 1000, 0, "0123456789xyz", 10), 0);
    std::vector<std::string> blocks = Blocks(text);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].size(), 1000u);
    EXPECT_EQ(blocks[1], "0123456789" + std::string(1042, 'a'));

    // From column 10 over the rest of the first block, all of the second, into the third.
    std::string content = numbered_lines(100);
    text = ReadText("del.txt", content);
    Handle resource = text_header(text)->resource;
    int records = RecordCount(resource);
    ASSERT_EQ(text_delete(text, 10, 0, 2037 + 2047 + 10), 0);
    EXPECT_EQ(Content(text), content.erase(10, 2037 + 2047 + 10));
    EXPECT_EQ(Blocks(text).size(), 2u);
    EXPECT_EQ(RecordCount(resource), records - 1);
    ASSERT_EQ(text_delete(text, 0, 0, 100000), 0);  // past the end: what is there
    EXPECT_EQ(Blocks(text), std::vector<std::string>{""});
    EXPECT_EQ(text_header(text)->lines, 0u);
    ExpectLogged({"blockに空きがある Block文字列長2040 挿入ｻｲｽﾞ2　TBlockｻｲｽﾞ2048"_sj,
                  "blockに空きがない"_sj, "ﾃｷｽﾄﾌﾞﾛｯｸに削除文字がないので次を見ます"_sj});
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
    text_header(text)->cursor_y = 2;
    text_header(text)->cursor_x = 0;
    ASSERT_EQ(DeleteCursorChar(text), 0);
    EXPECT_EQ(Line(text, 2), "d");
    // A lead byte before a byte that cannot trail goes alone.
    ASSERT_EQ(text_insert(text, 0, 2, "\x82\x0a", 2), 0);
    ASSERT_EQ(DeleteCursorChar(text), 0);
    EXPECT_EQ(Line(text, 2), "");
    CursorToEnd(text);
    EXPECT_EQ(text_header(text)->cursor_y, 3);
    EXPECT_EQ(text_header(text)->cursor_x, 1);
    ASSERT_EQ(DeleteCursorChar(text), 0);  // at the end: nothing to delete
    EXPECT_EQ(Content(text), "ab\nc\n\nd");
}

TEST_F(TextTest, WritingTurnsLfIntoCrLfAndRereadingKeepsOnlyTheNewContent) {
    std::string content = numbered_lines(100);
    Handle text = ReadText("w.txt", content);
    ASSERT_EQ(WriteTextFile(text), 0);
    std::string crlf;
    for (char c : content)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(ReadFile("w.txt"), crlf);
    EXPECT_TRUE(Logged("File write   w.txt block_count 2 text_size 5000"));
    ASSERT_EQ(WriteTextFile(CreateText(0, "fresh.txt", 0)), 0);
    EXPECT_EQ(ReadFile("fresh.txt"), " ");
    ASSERT_EQ(WriteTextFile(ReadText("e.txt", "")), 0);  // a block without text: a line break
    EXPECT_EQ(ReadFile("e.txt"), "\r\n");

    WriteFile("w.txt", "short\n");
    ASSERT_EQ(ReadTextFile(text), 0);
    EXPECT_EQ(Blocks(text), std::vector<std::string>{"short\n"});
    // A second text of the same name is the same header with a fresh first block.
    Handle again = CreateText(0, "w.txt", 0x100);
    EXPECT_EQ(again, text);
    EXPECT_EQ(Content(again), " ");
    EXPECT_EQ(text_header(again)->flags, 0x106u);
    EXPECT_EQ(CloseText(0, again), 0);
    EXPECT_EQ(handle_entry(again)->flags & RECORD_INACTIVE, RECORD_INACTIVE);
}

TEST_F(TextTest, AFreedTextLeavesNoBlockInUseAndItsNameCanBeReadAgain) {
    Handle text = ReadText("f.txt", numbered_lines(100));
    Handle resource = text_header(text)->resource;
    std::vector<Handle> blocks;
    for (Handle b = text_header(text)->first_block; b; b = handle_entry(b)->next)
        blocks.push_back(b);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(RecordCount(resource), 4);
    EXPECT_EQ(FreeText(0, text), 0);
    EXPECT_EQ(RecordCount(resource), 0) << "header closed, blocks gone";
    for (Handle b : blocks)
        EXPECT_EQ(handle_entry(b)->flags & RECORD_INACTIVE, RECORD_INACTIVE);
    EXPECT_EQ(FreeText(0, 0), 1);

    Handle again = ReadText("f.txt", "new\n");
    EXPECT_EQ(Blocks(again), std::vector<std::string>{"new\n"});
    EXPECT_EQ(Line(again, 0), "new");
}

TEST_F(TextTest, WordsAndParameters) {
    char text[] = " ,;move,10;20";
    char word[32];
    char* p = NextWord(NextWord(text, word), word);
    EXPECT_STREQ(word, "10");
    EXPECT_EQ(NextWord(p, word), text + std::strlen(text));
    EXPECT_STREQ(word, "20");
    // Only separators left: nothing is skipped, the word is empty and the position stays.
    char tail[] = ", ;";
    EXPECT_EQ(SkipSeparators(tail), tail);
    EXPECT_EQ(NextWord(tail, word), tail);
    EXPECT_STREQ(word, "");
    // Parameters follow the n-th run of blanks and tabs, the leading run included.
    EXPECT_EQ(NthParam(" lead\t 10\r\n", 2, word), 1);
    EXPECT_STREQ(word, "10");
    EXPECT_EQ(NthParam("Button 10 ", 2, word), 0);
    EXPECT_EQ(NthParamNum("Move -15 7", 1), -15);
}

TEST_F(TextTest, SearchingAndEditingStrings) {
    // After a partial match fails, matching starts again after the failing character.
    EXPECT_EQ(FindText("xabab", "ab"), 2);
    for (const char* word : {"ab", "abc", ""})
        EXPECT_EQ(FindText("aab", word), 0) << word;
    char buffer[32] = " hello\tworld ";
    EXPECT_EQ(RemoveBlanks(buffer), 0);
    InsertText(", ", buffer + 5, 0);
    InsertText("XYZ", buffer, 2);
    InsertText("ab", buffer + 14, 9);  // at most the source's length
    EXPECT_STREQ(buffer, "XYhello, worldab");
    std::strcpy(buffer, "one <a> three");
    EXPECT_EQ(ReplaceSection(buffer, buffer + 4, buffer + 7, "<two>"), buffer + 9);
    EXPECT_TRUE(Logged("out swap:-one <two> three-"));
    EXPECT_EQ(ReplaceSection(buffer, buffer + 4, buffer + 9, "2"), buffer + 5);
    EXPECT_STREQ(buffer, "one 2 three");
}

TEST_F(TextTest, DoubleByteCharacters) {
    EXPECT_EQ(CharCount((std::string("a") + "メモリ"_sj + "b").c_str()), 5);
    EXPECT_EQ(CharCount("ab\x82"), 3);  // a lead byte at the end is not read past
    // The 95 full-width forms in ASCII order, as the CP932 literal table spells them; kana
    // and the full-width middle dot have none.
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
        EXPECT_EQ(std::string(c, 2), std::string(1, char(0x20 + i)) + '\0') << i;
    }
    char other[] = "\x82\xA0\x81\x45";  // "あ" and the middle dot
    EXPECT_EQ(ToHalfWidth(other) + ToHalfWidth(other + 2), 0);
    EXPECT_STREQ(other, "\x82\xA0\x81\x45");
}

}  // namespace
