#include "resource/compute.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/sjis_literal.h"
#include "resource_fixture.h"

namespace {

class ComputeTest : public ResourceTest {
protected:
    void SetUp() override {
        ResourceTest::SetUp();
        Handle r = CreateResource(0, "player.res", "Player");
        for (const char* name : {"a", "b", "n", "x", "y", "lim", "ポイント"_sj})
            CreateItem(r, name, ITEMlong, 0);
        CreateItem(r, "s", ITEMstring, 16);
        SetLimit(r, "lim", 100, 0);
        player_ = CreateRecord(r, 1, 0);
        Handle other = CreateRecord(r, 2, 0);
        SetNum(other, "n", 2);
        SetNum(other, "x", 40);
    }

    int Compute(const char* text) { return ComputeRecordCopy(player_, text); }
    int Compare(const char* text) { return CompareRecordCopy(player_, text); }
    int32_t Num(const char* name) { return GetNum(player_, name); }

    Handle player_ = 0;
};

TEST_F(ComputeTest, StatementsRunLeftToRightWithBracketsFirst) {
    // Arithmetic and compound assignments (b is 7, y is INT_MIN); division by zero gives 0 and
    // leaves the dividend as the remainder, INT_MIN / -1 does not trap; empty statements do
    // nothing; an unresolved name reads as -1; limits hold under the steps; a name path reaches
    // another record; the trail byte of "ポ" is "|".
    std::vector<std::string> cases = {
        "a=2+3*4 -> 20",   "a=((1+2)*(3+4)) -> 21", "a=10-2-3 -> 5",
        "a=0-7/2 -> -3",   "a=0-7%3 -> -1",         "a=12abc+1 -> 13",
        "a = 1 +\t2 -> 3", "a=b*(b+1) -> 56",       "a=10;a+=5;a-- -> 14"};
    cases.insert(cases.end(),
                 {"a=2147483647+1 -> -2147483648", "a=2;a*=3;a|=8;a++;a-=1+1 -> 13", "a=5/0 -> 0",
                  "a=5;a%=0 -> 5", "a=y;a/=0-1 -> -2147483648", "a=y;a%=0-1 -> 0", "a=1;;a=2; -> 2",
                  "nothing=5;a=nothing -> -1", "lim=99;lim++;lim++;a=lim -> 100",
                  "lim=0;lim--;a=lim -> 0", "a=.n:2.x+1 -> 41"});
    cases.push_back(".n:2.x+=5;a=.n:2.x -> 45");
    cases.push_back("ポイント=5;ポイント+=2;a=ポイント -> 7"_sj);
    for (const std::string& c : cases) {
        size_t arrow = c.find(" -> ");
        SetNum(player_, "b", 7);
        SetNum(player_, "y", -2147483647 - 1);
        EXPECT_NE(Compute(c.substr(0, arrow).c_str()), 0) << c;
        EXPECT_EQ(Num("a"), std::stol(c.substr(arrow + 4))) << c;
    }
    EXPECT_TRUE(Logged("Compute compute() zero divide! 5/0"));
    EXPECT_EQ(Compute("a=5;\na=9"), 5);  // the newline ends the text, at position 4
    EXPECT_EQ(Num("a"), 5);
}

TEST_F(ComputeTest, StringItemsTakeTheTextUnevaluatedAndFailuresStopTheStatements) {
    EXPECT_NE(Compute("s=hello world;n=1"), 0);
    EXPECT_STREQ(GetStr(player_, "s"), "helloworld");
    Compute("s=1+2");
    EXPECT_STREQ(GetStr(player_, "s"), "1+2");
    // Only "=" assigns a string item; the statements before a failing one take effect.
    testing::internal::CaptureStdout();
    EXPECT_EQ(Compute("s+=x;n=5"), 0);
    EXPECT_EQ(Compute("a=1;b>2;n=5"), 0);
    EXPECT_EQ(Compute("a"), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // the log has them, not stdout
    ExpectLogged({"Compute error! -+=x;n=5-", "Compute error! -;n=5-", "Compute error! --"});
    EXPECT_EQ(Num("n"), 1);
    EXPECT_EQ(Compute("a=(1+2"), 0);
    EXPECT_EQ(Compute("a=3)+1"), 0);
    EXPECT_EQ(Num("a"), 1);
    ExpectLogged({"FORM文字列演算 sに-helloworld-をCOPY"_sj, "ComputeRecord() brackets() error",
                  "Compute compute() error!"});
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
    EXPECT_EQ(ComputeRecord(player_, nullptr), 0);
}

TEST_F(ComputeTest, ConditionsCompareTwoExpressionsAndCombineLeftToRight) {
    // x is 5, y and n are 0. A comparison without a relation is false; of two connectives in
    // a row the second counts; there is no precedence.
    SetNum(player_, "x", 5);
    std::vector<std::string> cases = {"x==5 -> 1",     "x!=5 -> 0",     "x>=5 -> 1", "x<=4 -> 0",
                                      "x>4 -> 1",      "x<5 -> 0",      "x=5 -> 0",  "x!4 -> 0",
                                      "x==(1+4) -> 1", "x+1==2*3 -> 1", "x -> 0",    " -> 0"};
    cases.insert(cases.end(),
                 {"x==4;5 -> 1", "x==5&&y==0 -> 1", "x==5&&y==5 -> 0", "x==5&y==5 -> 0",
                  "x==4||y==0 -> 1", "x==4|y==0 -> 1", "x==5&|y==5 -> 1", "x==4|&y==0 -> 0",
                  "x||y==0 -> 1", "y==0&&x -> 0", "x==5&& -> 1"});
    cases.insert(cases.end(), {"x==5||y==5&&n==1 -> 0", "n==1&&y==5||x==5 -> 1"});
    cases.push_back("ポイント==0 -> 1"_sj);
    for (const std::string& c : cases) {
        size_t arrow = c.find(" -> ");
        EXPECT_EQ(Compare(c.substr(0, arrow).c_str()), c[arrow + 4] - '0') << c;
    }
    EXPECT_TRUE(Logged("論理演算　||"_sj));
    EXPECT_EQ(Compare("x==(1+4"), 0);
    EXPECT_TRUE(Logged("CompareRecord() brackets() error"));
}

}  // namespace
