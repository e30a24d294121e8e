// Records: numbers, reuse, chain order, removal, moves, counts and the chain check.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/sjis_literal.h"
#include "kernel/task_record.h"
#include "resource/resource.h"
#include "resource_fixture.h"

namespace {

using Handles = std::vector<Handle>;

TEST_F(ResourceTest, NumberedRecordIsReturnedAgainEvenWhenInactive) {
    Handle r = CreateResource(0, "n.res", "N");
    Handle five = CreateRecord(r, 5, 16);
    ASSERT_NE(five, 0u);
    EXPECT_EQ(CreateRecord(r, 5, 16), five);
    EXPECT_EQ(DeactivateRecord(0, r, five), 0);
    EXPECT_EQ(CreateRecord(r, 5, 99), five);
    EXPECT_TRUE(handle_entry(five)->flags & RECORD_INACTIVE);  // returned unchanged
    EXPECT_EQ(search_record(r, 5), five);                      // found, active or not
    EXPECT_EQ(SelectRecord(0, r, 5), 0u);                      // but never selected
    EXPECT_EQ(Chain(r), Handles({five}));
}

TEST_F(ResourceTest, HeaderAndCountersOfANewRecord) {
    Handle r = CreateResource(0, "h.res", "H");
    uint32_t records = g_resource_chain.record_count, bytes = g_resource_chain.record_bytes;
    Handle a = CreateRecord(r, 7, 40);
    HandleEntry* e = handle_entry(a);
    EXPECT_EQ(e->number, 7);
    EXPECT_EQ(e->flags, 0);
    EXPECT_EQ(e->size, 40);
    EXPECT_EQ(e->owner, r);
    EXPECT_EQ(std::memcmp(e->mark, "  \0", 3), 0);
    EXPECT_EQ(record_body(a)[40], 0);  // the spare byte
    ResourceAttr* attr = resource_attr(r);
    EXPECT_EQ(attr->record_count, 1);
    EXPECT_EQ(attr->active_count, 1);
    EXPECT_EQ(attr->active_bytes, 40u);
    EXPECT_EQ(g_resource_chain.record_count, records + 1);
    EXPECT_EQ(g_resource_chain.record_bytes, bytes + 40);

    // A resource with items gives every record its record size, whatever is asked.
    Handle items = MakeASB();
    Handle b = CreateRecord(items, -1, 3);
    EXPECT_EQ(handle_entry(b)->size, 18);
}

TEST_F(ResourceTest, ReuseTakesTheFirstInactiveRecordOfTheSizeToTheEnd) {
    Handle r = CreateResource(0, "reuse.res", "R");
    Handle a = CreateRecord(r, 1, 40);
    Handle b = CreateRecord(r, 2, 30);
    Handle c = CreateRecord(r, 3, 40);
    Handle d = CreateRecord(r, -1, 40);
    std::memset(record_body(a), 0xAB, 40);
    DeactivateRecord(0, r, c);
    DeactivateRecord(0, r, a);
    EXPECT_EQ(RecordCount(r), 2);
    EXPECT_EQ(Active(r), Handles({b, d}));
    EXPECT_EQ(g_resource_chain.deactivated_bytes, 80u);

    // a comes first in the chain: it is the one taken, with its number and body.
    EXPECT_EQ(CreateRecord(r, -1, 40), a);
    EXPECT_EQ(handle_entry(a)->number, 1);
    EXPECT_EQ(record_body(a)[39], 0xAB);
    EXPECT_EQ(Chain(r), Handles({b, c, d, a}));
    EXPECT_EQ(resource_attr(r)->active_bytes, 30u + 40 + 40);
    EXPECT_EQ(CreateRecord(r, -1, 40), c);
    EXPECT_EQ(Chain(r), Handles({b, d, a, c}));
    // Nothing inactive: a new record.
    Handle e = CreateRecord(r, -1, 40);
    EXPECT_EQ(Chain(r).back(), e);
    EXPECT_EQ(resource_attr(r)->record_count, 5);
}

TEST_F(ResourceTest, ReuseWithoutARecordOfTheSizeLogsAndCreates) {
    Handle r = CreateResource(0, "miss.res", "M");
    Handle a = CreateRecord(r, -1, 40);
    CreateRecord(r, -1, 40);
    DeactivateRecord(0, r, a);
    Handle n = CreateRecord(r, -1, 24);
    EXPECT_NE(n, a);
    EXPECT_TRUE(Logged(std::string("ﾘｿｰｽ活性化ｴﾗｰ   active_resource()"_sj)));
    EXPECT_TRUE(Logged("     all/active   2/1"));
    EXPECT_TRUE(Logged(std::string("           ﾘｿｰｽ･ﾁｪｰﾝに異常があります。"_sj)));
    EXPECT_EQ(resource_attr(r)->record_count, 3);
}

TEST_F(ResourceTest, RemoveUnlinksAndMoveReordersTheChain) {
    Handle r = CreateResource(0, "chain.res", "C");
    Handles h;
    for (int i = 1; i <= 5; ++i)
        h.push_back(CreateRecord(r, i * 10, 8));
    EXPECT_EQ(RemoveRecord(0, r, h[0]), 0);  // the first
    EXPECT_EQ(RemoveRecord(0, r, h[4]), 0);  // the last
    EXPECT_EQ(RemoveRecord(0, r, h[2]), 0);  // the middle
    EXPECT_EQ(Chain(r), Handles({h[1], h[3]}));
    EXPECT_EQ(resource_attr(r)->record_count, 2);
    EXPECT_EQ(resource_attr(r)->active_count, 2);
    EXPECT_EQ(CheckRecordChain(r), 0);
    EXPECT_EQ(search_record(r, 30), 0u);     // removed for good
    EXPECT_EQ(RemoveRecord(0, r, h[2]), 0);  // a second removal unlinks nothing
    EXPECT_EQ(Chain(r), Handles({h[1], h[3]}));
    EXPECT_EQ(resource_attr(r)->record_count, 2);
    // A removed number can be created anew.
    Handle again = CreateRecord(r, 30, 8);
    EXPECT_NE(again, h[2]);
    EXPECT_EQ(search_record(r, 30), again);

    EXPECT_EQ(MoveRecordBefore(h[1], again), 1);  // becomes first
    EXPECT_EQ(Chain(r), Handles({again, h[1], h[3]}));
    EXPECT_EQ(MoveRecordBefore(h[3], again), 1);
    EXPECT_EQ(Chain(r), Handles({h[1], again, h[3]}));
    EXPECT_EQ(MoveRecordBefore(h[1], h[3]), 1);  // the last becomes first
    EXPECT_EQ(Chain(r), Handles({h[3], h[1], again}));
    EXPECT_EQ(resource_attr(r)->last_record, again);
    EXPECT_EQ(CheckRecordChain(r), 0);
    EXPECT_EQ(RecordIndex(r, h[1]), 2);
    EXPECT_EQ(RecordIndex(r, h[0]), 0);
    DeactivateRecord(0, r, h[3]);
    EXPECT_EQ(RecordIndex(r, h[1]), 1);
    EXPECT_EQ(RecordIndex(r, h[3]), 0);
    // Records of another resource are left where they are.
    Handle other = CreateRecord(CreateResource(0, "other.res", "O"), 1, 8);
    EXPECT_EQ(MoveRecordBefore(h[1], other), 1);
    EXPECT_EQ(Chain(r), Handles({h[3], h[1], again}));
}

TEST_F(ResourceTest, SelectRecordSetsTheTaskFields) {
    Handle task = CreateRecord(g_resources.task, 40, sizeof(TaskRecord));
    Handle r = CreateResource(0, "sel.res", "S");
    Handle a = CreateRecord(r, 3, 8);
    EXPECT_EQ(SelectRecord(task, r, 3), a);
    EXPECT_EQ(task_record(task)->last_opened_resource, r);
    EXPECT_EQ(task_record(task)->last_selected_record, a);
    Handle other = CreateResource(0, "other.res", "O");
    EXPECT_EQ(SelectRecord(task, other, 3), 0u);
    EXPECT_EQ(task_record(task)->last_opened_resource, other);
    EXPECT_EQ(task_record(task)->last_selected_record, a);
}

TEST_F(ResourceTest, NumberLimitsAndWarningsUnderResouceTest) {
    WriteFile("SYSTEM.msg", std::string(81, '\n') + "msg82\n");
    Handle r = CreateResource(0, "lim.res", "L");
    EXPECT_NE(CreateRecord(r, 70000, 8), 0u);  // accepted without the flag
    EXPECT_NE(CreateRecord(r, -7, 8), 0u);
    SetSystemFlag(FLAG_RESOUCE_TEST);
    EXPECT_EQ(CreateRecord(r, 65537, 8), 0u);
    EXPECT_EQ(CreateRecord(r, -2, 8), 0u);
    EXPECT_TRUE(Logged("msg82"));
    EXPECT_TRUE(Logged("lim.res"));
    EXPECT_NE(CreateRecord(r, 65536, 8), 0u);
    Handle zero = CreateRecord(r, 0, 8);
    EXPECT_EQ(CreateRecord(r, 0, 8), zero);
    EXPECT_TRUE(Logged(std::string("CreateRecord()で既存のﾘｿｰｽが呼ばれました"_sj)));
    EXPECT_TRUE(Logged("    L:lim.res  number 0"));
    EXPECT_TRUE(Logged(std::string("search_record でnumber 0を指定しました(warrning)"_sj)));
    // Bodies have at most 65,534 bytes (the block also holds the spare byte).
    EXPECT_EQ(CreateRecord(r, -1, 65535), 0u);
    EXPECT_EQ(CreateRecord(r, -1, 0xFFFFFFFFu), 0u);
}

TEST_F(ResourceTest, ChainCheckFindsBrokenLinks) {
    Handle r = CreateResource(0, "check.res", "C");
    EXPECT_EQ(CheckRecordChain(r), 0);  // empty
    Handle a = CreateRecord(r, 1, 8);
    Handle b = CreateRecord(r, 2, 8);
    CreateRecord(r, 3, 8);
    EXPECT_EQ(CheckRecordChain(r), 0);
    handle_entry(b)->prev = 0;  // the backward walk now stops early
    EXPECT_EQ(CheckRecordChain(r), 1);
    EXPECT_TRUE(Logged(std::string("ﾙｰﾌﾟ･ﾁｪｯｸ error 3/2"_sj)));
    handle_entry(b)->prev = a;
    handle_entry(b)->next = a;  // a loop: the walk stops at its limit
    EXPECT_EQ(CheckRecordChain(r), 1);
    SetSystemFlag(FLAG_RESOUCE_TEST);
    handle_entry(b)->next = search_record(r, 3);
    EXPECT_EQ(CheckRecordChain(r), 0);
    EXPECT_TRUE(Logged(std::string("ﾙｰﾌﾟ･ﾁｪｯｸ  RESOUCE check.res 3/3"_sj)));
}

TEST_F(ResourceTest, ForgetRecordIndexFollowsAReplacedChain) {
    Handle r = CreateResource(0, "reload.res", "R");
    for (int i = 1; i <= 4; ++i)
        CreateRecord(r, i, 8);
    // A reader replaces the chain and the names by hand, then tells the indexes.
    ResourceAttr* attr = resource_attr(r);
    attr->first_record = attr->last_record = 0;
    attr->record_count = attr->active_count = 0;
    std::strcpy(attr->name, "renamed.res");
    ForgetRecordIndex(r);
    EXPECT_EQ(search_record(r, 2), 0u);
    EXPECT_EQ(FindResource("reload.res", "R"), 0u);
    EXPECT_EQ(FindResource("renamed.res", "R"), r);
    Handle fresh = CreateRecord(r, 2, 8);
    EXPECT_EQ(search_record(r, 2), fresh);
    EXPECT_EQ(Chain(r), Handles({fresh}));
}

}  // namespace
