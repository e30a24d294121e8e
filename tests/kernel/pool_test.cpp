#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "kernel/pool.h"
#include "support/test_env.h"

namespace {

class PoolTest : public NomaTest {};

TEST_F(PoolTest, FirstAllocationsFollowTheMarks) {
    PoolMarks before = GetPoolMarks();
    EXPECT_EQ(before.base_line, 4096u * 28);
    EXPECT_EQ(before.relocate_line, before.base_line);
    Handle a = PoolAlloc(600);
    Handle b = PoolAlloc(40);
    EXPECT_EQ(a, 1u);  // the entry at the pool start
    EXPECT_EQ(b, 2u);
    PoolMarks after = GetPoolMarks();
    EXPECT_EQ(after.relocate_line - after.base_line, 640u);
    EXPECT_EQ(after.unrelocate_line, 2u * 28);
    EXPECT_EQ(handle_entry(a)->size, 600);
    MemoryCompaction();  // no gaps: nothing moves
    EXPECT_EQ(GetPoolMarks().relocate_line, after.relocate_line);
    EXPECT_TRUE(Logged("MemoryCompaction Call !!"));
}

TEST_F(PoolTest, HandlesSurviveTableGrowthAndCompaction) {
    UsePool(1 << 20, 64);
    std::vector<Handle> handles;
    for (int i = 0; i < 200; ++i) {
        Handle h = PoolAlloc(uint32_t(13 + i % 7));
        ASSERT_NE(h, 0u) << i;
        std::memset(handle_body(h), i & 0xFF, handle_entry(h)->size);
        handles.push_back(h);
    }
    EXPECT_GE(HandleTableEntries(), 200u);
    EXPECT_TRUE(Logged("base line up 50"));
    MemoryCompaction();
    for (int i = 0; i < 200; ++i) {
        uint8_t* body = handle_body(handles[i]);
        ASSERT_NE(body, nullptr);
        for (int k = 0; k < 13 + i % 7; ++k) ASSERT_EQ(body[k], i & 0xFF) << i;
    }
}

TEST_F(PoolTest, FullDataAreaReturnsEmptyAndKeepsTheEntryFree) {
    UsePool(4096, 16);  // 448 bytes of table, the rest data
    Handle big = PoolAlloc(3000);
    ASSERT_NE(big, 0u);
    EXPECT_EQ(PoolAlloc(1000), 0u);
    // The unrelocate line is still below the base line: the next entry is taken from there.
    EXPECT_EQ(PoolAlloc(10), 3u);
    for (Handle h = 4; h <= 16; ++h) ASSERT_EQ(PoolAlloc(1), h);
    // The table is used up: the search from the start finds the entry left free.
    EXPECT_EQ(PoolAlloc(1), 2u);
}

TEST_F(PoolTest, BadHandlesReachNothing) {
    EXPECT_EQ(handle_entry(0), nullptr);
    EXPECT_EQ(handle_entry(12345678), nullptr);
    EXPECT_EQ(handle_body(5), nullptr);  // never handed out
}

}  // namespace
