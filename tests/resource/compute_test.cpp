#include "resource/compute.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/sjis_literal.h"
#include "resource/resource.h"
#include "support/test_env.h"

namespace {

class ComputeTest : public NomaTest {
protected:
    void SetUp() override {
        NomaTest::SetUp();
        ASSERT_TRUE(CreateSystemResources());
        Handle r = CreateResource(0, "player.res", "Player");
        for (const char* name : {"a", "b", "n", "x", "y", "lim", "ポイント"_sj})
            CreateItem(r, name, ITEMlong, 0);
        CreateItem(r, "s", ITEMstring, 16);
        SetLimit(r, "lim", 100, 0);
        player_ = CreateRecord(r, 1, 0);
        Handle other = CreateRecord(r, 2, 0);
        SetNum(other, "n", 2);
        SetNum(other, "x", 40);

        Handle chars = CreateResource(0, "CHARS", "Chars");
        CreateItem(chars, "number", ITEMlong, 0);
        CreateItem(chars, "名前"_sj, ITEMstring, 16);
        CreateItem(chars, "hp", ITEMlong, 0);
        AddCharacter(chars, 3, "太郎"_sj, 50);
        AddCharacter(chars, 4, "花子"_sj, 70);
    }

    void AddCharacter(Handle chars, int number, const char* name, int hp) {
        Handle c = CreateRecord(chars, -1, 0);
        SetNum(c, "number", number);
        SetStr(c, "名前"_sj, name);
        SetNum(c, "hp", hp);
    }

    int Compute(const char* text) { return ComputeRecordCopy(player_, text); }
    int Compare(const char* text) { return CompareRecordCopy(player_, text); }
    int32_t Num(const char* name) { return GetNum(player_, name); }

    Handle player_ = 0;
};

TEST_F(ComputeTest, ArithmeticRunsLeftToRightWithBracketsFirst) {
    struct Case {
        const char* text;
        int32_t a;
    } cases[] = {
        {"a=2+3*4", 20},         {"a=2+(3*4)", 14}, {"a=0-5", -5},
        {"a=((1+2)*(3+4))", 21}, {"a=10-2-3", 5},   {"a=0-7/2", -3},
        {"a=0-7%3", -1},         {"a=12abc+1", 13}, {"a=2147483647+1", -2147483647 - 1},
        {"a = 1 +\t2", 3},       {"a=(b)+1", 8},    {"a=b*(b+1)", 56},
    };
    SetNum(player_, "b", 7);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_NE(Compute(c.text), 0);
        EXPECT_EQ(Num("a"), c.a);
    }
}

TEST_F(ComputeTest, CompoundAssignmentsAndSteps) {
    EXPECT_NE(Compute("a=10;a+=5;a--"), 0);
    EXPECT_EQ(Num("a"), 14);
    Compute("a/=3");
    EXPECT_EQ(Num("a"), 4);
    Compute("a=14;a%=4");
    EXPECT_EQ(Num("a"), 2);
    Compute("a*=3;a|=8;a++;a-=1+1");
    EXPECT_EQ(Num("a"), 13);
    // Empty statements do nothing; a newline where a statement would begin ends the text.
    EXPECT_NE(Compute("a=1;;b=2;"), 0);
    EXPECT_EQ(Num("b"), 2);
    Compute("a=5;\nb=9");
    EXPECT_EQ(Num("a"), 5);
    EXPECT_EQ(Num("b"), 2);
    // The limits of a limited item hold under the steps.
    Compute("lim=99;lim++;lim++");
    EXPECT_EQ(Num("lim"), 100);
    Compute("lim=0;lim--");
    EXPECT_EQ(Num("lim"), 0);
}

TEST_F(ComputeTest, DivisionByZeroIsDefined) {
    Compute("a=5/0");
    EXPECT_EQ(Num("a"), 0);
    Compute("a=5;a%=0");
    EXPECT_EQ(Num("a"), 5);
    Compute("a=5;a/=b-b");
    EXPECT_EQ(Num("a"), 0);
    EXPECT_TRUE(Logged("Compute compute() zero divide! 5/0"));
    Compute("a=0-2147483647-1;a/=0-1");
    EXPECT_EQ(Num("a"), -2147483647 - 1);
    Compute("a=0-2147483647-1;a%=0-1");
    EXPECT_EQ(Num("a"), 0);
}

TEST_F(ComputeTest, StringItemsTakeTheTextUnevaluated) {
    EXPECT_NE(Compute("s=hello world;n=1"), 0);
    EXPECT_STREQ(GetStr(player_, "s"), "helloworld");
    EXPECT_EQ(Num("n"), 1);
    EXPECT_TRUE(Logged("FORM文字列演算 sに-helloworld-をCOPY"_sj));
    EXPECT_TRUE(Logged("FORM文字列演算 -=helloworld;n=1-を入れます"_sj));
    Compute("s=1+2");
    EXPECT_STREQ(GetStr(player_, "s"), "1+2");
    // Only "=" assigns a string item.
    EXPECT_EQ(Compute("s+=x;n=5"), 0);
    EXPECT_EQ(Num("n"), 1);
}

