#include "resource/lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/sjis_literal.h"
#include "support/test_env.h"

namespace {

class LinesTest : public NomaTest {};

TEST_F(LinesTest, ReadLineFileCountsLinesFromOne) {
    WriteFile("five.txt", "one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n");
    char out[kLineFileMaxLine + 1];
    EXPECT_STREQ(read_line_file("five.txt", out, 3), "three");
    EXPECT_STREQ(read_line_file("FIVE.TXT", out, 1), "one");
    EXPECT_STREQ(read_line_file("five.txt", out, 5), "five");
    EXPECT_EQ(read_line_file("five.txt", out, 6), nullptr);
    EXPECT_TRUE(Logged("read_line_file() error! five.txt (line 5 req 6)"));
    size_t lines = LogLines().size();
    EXPECT_EQ(read_line_file("five.txt", out, 0), nullptr);
    EXPECT_EQ(read_line_file("missing.txt", out, 1), nullptr);
    EXPECT_EQ(LogLines().size(), lines);
}

TEST_F(LinesTest, ReadLineFileAtTheFileEnd) {
    char out[kLineFileMaxLine + 1];
    WriteFile("open.txt", "first\nlast without newline");
    EXPECT_STREQ(read_line_file("open.txt", out, 2), "last without newline");
    EXPECT_EQ(read_line_file("open.txt", out, 3), nullptr);
    WriteFile("stop.txt", "first\nsecond\x1Ahidden\n");
    EXPECT_STREQ(read_line_file("stop.txt", out, 2), "second");
    EXPECT_EQ(read_line_file("stop.txt", out, 3), nullptr);
    WriteFile("empty.txt", "");
    EXPECT_EQ(read_line_file("empty.txt", out, 1), nullptr);
    EXPECT_TRUE(Logged("read_line_file() error! empty.txt (line 0 req 1)"));
    // A long line is read as several lines of 1023 bytes.
    WriteFile("long.txt", std::string(1500, 'x') + "\nnext\n");
    EXPECT_EQ(std::string(read_line_file("long.txt", out, 1)), std::string(1023, 'x'));
    EXPECT_EQ(std::string(read_line_file("long.txt", out, 2)), std::string(477, 'x'));
    EXPECT_STREQ(read_line_file("long.txt", out, 3), "next");
}

TEST_F(LinesTest, LineCopyStopsAtTheNewline) {
    char out[16] = "garbage";
    line_copy("ab\ncd", out);
    EXPECT_STREQ(out, "ab");
    line_copy("", out);
    EXPECT_STREQ(out, "");
    EXPECT_TRUE(Logged("line_copy()で改行がみつかりませんでした"_sj));
}

TEST_F(LinesTest, WholeFilesAreReadAsBytes) {
    const std::string content("a\r\nb\x1A\0c", 7);
    WriteFile("bytes.bin", content);
    ASSERT_EQ(FileSize("bytes.bin"), 7);
    std::vector<char> buffer(FileSize("bytes.bin") + 1, 'z');
    EXPECT_EQ(ReadWholeFile("bytes.bin", buffer.data()), 1);
    EXPECT_EQ(std::string(buffer.data(), 7), content);
    EXPECT_EQ(uint8_t(buffer[7]), 0xFF);

    char small[4];
    EXPECT_EQ(ReadWholeFile("bytes.bin", small, sizeof small), 1);
    EXPECT_EQ(std::string(small, 3), "a\r\n");
    EXPECT_EQ(uint8_t(small[3]), 0xFF);

    EXPECT_EQ(FileSize("missing.bin"), 0);
    EXPECT_EQ(ReadWholeFile("missing.bin", buffer.data()), 0);
    WriteFile("empty.bin", "");
    EXPECT_EQ(ReadWholeFile("empty.bin", buffer.data()), 1);
    EXPECT_EQ(uint8_t(buffer[0]), 0xFF);
}

TEST_F(LinesTest, FindListEntryTakesTheFirstPrefix) {
    char out[16];
    EXPECT_EQ(FindListEntry("ab12", "xy,ab,cd,", out), 1);
    EXPECT_STREQ(out, "ab");
    EXPECT_EQ(FindListEntry("ab12", "ab", out), 0);  // no comma: no entry
    EXPECT_EQ(FindListEntry("cd", "xy,ab,cd", out), 0);
    EXPECT_EQ(FindListEntry("abc", "a,ab,", out), 1);
    EXPECT_STREQ(out, "a");
    EXPECT_EQ(FindListEntry("zz", ",,zzz,", out), 0);  // empty entries match nothing
    EXPECT_EQ(FindListEntry("ab", "abc,", out), 0);
}

}  // namespace
