// Files as the system names them: Windows text mode, backslash paths, names in any case and
// Shift-JIS names whose second byte is a backslash or a letter.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "host/file.h"
#include "host/open_files.h"
#include "host/sjis.h"
#include "host/sjis_literal.h"
#include "support/test_env.h"

namespace {

class HostFileTest : public NomaTest {
protected:
    std::string ReadAll(FILE* f) {
        std::string s;
        for (int c; (c = std::fgetc(f)) != EOF;)
            s += char(c);
        return s;
    }
    std::string ReadText(const char* name, const char* mode = "r") {
        FILE* f = HostFileOpen(name, mode);
        if (!f) return "<none>";
        std::string s = ReadAll(f);
        HostFileClose(f);
        return s;
    }
};

TEST_F(HostFileTest, TextModeReading) {
    const std::string raw =
        "one\r\ntwo\r\n\rthree\r\r\n\x1A"
        "after\r\n";
    WriteFile("a.txt", raw);
    EXPECT_EQ(ReadText("a.txt"), "one\ntwo\n\rthree\r\n");
    EXPECT_EQ(ReadText("a.txt", "rb"), raw);
    // A CR at the very end stays; so does a CR LF split across reads of the buffer.
    WriteFile("b.txt", "x\r");
    EXPECT_EQ(ReadText("b.txt"), "x\r");
    std::string long_line(8191, 'y');
    WriteFile("c.txt", long_line + "\r\nz");
    EXPECT_EQ(ReadText("c.txt"), long_line + "\nz");
    // Lines come out of fgets without their CR.
    WriteFile("d.txt", "KEY value\r\nNEXT 2\r\n");
    FILE* f = HostFileOpen("d.txt", "r+t");
    ASSERT_NE(f, nullptr);
    char line[64];
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "KEY value\n");
    // Positions count the characters read: ftell, fseek and the end agree with them.
    long second = std::ftell(f);
    EXPECT_EQ(second, 10);
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "NEXT 2\n");
    ASSERT_EQ(std::fseek(f, 0, SEEK_END), 0);
    EXPECT_EQ(std::ftell(f), 17);
    ASSERT_EQ(std::fseek(f, second, SEEK_SET), 0);
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "NEXT 2\n");
    std::rewind(f);
    ASSERT_NE(std::fgets(line, sizeof line, f), nullptr);
    EXPECT_STREQ(line, "KEY value\n");
    HostFileClose(f);
    // Reading only leaves the file as it was.
    EXPECT_EQ(ReadFile("d.txt"), "KEY value\r\nNEXT 2\r\n");
}

TEST_F(HostFileTest, TextModeWritingAndUpdating) {
    FILE* f = HostFileOpen("out.txt", "wt");
    ASSERT_NE(f, nullptr);
    std::fputs("first\nsecond\n", f);
    std::fprintf(f, "%d\n", 42);
    HostFileClose(f);
    EXPECT_EQ(ReadFile("out.txt"), "first\r\nsecond\r\n42\r\n");
    f = HostFileOpen("bin.dat", "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("raw\n", f);
    HostFileClose(f);
    EXPECT_EQ(ReadFile("bin.dat"), "raw\n");
    // Updating in place past a seek drops the end-of-file mark; appending reads the text first.
    WriteFile("u.txt", "abc\r\ndef\r\n\x1A");
    f = HostFileOpen("u.txt", "r+");
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(std::fseek(f, 4, SEEK_SET), 0);
    std::fputs("XY\nZZ\n", f);
    HostFileClose(f);
    EXPECT_EQ(ReadFile("u.txt"), "abc\r\nXY\r\nZZ\r\n");
    f = HostFileOpen("u.txt", "a+");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ReadAll(f), "abc\nXY\nZZ\n");
    std::fputs("end\n", f);
    HostFileClose(f);
    EXPECT_EQ(ReadFile("u.txt"), "abc\r\nXY\r\nZZ\r\nend\r\n");
    // Writing and reading back through text mode gives the text again.
    f = HostFileOpen("round.txt", "w+");
    ASSERT_NE(f, nullptr);
    std::fputs("a\nb\n", f);
    std::rewind(f);
    EXPECT_EQ(ReadAll(f), "a\nb\n");
    HostFileClose(f);
    EXPECT_EQ(HostFileOpen("missing.txt", "r"), nullptr);
    EXPECT_EQ(HostFileOpen("", "r"), nullptr);
    EXPECT_EQ(HostFileOpen("nofolder\\x.txt", "w"), nullptr);
}

