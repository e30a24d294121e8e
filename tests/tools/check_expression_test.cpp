// The checker's reading of Compute texts: what parses, what does not and why, and the names it
// hands on for the item check.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "kit/boot.h"
#include "tools/nomatool/check_expression.h"

namespace {

struct Case {
    Case(std::string t, std::string p, std::vector<std::string> n = {},
         std::vector<std::string> g = {})
        : text(std::move(t)), problem(std::move(p)), names(std::move(n)), gsys(std::move(g)) {}
    std::string text;
    std::string problem;  // a part of the expected message; empty: the text parses
    std::vector<std::string> names;
    std::vector<std::string> gsys;
};

void Expect(const Case& c, const ExpressionCheck& got) {
    if (c.problem.empty()) {
        EXPECT_EQ(got.problem, "") << c.text;
    } else {
        EXPECT_NE(got.problem.find(c.problem), std::string::npos)
            << c.text << " gave \"" << got.problem << "\"";
    }
    if (c.problem.empty()) {
        // Names inside brackets are read first: the order does not matter to the item check.
        std::vector<std::string> names = got.names, expected = c.names;
        std::sort(names.begin(), names.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names, expected) << c.text;
        EXPECT_EQ(got.gsys, c.gsys) << c.text;
    }
}

TEST(CheckExpression, Conditions) {
    const Case cases[] = {
        {"count==1", "", {"count"}, {}},
        {"a >= 3 && b<2", "", {"a", "b"}, {}},
        {"x==1||y!=1|z<=2&w>0", "", {"x", "y", "z", "w"}, {}},
        {"x==(1+(y*2))", "", {"x", "y"}, {}},
        {"x==.gsys.now_sheet", "", {"x"}, {"now_sheet"}},
        {".gsys;day>.gsys.month+1", "", {}, {"day", "month"}},
        {"mode==2&&name[1]>0", "", {"mode", "name[1]"}, {}},
        {Sj("場所==1"), "", {Sj("場所")}, {}},
        {"", "empty condition"},
        {"x=1", "'=' alone is no comparison"},
        {"x!1", "'!' alone is no comparison"},
        {"x", "comparison without a relation"},
        {"x+1", "comparison without a relation"},
        {"x==(1+2", "'(' without ')'"},
        {"x==1+2)", "')' without '('"},
        {"x==(y>1)", "only an arithmetic expression may stand in brackets"},
        {"x==-1", "there is no minus sign"},
        {"x==1&&", "ends with a connective"},
        {"x==1==2", "expected && or ||"},
        {"x==12ab", "'12ab' is neither a number nor a name"},
        {"x==1;y==2", "expected && or ||"},
        {"x==.gsys", "\".gsys\" without an item name"},
    };
    for (const Case& c : cases)
        Expect(c, CheckCondition(c.text));
}

TEST(CheckExpression, Statements) {
    auto is_string = [](const std::string& name) { return name == "s" || name == ".x.s"; };
    const Case cases[] = {
        {"a=1;b+=2;c--", "", {"a", "b", "c"}, {}},
        {";;a=2+3*4;", "", {"a"}, {}},
        {"a=(1+b)*3;d|=4;e%=2;f++", "", {"a", "b", "d", "e", "f"}, {}},
        {"s=hello world;n=1", "", {"s", "n"}, {}},
        {".x.s=text", "", {".x.s"}, {}},
        {"a=.gsys.now_sheet", "", {"a"}, {"now_sheet"}},
        {"a=1\n", "", {"a"}, {}},
        {"a", "no assignment to a"},
        {"a>1", "'>' is no assignment operator"},
        {"a+", "write '+='"},
        {"a+=", "missing operand before the end"},
        {"=1", "statement without an item name"},
        {"1=2", "a number cannot be assigned"},
        {"s+=1", "s is a string item"},
        {"a=1>2", "expected ';' after the value of a"},
        {"a++1", "expected ';' after a++"},
        {"a=1;\nb=2", "after a line break is never run"},
        {"a=1\nb=2", "a line break inside an expression"},
        {"a=b#c", "", {"a", "b#c"}, {}},  // '#' is an ordinary name character
        {"a=1&b", "expected ';' after the value of a"},
        {"a=(1", "'(' without ')'"},
    };
    for (const Case& c : cases)
        Expect(c, CheckStatements(c.text, is_string));
}

// What each statement reads decides which items can steer the story.
TEST(CheckExpression, AssignmentsNameWhatTheyRead) {
    using Assignments = std::vector<std::pair<std::string, std::vector<std::string>>>;
    auto none = [](const std::string&) { return false; };
    EXPECT_EQ(CheckStatements("a=b+c;d++;e-=f*2", none).assignments,
              (Assignments{{"a", {"b", "c"}}, {"d", {}}, {"e", {"f"}}}));
    // A bracket's value is worked out first: every statement may have read it.
    EXPECT_EQ(CheckStatements("a=(x+1);b=2", none).assignments,
              (Assignments{{"a", {"x"}}, {"b", {"x"}}}));
    EXPECT_EQ(
        CheckStatements("s=text;n=m", [](const std::string& n) { return n == "s"; }).assignments,
        (Assignments{{"s", {}}, {"n", {"m"}}}));
}

}  // namespace
