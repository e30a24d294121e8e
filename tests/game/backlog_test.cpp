// The backlog view's top line: where it opens and how each scroll key moves it.
#include <gtest/gtest.h>

#include "game/backlog.h"

namespace {

TEST(Backlog, OpensAtTheEndOfTheLogOrAtLineOneWhenItFits) {
    EXPECT_EQ(backlog_open_top(10, 20), 1);
    EXPECT_EQ(backlog_open_top(20, 20), 0);  // equal: the log's end, which is line 0
    EXPECT_EQ(backlog_open_top(50, 20), 30);
}

TEST(Backlog, ScrollKeysMoveTheTopLine) {
    struct Case {
        int code, lines, visible, top, expected;
    };
    // 60 lines in a view of 20: the end of the log is top 40.
    const Case cases[] = {
        {6, 60, 20, 10, 11},  {4, 60, 20, 10, 11},   // Down, page-down code: one line
        {34, 60, 20, 10, 15}, {35, 60, 20, 10, 19},  // wheel down: 1 + 4, 1 + 4 + 4
        {6, 60, 20, 41, 41},                         // past the end: no move
        {6, 60, 20, 40, 41},                         // at the end: the test allows one more
        {34, 60, 20, 38, 43},  // 39, then 43: the test (40 > 34) may carry it past the end
        {34, 60, 20, 44, 44},  // well past the end: no move
        {35, 60, 20, 30, 39},  // 31, 35 (40 > 26), 39 (40 > 30)
        {35, 60, 20, 40, 45},  // 41, 45 (40 > 36), no more (40 > 40 fails)
        {5, 60, 20, 10, 9},   {3, 60, 20, 10, 9},   // Up: one line
        {32, 60, 20, 10, 6},  {33, 60, 20, 10, 6},  // wheel up: 9, 6; 33: 6 is not above 6
        {33, 60, 20, 20, 11},                       // 19, 16, 11
        {32, 60, 20, 5, 4},                         // 4 is not above 4: one line only
        {5, 60, 20, 1, 1},    {32, 60, 20, 0, 0},   // at the top: no move
        {13, 60, 20, 10, 10},                       // not a scroll key
    };
    for (const Case& c : cases)
        EXPECT_EQ(backlog_scroll(c.code, c.lines, c.visible, c.top), c.expected)
            << "code " << c.code << " top " << c.top;
}

TEST(Backlog, TheScrollKeysAreTheArrowsAndTheWheel) {
    for (int code : {3, 4, 5, 6, 32, 33, 34, 35})
        EXPECT_TRUE(is_backlog_key(code)) << code;
    for (int code : {2, 7, 13, 15, 31, 36, 65})
        EXPECT_FALSE(is_backlog_key(code)) << code;
}

}  // namespace