TEST_F(ComputeTest, FailuresStopTheStatements) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(Compute("a=1;b>2;n=5"), 0);
    EXPECT_EQ(Compute("a"), 0);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Compute error! -;n=5-\nCompute error! --\n");
    EXPECT_EQ(Num("a"), 1);
    EXPECT_EQ(Num("n"), 0);

    EXPECT_EQ(Compute("a=(1+2"), 0);
    EXPECT_TRUE(Logged("ComputeRecord() brackets() error"));
    EXPECT_EQ(Compute("a=3)+1"), 0);
    EXPECT_TRUE(Logged("Compute compute() error!"));
    EXPECT_EQ(Num("a"), 1);
    // A name that does not resolve reads as -1 and is not stored.
    EXPECT_NE(Compute("nothing=5;a=nothing"), 0);
    EXPECT_EQ(Num("a"), -1);
}

TEST_F(ComputeTest, NamePathsReachOtherRecords) {
    // A record of the same resource by key, then records of another resource.
    EXPECT_NE(Compute("a=.n:2.x+1"), 0);
    EXPECT_EQ(Num("a"), 41);
    EXPECT_NE(Compute("a=.CHARS:Chars.number:3.hp+1"), 0);
    EXPECT_EQ(Num("a"), 51);
    Compute(".CHARS:Chars.number:4.hp+=5");
    EXPECT_EQ(Num(".CHARS:Chars.number:4.hp"), 75);
    EXPECT_NE(Compute("b=.CHARS:Chars.名前:花子.hp"_sj), 0);
    EXPECT_EQ(Num("b"), 75);
    EXPECT_EQ(Compare(".CHARS:Chars.名前:太郎.hp<.CHARS:Chars.number:4.hp"_sj), 1);
    // The trail byte of ポ is "|": it stays part of the name.
    EXPECT_NE(Compute("ポイント=5;ポイント+=2"_sj), 0);
    EXPECT_EQ(Num("ポイント"_sj), 7);
    EXPECT_EQ(Compare("ポイント==7"_sj), 1);
}

TEST_F(ComputeTest, InPlaceTextStaysInsideTheBuffer) {
    SetNum(player_, "b", 1234567);
    // "(b)" is shorter than its value: the rewritten text is cut to the buffer.
    std::vector<char> exact(std::begin("a = (b)"), std::end("a = (b)"));
    EXPECT_NE(ComputeRecord(player_, exact.data()), 0);
    EXPECT_EQ(Num("a"), 1234567);
    EXPECT_STREQ(exact.data(), "a=12345");

    char roomy[32] = "a = (b) + 1";
    EXPECT_NE(ComputeRecord(player_, roomy, sizeof roomy), 0);
    EXPECT_STREQ(roomy, "a=1234567+1");
    char condition[32] = "a == (b+1)";
    EXPECT_EQ(CompareRecord(player_, condition, sizeof condition), 1);
    EXPECT_STREQ(condition, "a==1234568");

    const char* constant = "a = 1";
    EXPECT_NE(ComputeRecordCopy(player_, constant), 0);
    EXPECT_STREQ(constant, "a = 1");
    EXPECT_EQ(ComputeRecord(player_, nullptr), 0);
}

TEST_F(ComputeTest, RelationsCompareTwoExpressions) {
    SetNum(player_, "x", 5);
    struct Case {
        const char* text;
        int result;
    } cases[] = {
        {"x==5", 1}, {"x!=5", 0}, {"x!=4", 1},   {"x>=5", 1},   {"x<=4", 0},     {"x>4", 1},
        {"x<6", 1},  {"x<5", 0},  {"x=5", 0},    {"x!5", 0},    {"x==(1+4)", 1}, {"x+1==2*3", 1},
        {"x", 0},    {"", 0},     {"x==4;5", 1}, {"x == 5", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Compare(c.text), c.result);
    }
    EXPECT_EQ(Compare("x==(1+4"), 0);
    EXPECT_TRUE(Logged("CompareRecord() brackets() error"));
}

TEST_F(ComputeTest, ConnectivesCombineLeftToRight) {
    for (int x = 0; x <= 5; x += 5) {
        for (int y = 0; y <= 5; y += 5) {
            SetNum(player_, "x", x);
            SetNum(player_, "y", y);
            EXPECT_EQ(Compare("x>=3&&y<2"), int(x >= 3 && y < 2));
            EXPECT_EQ(Compare("x>=3&y<2"), int(x >= 3 && y < 2));
            EXPECT_EQ(Compare("x==5||y==5"), int(x == 5 || y == 5));
            EXPECT_EQ(Compare("x==5|y==5"), int(x == 5 || y == 5));
            EXPECT_EQ(Compare("x==5&|y==5"), int(x == 5 || y == 5));  // the second one decides
        }
    }
    // No precedence: (x==5 || y==5) && n==1.
    SetNum(player_, "x", 5);
    SetNum(player_, "y", 0);
    SetNum(player_, "n", 0);
    EXPECT_EQ(Compare("x==5||y==5&&n==1"), 0);
    EXPECT_EQ(Compare("n==1&&y==5||x==5"), 1);
    EXPECT_TRUE(Logged("論理演算　||"_sj));
    // A comparison without a relation is false and the others still count.
    EXPECT_EQ(Compare("x||y==0"), 1);
    EXPECT_EQ(Compare("y==0&&x"), 0);
    EXPECT_EQ(Compare("x==5&&"), 1);
}

}  // namespace