TEST_F(HostFileTest, BackslashPathsInAnyCase) {
    std::filesystem::create_directories("Data/Sub");
    WriteFile("Data/Sub/File.TXT", "found");
    EXPECT_EQ(ReadText("Data\\Sub\\File.TXT", "rb"), "found");
    EXPECT_EQ(ReadText("DATA/SUB/FILE.txt", "rb"), "found");
    EXPECT_EQ(ReadText(".\\data\\.\\SUB\\file.TXT", "rb"), "found");
    EXPECT_EQ(HostResolvePath("data\\sub\\file.txt"), "Data/Sub/File.TXT");
    EXPECT_EQ(ReadText("data\\other\\file.txt", "rb"), "<none>");
    // A new file goes into the existing folder, under the name it was given.
    FILE* f = HostFileOpen("DATA\\sub\\New.res", "wb");
    ASSERT_NE(f, nullptr);
    HostFileClose(f);
    EXPECT_TRUE(std::filesystem::exists("Data/Sub/New.res"));
    EXPECT_EQ(HostResolvePath(""), "");
}

TEST_F(HostFileTest, ShiftJisNames) {
    // 表 is 0x95 0x5C: its second byte is a backslash that must stay part of the character.
    std::string table = "表"_sj;
    ASSERT_EQ(table, std::string("\x95\x5C"));
    std::filesystem::create_directories("表");
    WriteFile("表/中.txt", "table");
    EXPECT_EQ(ReadText((table + "\\" + "中"_sj + ".txt").c_str(), "rb"), "table");
    EXPECT_EQ(ReadText((table + "\\" + "中"_sj + ".TXT").c_str(), "rb"), "table");
    EXPECT_EQ(HostResolvePath((table + "\\x").c_str()), "表/x");
    // ア is 0x83 0x41: its second byte is the letter "A", which no case folding may touch.
    std::string a = "ア"_sj;
    ASSERT_EQ(a, std::string("\x83\x41"));
    std::string folded = SjisToUtf8(std::string("\x83\x61"));
    std::filesystem::create_directories("Dir");
    WriteFile("Dir/" + folded + ".txt", "other");
    EXPECT_EQ(ReadText(("dir\\" + a + ".txt").c_str(), "rb"), "<none>");
    WriteFile("Dir/ア.txt", "katakana");
    EXPECT_EQ(ReadText(("dir\\" + a + ".txt").c_str(), "rb"), "katakana");
    // Half-width katakana are single bytes and convert the same way.
    WriteFile("ｱｲ.dat", "half");
    EXPECT_EQ(ReadText("ｱｲ.DAT"_sj, "rb"), "half");
}

// The list of open streams: a closed stream leaves it at once, so a later stream at the same
// address is never counted or closed twice at the end.
TEST_F(HostFileTest, OpenStreamsAreCountedAndClosedOnce) {
    WriteFile("a.txt", "a");
    int before = HostOpenFileCount();
    FILE* text = HostFileOpen("a.txt", "r");
    FILE* binary = HostFileOpen("a.txt", "rb");
    ASSERT_TRUE(text && binary);
    EXPECT_EQ(HostOpenFileCount(), before + 2);
    EXPECT_EQ(HostFileClose(text), 0);
    EXPECT_EQ(HostOpenFileCount(), before + 1);
    FILE* again = HostFileOpen("a.txt", "w");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(HostOpenFileCount(), before + 2);
    EXPECT_EQ(HostFileOpen("missing.txt", "r"), nullptr);
    EXPECT_EQ(HostOpenFileCount(), before + 2);
    HostFileClose(binary);
    HostFileClose(again);
    EXPECT_EQ(HostOpenFileCount(), before);
}

}  // namespace
