// Resources: creation, the system chain, names, the system resources and their log lines.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/sjis_literal.h"
#include "kernel/task_record.h"
#include "resource/resource.h"
#include "resource_fixture.h"

namespace {

std::string S(const char* s) {
    return std::string(s);
}

TEST_F(ResourceTest, SystemResourcesInTheirOrderWithTheGroupNoma) {
    const char* names[] = {"Group", "Window", "Object", "Graphic VRAM", "Code", "Event",
                           "Task",  "Font",   "Menu",   "GC",           "Text", "Item"};
    Handle expected[] = {g_resources.group,        g_resources.window, g_resources.object,
                         g_resources.graphic_vram, g_resources.code,   g_resources.event,
                         g_resources.task,         g_resources.font,   g_resources.menu,
                         g_resources.gc,           g_resources.text,   g_resources.item};
    // The chain holds them in creation order, linked both ways.
    Handle r = g_resource_chain.first;
    Handle prev = 0;
    for (int i = 0; i < 12; ++i) {
        ResourceAttr* attr = resource_attr(r);
        ASSERT_NE(attr, nullptr) << i;
        EXPECT_EQ(r, expected[i]);
        EXPECT_STREQ(attr->name, "Resource.res");
        EXPECT_STREQ(attr->data_name, names[i]);
        EXPECT_EQ(attr->prev_resource, prev);
        EXPECT_EQ(attr->owner_task, 0u);
        EXPECT_EQ(attr->item_count, 0);
        EXPECT_EQ(FindResource("Resource.res", names[i]), r);
        prev = r;
        r = attr->next_resource;
    }
    EXPECT_EQ(r, 0u);
    EXPECT_EQ(g_resource_chain.last, g_resources.item);
    EXPECT_EQ(g_resource_chain.resource_count, 12u);

    Handle noma = search_record(g_resources.group, 0);
    ASSERT_NE(noma, 0u);
    EXPECT_STREQ(reinterpret_cast<GroupRecord*>(record_body(noma))->name, "NOMA");
    EXPECT_EQ(handle_entry(noma)->size, sizeof(GroupRecord));
    EXPECT_EQ(g_current_group, 0);
}

TEST_F(ResourceTest, AttributeBlockAtCreation) {
    WriteFile("NOMA.ini",
              "Sys.error.elogfile test.log\nUSER_NAME  Jo hn_with_a_rather_long_name\n");
    Handle r = CreateResource(0, "data.res", "Data");
    ResourceAttr* attr = resource_attr(r);
    ASSERT_NE(attr, nullptr);
    EXPECT_EQ(handle_entry(r)->size, 232);
    // USER_NAME without its blanks, cut to 21 characters.
    EXPECT_STREQ(attr->user, "John_with_a_rather_lo");
    EXPECT_STREQ(attr->tag, "           ");
    EXPECT_STREQ(attr->mark, "      ");
    EXPECT_NE(attr->created.date, 0u);
    EXPECT_EQ(attr->stamp2.date | attr->stamp2.time | attr->stamp3.date | attr->stamp3.time, 0u);
    EXPECT_EQ(attr->record_size | attr->active_bytes | attr->first_record | attr->last_record |
                  attr->first_item | attr->last_item,
              0u);
    EXPECT_EQ(attr->group, 0);
    // Asking again returns the same resource.
    EXPECT_EQ(CreateResource(0, "data.res", "Data"), r);
    EXPECT_EQ(g_resource_chain.resource_count, 13u);
    EXPECT_EQ(FindResource("data.res", "data"), 0u);  // exact comparison
    EXPECT_EQ(FindResource("data.res", "Data"), r);
}

TEST_F(ResourceTest, AskingTaskGivesGroupOwnerAndLastOpened) {
    Handle task = CreateRecord(g_resources.task, 31, sizeof(TaskRecord));
    TaskRecord* t = task_record(task);
    ASSERT_NE(t, nullptr);
    t->id = 31;
    t->group = 7;
    std::strcpy(t->name, "Ilvane");
    Handle r = CreateResource(task, "game.res", "Game");
    ResourceAttr* attr = resource_attr(r);
    EXPECT_EQ(attr->owner_task, 31u);
    EXPECT_EQ(attr->group, 7);
    EXPECT_EQ(task_record(task)->last_opened_resource, r);
    task_record(task)->last_opened_resource = 0;
    EXPECT_EQ(CreateResource(task, "game.res", "Game"), r);
    EXPECT_EQ(task_record(task)->last_opened_resource, r);
}

TEST_F(ResourceTest, LongNamesAreCutAndReportedUnderResouceTest) {
    WriteFile("SYSTEM.msg", std::string(78, '\n') + "msg79\nmsg80\n");
    SetSystemFlag(FLAG_RESOUCE_TEST);
    std::string name(50, 'n');
    std::string data(30, 'd');
    Handle r = CreateResource(0, name.c_str(), data.c_str());
    ResourceAttr* attr = resource_attr(r);
    ASSERT_NE(attr, nullptr);
    EXPECT_EQ(std::string(attr->name), name.substr(0, 41));
    EXPECT_EQ(std::string(attr->data_name), data.substr(0, 21));
    EXPECT_TRUE(Logged("msg79"));
    EXPECT_TRUE(Logged(name));
    EXPECT_TRUE(Logged("msg80"));
    EXPECT_TRUE(Logged(data));
    // The cut names are the ones found.
    EXPECT_EQ(FindResource(name.substr(0, 41).c_str(), data.substr(0, 21).c_str()), r);
}

TEST_F(ResourceTest, CreationLogLinesUnderResouceTestOnly) {
    CreateResource(0, "quiet.res", "Q");
    EXPECT_FALSE(Logged(S("初期化中にResourceを作成  AttName:quiet.res"_sj)));
    SetSystemFlag(FLAG_RESOUCE_TEST);
    Handle r = CreateResource(0, "loud.res", "L");
    EXPECT_TRUE(Logged(S("初期化中にResourceを作成  AttName:loud.res"_sj)));
    EXPECT_TRUE(Logged(S("\tﾘｿｰｽ･ｱﾄﾘﾋﾞｭｰﾄ情報 res name:loud.res data name:L"_sj)));
    EXPECT_TRUE(Logged(S("\tﾘｿｰｽ･ﾃｰﾌﾞﾙ情報 count 14  top att:Resource.res  end att:loud.res"_sj)));
    char line[80];
    std::snprintf(line, sizeof line, "\tHANDLE adr %x  RESOURCE adr %x", (r - 1) * 28,
                  handle_block_address(r));
    EXPECT_TRUE(Logged(line));

    Handle task = CreateRecord(g_resources.task, 32, sizeof(TaskRecord));
    std::strcpy(task_record(task)->name, "Ilvane");
    CreateResource(task, "asked.res", "A");
    EXPECT_TRUE(Logged(S("Ilvaneの要求でResourceを作成  AttName:asked.res"_sj)));
}

TEST_F(ResourceTest, BadHandlesAndNamesNeverCrash) {
    Handle record = CreateRecord(g_resources.code, 1, 8);
    // Live but not a resource, out of the table, never handed out, empty.
    for (Handle bad : {record, Handle(0), Handle(999999999), Handle(4000)}) {
        EXPECT_EQ(resource_attr(bad), nullptr);
        EXPECT_EQ(CreateRecord(bad, 1, 8), 0u);
        EXPECT_EQ(search_record(bad, 1), 0u);
        EXPECT_EQ(FirstRecord(bad), 0u);
        EXPECT_EQ(RecordCount(bad), 0);
        EXPECT_EQ(CheckRecordChain(bad), 1);
        EXPECT_EQ(CreateItem(bad, "x", ITEMlong, 0), 0u);
        EXPECT_EQ(FindItem(bad, "x"), 0u);
        EXPECT_EQ(ItemType(bad, "x"), -1);
        EXPECT_EQ(SearchRecordNum(bad, "x", 1, 0), 0u);
        EXPECT_EQ(DumpRecords(bad), 1);
        EXPECT_EQ(DeactivateRecord(0, bad, record), 1);
    }
    EXPECT_EQ(FindResource(nullptr, "x"), 0u);
    EXPECT_EQ(CreateResource(0, nullptr, "x"), 0u);
    EXPECT_EQ(FindResource("no such", "thing"), 0u);
    EXPECT_EQ(get_adr(0, "x", ITEMlong), nullptr);
    EXPECT_EQ(GetNum(12345, "x"), -1);
    EXPECT_EQ(SetNum(12345, "x", 3), -1);
    EXPECT_EQ(SetStr(12345, "x", "t"), -1);
    EXPECT_EQ(GetStr(0, ".a:b.c"), nullptr);
    EXPECT_EQ(CopyRecord(0, record), 0);
    EXPECT_EQ(MoveRecordBefore(0, 77777), 1);
    EXPECT_EQ(RemoveRecord(0, 0, record), 1);
    EXPECT_EQ(SelectRecord(0, 0, 1), 0u);
}

TEST_F(ResourceTest, NotAResourceIsMessage74UnderResouceTest) {
    WriteFile("SYSTEM.msg", std::string(73, '\n') + "msg74\n");
    Handle record = CreateRecord(g_resources.code, 1, 8);
    EXPECT_EQ(CreateRecord(record, 2, 8), 0u);
    EXPECT_FALSE(Logged("msg74"));
    SetSystemFlag(FLAG_RESOUCE_TEST);
    EXPECT_EQ(CreateRecord(record, 2, 8), 0u);
    EXPECT_TRUE(Logged("msg74"));
}

TEST_F(ResourceTest, FullPoolGivesEmptyHandles) {
    UsePool(64 * 1024, 64);
    ASSERT_TRUE(CreateSystemResources());
    WriteFile("SYSTEM.msg", "no memory\n");
    Handle r = CreateResource(0, "big.res", "Big");
    ASSERT_NE(r, 0u);
    int made = 0;
    while (CreateRecord(r, -1, 4000) && made < 100)
        ++made;
    EXPECT_LT(made, 100);
    // Message 1 with its detail (the system message dialog logs until the window system).
    EXPECT_TRUE(Logged("no memory"));
    EXPECT_TRUE(Logged(S("Big: 4000 byteのメモリを確保できません"_sj)));
    EXPECT_EQ(RecordCount(r), made);
    EXPECT_EQ(CheckRecordChain(r), 0);
    // Resources fail the same way once nothing is left.
    Handle last = 0;
    for (int i = 0; i < 2000; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "r%d", i);
        last = CreateResource(0, name, "x");
        if (!last) break;
    }
    EXPECT_EQ(last, 0u);
}

}  // namespace
