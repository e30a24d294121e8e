#include "resource/item_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/sjis_literal.h"
#include "kernel/system.h"
#include "resource/resource.h"
#include "resource/resource_file.h"
#include "support/test_env.h"
#include "text/text.h"

namespace {

class ItemDataTest : public NomaTest {
protected:
    void SetUp() override {
        NomaTest::SetUp();
        ASSERT_TRUE(CreateSystemResources());
    }

    // Values of item `item` of the active records, in chain order.
    static std::vector<std::string> Strings(Handle resource, const char* item) {
        std::vector<std::string> values;
        for (Handle r = FirstRecord(resource); r; r = NextRecord(r)) {
            const char* s = GetStr(r, item);
            values.push_back(s ? s : "<none>");
        }
        return values;
    }
};

const std::string kHeader = "ResourceName data.res\nDataName ITEMS\n";

TEST_F(ItemDataTest, DefinesItemsAndFillsRecordsWithinTheirLimits) {
    WriteFile("def.txt", kHeader + "Item " + "名前"_sj +
                             " ITEMstring 8\n"
                             "Item hp ITEMlimited 999 0\n"
                             "Item gold ITEMlong\n"
                             "Item memo\tITEMstring 40\n"
                             "StartData\n" +
                             "名前"_sj +
                             " 0123456789\n"
                             "hp 5000\n"
                             "gold -12\n"
                             "memo ;, \"first\n"
                             "second\n"
                             "third\" ignored\n"
                             "EndData\n"
                             "StartData\n"
                             "hp -4\n"
                             "memo plain text, kept whole\n"
                             "EndData\n");
    Handle r = CreateItemData(0, "def.txt");
    ASSERT_NE(r, 0u);
    ResourceAttr* attr = resource_attr(r);
    EXPECT_STREQ(attr->name, "data.res");
    EXPECT_STREQ(attr->data_name, "ITEMS");
    EXPECT_EQ(attr->item_count, 4);
    EXPECT_EQ(attr->record_size, 8u + 4 + 4 + 40);
    ASSERT_EQ(RecordCount(r), 2);
    Handle first = FirstRecord(r);
    Handle second = NextRecord(first);
    EXPECT_STREQ(GetStr(first, "名前"_sj), "0123456");  // cut to the item's size
    EXPECT_EQ(GetNum(first, "hp"), 999);
    EXPECT_EQ(GetNum(first, "gold"), -12);
    EXPECT_STREQ(GetStr(first, "memo"), "first\nsecond\nthird");
    EXPECT_EQ(GetNum(second, "hp"), 0);
    EXPECT_STREQ(GetStr(second, "memo"), "plain text, kept whole");
    EXPECT_TRUE(Logged("Create New Resource for CreateItemData()   res data.res/ITEMS  req task"));
    EXPECT_TRUE(Logged("CreateItemData()  item  hp  type ITEMlimited"));
    EXPECT_TRUE(Logged("ApendItemData() num set hp = 5000"));
    EXPECT_TRUE(Logged("*********** Data Create *********"));
}

TEST_F(ItemDataTest, KeywordFragmentsCountAndNumbersAreCutTo16Bits) {
    WriteFile("frag.txt", kHeader +
                              "Item all ITEM 70000 3\n"   // passes all three type tests
                              "tem s ITEMstring 65546\n"  // "tem" is part of "Item"
                              "Item g long\n"
                              "Item none ITEMlongs\n"
                              "Item lim ITEMlimited 40000 -70000\n"
                              "Items x ITEMlong\n"
                              "art\n"  // a fragment of StartData opens a block
                              "s abcdefghijklmnop\n"
                              "Data\n"  // ... and one of EndData closes it
                              "s outside\n");
    Handle r = CreateItemData(0, "frag.txt");
    ASSERT_NE(r, 0u);
    std::vector<std::pair<std::string, int>> items;
    for (Handle d = resource_attr(r)->first_item; d; d = item_desc(d)->next)
        items.emplace_back(item_desc(d)->name, int(item_desc(d)->size));
    std::vector<std::pair<std::string, int>> expected = {{"all", 4}, {"all", 4464}, {"all", 4},
                                                         {"s", 10},  {"g", 4},      {"lim", 4}};
    EXPECT_EQ(items, expected);  // 70000 & 0xFFFF = 4464; 65546 & 0xFFFF = 10
    ItemDesc* lim = item_desc(FindItem(r, "lim"));
    ASSERT_NE(lim, nullptr);
    EXPECT_EQ(lim->upper, -25536);
    EXPECT_EQ(lim->lower, -4464);
    ItemDesc* all = item_desc(FindItem(r, "all"));
    EXPECT_EQ(all->upper, 4464);
    EXPECT_EQ(all->lower, 3);
    ASSERT_EQ(RecordCount(r), 1);
    EXPECT_STREQ(GetStr(FirstRecord(r), "s"), "abcdefghi");
}

TEST_F(ItemDataTest, ASavedResourceFileTakesPrecedence) {
    WriteFile("def.txt", kHeader +
                             "Item gold ITEMlong\n"
                             "StartData\ngold 5\nEndData\n");
    Handle r = CreateItemData(0, "def.txt");
    ASSERT_NE(r, 0u);
    SetNum(FirstRecord(r), "gold", 77);
    ASSERT_EQ(SaveResource(0, r), 0);
    WriteFile("def.txt", kHeader +
                             "Item silver ITEMlong\n"
                             "StartData\nsilver 1\nEndData\n"
                             "StartData\nsilver 2\nEndData\n");
    Handle again = CreateItemData(0, "def.txt");
    ASSERT_EQ(again, r);
    EXPECT_EQ(resource_attr(r)->item_count, 1);
    ASSERT_EQ(RecordCount(r), 1);
    EXPECT_EQ(GetNum(FirstRecord(r), "gold"), 77);
    EXPECT_EQ(FindItem(r, "silver"), 0u);
}

TEST_F(ItemDataTest, RecordsGoInFrontOfTheGivenRecordInFileOrder) {
    Handle r = CreateResource(0, "order.res", "ORDER");
    CreateItem(r, "n", ITEMstring, 8);
    Handle x = CreateRecord(r, -1, 0);
    Handle y = CreateRecord(r, -1, 0);
    SetStr(x, "n", "X");
    SetStr(y, "n", "Y");
    WriteFile("blocks.txt",
              "first line is never a block\n"
              "StartData\nn A\nEndData\nStartData\nn B\nEndData\nStartData\nn C\nEndData\n");
    ASSERT_EQ(LoadItemData(0, r, "blocks.txt"), r);
    EXPECT_EQ(Strings(r, "n"), (std::vector<std::string>{"A", "B", "C", "X", "Y"}));

    WriteFile("more.txt", "\nStartData\nn D\nEndData\nStartData\nn E\nEndData\n");
    Handle text = CreateText(0, "more.txt", 0);
    ASSERT_EQ(ReadTextFile(text), 0);
    ASSERT_EQ(ApendItemData(r, y, text), r);
    EXPECT_EQ(Strings(r, "n"), (std::vector<std::string>{"A", "B", "C", "X", "D", "E", "Y"}));
    EXPECT_EQ(LoadItemData(0, r, "missing.txt"), 0u);
    EXPECT_EQ(LoadItemData(0, 0, "blocks.txt"), 0u);
}

TEST_F(ItemDataTest, UnknownItemsAndNestedBlocksEndTheRead) {
    Handle r = CreateResource(0, "nest.res", "NEST");
    CreateItem(r, "v", ITEMlong, 4);
    WriteFile("nest.txt", "\nStartData\nv 1\nStartData\nv 2\nEndData\n");
    ASSERT_EQ(LoadItemData(0, r, "nest.txt"), 0u);
    EXPECT_TRUE(Logged("ApendItemData() itemname non StartData"));
    EXPECT_EQ(RecordCount(r), 2);  // the nested block's record was made before the failure

    Handle s = CreateResource(0, "unknown.res", "UNKNOWN");
    CreateItem(s, "v", ITEMlong, 4);
    WriteFile("unknown.txt", "\nStartData\nv 1\nw 2\nv 3\nEndData\n");
    ASSERT_EQ(LoadItemData(0, s, "unknown.txt"), 0u);
    EXPECT_TRUE(Logged("ApendItemData() itemname non w"));
    ASSERT_EQ(RecordCount(s), 1);
    EXPECT_EQ(GetNum(FirstRecord(s), "v"), 1);
}

TEST_F(ItemDataTest, MissingKeysOrFileGiveNoResource) {
    WriteFile("noname.txt", "DataName X\nItem a ITEMlong\n");
    EXPECT_EQ(CreateItemData(0, "noname.txt"), 0u);
    EXPECT_TRUE(Logged("CreateItemData() noname.txt Non ResourceName"));
    WriteFile("nodata.txt", "ResourceName x.res\n");
    EXPECT_EQ(CreateItemData(0, "nodata.txt"), 0u);
    EXPECT_TRUE(Logged("CreateItemData() nodata.txt Non DataName"));
    EXPECT_EQ(CreateItemData(0, "absent.txt"), 0u);
}

TEST_F(ItemDataTest, QuotedValuesAreCutAndLoggedUnderResourceTests) {
    SetSystemFlag(FLAG_RESOUCE_TEST);
    std::string half(1500, 'q');
    WriteFile("q.txt", kHeader + "Item t ITEMstring 4000\n" + "StartData\nt \"" + half + "\n" +
                           half + "\"\nEndData\n" + "StartData\nt \"open\n");
    Handle r = CreateItemData(0, "q.txt");
    ASSERT_NE(r, 0u);
    ASSERT_EQ(RecordCount(r), 2);
    // Cut to 2055 bytes in all.
    EXPECT_EQ(std::string(GetStr(FirstRecord(r), "t")), half + "\n" + std::string(554, 'q'));
    // A quote left open takes the rest of the text.
    EXPECT_STREQ(GetStr(NextRecord(FirstRecord(r)), "t"), "open\n");
    EXPECT_TRUE(Logged("ApendItemData() str set t = open"));
    EXPECT_TRUE(Logged("(len5)"));
    EXPECT_TRUE(Logged("ResourceINFO data.res:ITEMS  record_size/count 4000/2 size 8000"));
    EXPECT_TRUE(Logged("\titem count 1   record active count 2"));
}

}  // namespace
