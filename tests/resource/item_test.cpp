// Items: layout in the body, types, lookups, limits, texts, arrays, name paths, searches and
// copying; item data definition files.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "host/sjis_literal.h"
#include "resource/resource_file.h"
#include "resource_fixture.h"
#include "text/item_data.h"
#include "text/text.h"

namespace {

TEST_F(ResourceTest, ItemsLieFromByteOneWithTheSizesOfTheirTypes) {
    Handle r = MakeASB();
    Handle rec = CreateRecord(r, 1, 0);
    char* body = reinterpret_cast<char*>(record_body(rec));
    EXPECT_EQ(get_adr(rec, "s", ITEMstring), body + 5);
    EXPECT_EQ(get_adr(rec, "b", ITEMlong), body + 15);  // ends in the spare byte
    SetNum(rec, "b", 0x01020304);
    EXPECT_EQ(body[18], 0x01);

    Handle t = CreateResource(0, "types.res", "T");
    const std::pair<int, uint32_t> types[] = {{1, 99}, {2, 99},        {8, 7}, {ITEMlongArray, 3},
                                              {5, 10}, {ITEMstring, 0}};
    for (const auto& [type, size] : types)
        CreateItem(t, ("i" + std::to_string(type)).c_str(), type, size);
    EXPECT_EQ(resource_attr(t)->record_size, 4u + 4 + 7 + 12);  // the unknown type 5 takes 0
    EXPECT_EQ(resource_attr(t)->item_count, 6);
    // Items defined after a record: a warning, and old bodies stay as they are.
    rec = CreateRecord(t, 1, 0);
    CreateItem(t, "late", ITEMlong, 0);
    EXPECT_EQ(SetNum(rec, "late", 5), -1);  // beyond that body
    ExpectLogged(
        {"CreateItemで認識されないItem番号が指定されました。"_sj,
         "CreateItem()でITEMstring指定でサイズが0です。"_sj,
         "Warrning!! CreateItem がReocrdを作成された後呼ばれました　types.res:T(27byte) Req late"_sj});
}

TEST_F(ResourceTest, ItemLookupsByNameAndPath) {
    Handle r = MakeASB();
    EXPECT_EQ(ItemType(r, ".x:y.b"), ITEMlong);  // the text after the last "."
    EXPECT_NE(FindItem(r, ".k:v.s"), 0u);
    EXPECT_EQ(FindItem(r, ".s"), 0u);  // the empty name
    EXPECT_EQ(FindItemExact(r, ".k:v.s"), 0u);
    EXPECT_EQ(item_offsetsize(r, "zz", ITEMlong), -1);
    EXPECT_EQ(item_offsetsize(r, "s", ITEMlong), 4);
    EXPECT_EQ(get_adr(CreateRecord(r, 1, 0), "", ITEMlong), nullptr);
    ExpectLogged({"item_offsetsize()で指定 asb.res:ASBでzz(type6)が見つかりませんでした。"_sj,
                  "item_offsetsize()で呼び出したasb.res:ASB:s type 3は指定タイプ 6と違います"_sj,
                  "get_adr()でnameがNULLです"_sj});
}

TEST_F(ResourceTest, LimitsClampNumbersAndTextsAreCutToTheItem) {
    Handle r = MakeASB();
    Handle rec = CreateRecord(r, 1, 0);
    EXPECT_EQ(SetLimit(r, "zz", 1, 0), 1);
    EXPECT_EQ(SetLimit(r, "a", 100, 0), 0);
    EXPECT_EQ(SetNum(rec, "a", 150), 100);
    EXPECT_EQ(SetNum(rec, "a", -3), 0);
    EXPECT_EQ(GetNum(rec, "a"), 0);
    EXPECT_EQ(SetNum(rec, "b", -500), -500);  // not limited
    EXPECT_EQ(SetNum(rec, "", 1), -1);

    EXPECT_EQ(SetStr(rec, "s", "1234567890"), -1);  // no room for the NUL: cut
    EXPECT_STREQ(GetStr(rec, "s"), "123456789");
    EXPECT_EQ(SetStr(rec, "s", "fits"), 1);
    EXPECT_STREQ(GetStr(rec, "s"), "fits");
    EXPECT_EQ(GetNum(rec, "b"), -500);  // the neighbour is untouched
    EXPECT_EQ(SetStr(rec, "s", nullptr), -1);
    ExpectLogged({"    up number 150 set limit upper 100 lower 0(number<lower)",
                  "   low number -3 set limit upper 100 lower 0(number<lower)",
                  "SetNum() name is NULL", "SetStr()で長い文字列が指定されました。　s"_sj,
                  "SetStr() para is NULL"});
}

TEST_F(ResourceTest, LongArrayElementsStayInsideTheirArray) {
    Handle r = CreateResource(0, "arr.res", "A");
    CreateItem(r, "head", ITEMlong, 0);
    CreateItem(r, "arr", ITEMlongArray, 3);
    CreateItem(r, "tail", ITEMlong, 0);
    Handle rec = CreateRecord(r, 1, 0);
    EXPECT_EQ(dimension("arr[2"), -1);
    EXPECT_TRUE(Logged("dimension() Error"));
    EXPECT_EQ(SetNum(rec, "arr[0]", 10), 10);
    EXPECT_EQ(SetNum(rec, "arr[2]", 12), 12);
    EXPECT_EQ(get_adr(rec, "arr[1]", ITEMlongArray) - get_adr(rec, "head", ITEMlong), 8);
    EXPECT_EQ(SetNum(rec, "arr[3]", 13), -1);
    EXPECT_EQ(SetNum(rec, "arr[-1]", 13), -1);
    EXPECT_EQ(GetNum(rec, "head") | GetNum(rec, "tail"), 0);
    EXPECT_EQ(SearchRecordNum(r, "arr[2]", 1, 12), rec);
    // A "[" that is the second byte of a double-byte character is no bracket ("ー" is 81 5B).
    Handle kana = CreateResource(0, "kana.res", "K");
    CreateItem(kana, "パワー"_sj, ITEMlong, 0);
    Handle k = CreateRecord(kana, 1, 0);
    EXPECT_EQ(SetNum(k, "パワー"_sj, 9), 9);
    EXPECT_EQ(GetNum(k, "パワー"_sj), 9);
}

// A record of "chars.res" (items number, 名前 and hp).
Handle Character(int32_t number, const char* name, int32_t hp) {
    Handle chars = FindResource("chars.res", "Chars");
    if (!chars) {
        chars = CreateResource(0, "chars.res", "Chars");
        CreateItem(chars, "number", ITEMlong, 0);
        CreateItem(chars, "名前"_sj, ITEMstring, 20);
        CreateItem(chars, "hp", ITEMlong, 0);
    }
    Handle c = CreateRecord(chars, -1, 0);
    SetNum(c, "number", number);
    SetStr(c, "名前"_sj, name);
    SetNum(c, "hp", hp);
    return c;
}

TEST_F(ResourceTest, NamePathsSelectRecordsByKey) {
    Handle c[4];
    c[0] = Character(1, "アリス"_sj, 100);
    c[1] = Character(2, "ボブ"_sj, 101);
    c[2] = Character(3, "アリス"_sj, 102);  // records 2 and 3 both hold number 3
    c[3] = Character(3, "カイ"_sj, 103);
    Handle chars = FindResource("chars.res", "Chars");
    // One colon: the first active record of the record's own resource with the key value;
    // two colons: through another resource. A string key compares texts exactly.
    EXPECT_EQ(GetNum(c[0], ".number:3.hp"), 102);
    DeactivateRecord(0, chars, c[2]);
    EXPECT_EQ(SetNum(c[0], ".number:3.hp", 5), 5);
    EXPECT_EQ(GetNum(c[3], "hp"), 5);
    EXPECT_STREQ(GetStr(c[0], ".名前:ボブ.名前"_sj), "ボブ"_sj);
    EXPECT_EQ(GetStr(c[0], ".名前:ボ.名前"_sj), nullptr);
    EXPECT_EQ(GetNum(c[0], ".number:9.hp"), -1);
    Handle p = CreateRecord(MakeASB(), 1, 0);
    EXPECT_EQ(GetNum(p, ".chars.res:Chars.number:2.hp"), 101);
    EXPECT_EQ(GetNum(p, ".chars.res:Nobody.number:2.hp"), -1);
    // Paths that end too early or have too many colons.
    for (const char* path : {".chars.res:Chars", ".number:3", ".a:b:c:d.hp", ""})
        EXPECT_EQ(get_adr2(c[0], path, ITEMlong), nullptr) << path;
}

// A key path reports the selection before the item's own lookup reports anything.
TEST_F(ResourceTest, KeyPathsReportTheSelectionBeforeTheLookup) {
    Handle c = Character(2, "ボブ"_sj, 101);
    // The lines after get_adr2's own " get_adr2() -path..." line.
    auto report = [&](const std::string& path) {
        size_t before = LogLines().size();
        get_adr2(c, path.c_str(), ITEMlong);
        std::vector<std::string> lines = LogLines();
        if (lines.size() <= before) return std::vector<std::string>{};
        return std::vector<std::string>(lines.begin() + long(before) + 1, lines.end());
    };
    const std::string name = "名前"_sj, bob = "ボブ"_sj;
    const std::string missing =
        "item_offsetsize()で指定 chars.res:Charsでmp(type-1)が見つかりませんでした。"_sj;
    EXPECT_EQ(report(".number:2.hp"),
              (std::vector<std::string>{"adr2 call hp (number:2)type 6",
                                        "record check name " + bob + " -101-"}));
    EXPECT_EQ(report(".number:2." + name),
              (std::vector<std::string>{"adr2 call " + name + " (number:2)type 3",
                                        "record check name " + bob + " -" + bob + "-"}));
    EXPECT_EQ(report(".number:2.mp"),
              (std::vector<std::string>{"adr2 call mp (number:2)type -1",
                                        "record check name " + bob + " -(null)-", missing}));
}

TEST_F(ResourceTest, SearchesByModeFindTheFirstActiveMatchInChainOrder) {
    Handle r = MakeASB();
    Handle rec[4];
    for (int i = 0; i < 4; ++i)
        SetNum(rec[i] = CreateRecord(r, -1, 0), "a", i * 10);
    EXPECT_EQ(SearchRecordNum(r, "a", 2, 15), rec[2]);  // greater
    EXPECT_EQ(SearchRecordNum(r, "a", 4, 15), 0u);
    DeactivateRecord(0, r, rec[0]);
    MoveRecordBefore(rec[2], rec[3]);
    EXPECT_EQ(SearchRecordNum(r, "a", 2, 15), rec[3]);
    EXPECT_EQ(SearchRecordNum(r, "a", 3, 15), rec[1]);
}

TEST_F(ResourceTest, CopyRecordFollowsTheDestinationTypes) {
    Handle src = CreateResource(0, "src.res", "S");
    Handle dst = CreateResource(0, "dst.res", "D");
    CreateItem(src, "name", ITEMstring, 12);
    CreateItem(dst, "hp", ITEMstring, 8);  // text from a long item: its bytes
    CreateItem(src, "hp", ITEMlong, 0);
    CreateItem(dst, "name", ITEMstring, 6);
    for (Handle r : {src, dst}) {
        CreateItem(r, "mp", ITEMlong, 0);
        CreateItem(r, "code", 2, 0);
        CreateItem(r, "raw", 8, 4);
        CreateItem(r, r == src ? "only_src" : "own", ITEMlong, 0);
    }
    Handle s = CreateRecord(src, 1, 0);
    Handle d = CreateRecord(dst, 1, 0);
    SetStr(s, "name", "Gwendolyn");
    SetNum(s, "hp", 0x414243);  // "CBA" in memory
    SetNum(s, "mp", -1);
    SetNum(s, "code", 12);
    SetNum(d, "mp", 9);
    SetNum(d, "own", 5);
    EXPECT_EQ(CopyRecord(s, d), 0);
    EXPECT_STREQ(GetStr(d, "name"), "Gwend");  // cut by SetStr
    EXPECT_STREQ(GetStr(d, "hp"), "CBA");
    EXPECT_EQ(GetNum(d, "mp"), 9);  // -1 is never copied
    EXPECT_EQ(GetNum(d, "own"), 5);
    EXPECT_TRUE(Logged("CopyRecord()　Item Error"_sj));  // the type-8 item
    EXPECT_EQ(CopyRecord(CreateRecord(CreateResource(0, "bare.res", "B"), 1, 8), d), 1);
}

// Item data definition files.

using Strings = std::vector<std::string>;

// Values of item `item` of the active records, in chain order.
Strings Values(Handle resource, const char* item) {
    Strings values;
    for (Handle r = FirstRecord(resource); r; r = NextRecord(r))
        values.push_back(GetStr(r, item) ? GetStr(r, item) : "<none>");
    return values;
}

const std::string kHeader = "ResourceName data.res\nDataName ITEMS\n";

TEST_F(ResourceTest, ItemDataDefinesItemsAndFillsRecordsWithinTheirLimits) {
    WriteFile("def.txt", kHeader + "Item " + "名前"_sj +
                             " ITEMstring 8\nItem hp ITEMlimited 999 0\n" +
                             "Item gold ITEMlong\nItem memo\tITEMstring 40\nStartData\n" +
                             "名前"_sj + " 0123456789\nhp 5000\ngold -12\nmemo ;, \"first\n" +
                             "second\nthird\" ignored\nEndData\nStartData\nhp -4\n" +
                             "memo plain text, kept whole\nEndData\n");
    Handle r = CreateItemData(0, "def.txt");
    EXPECT_EQ(FindResource("data.res", "ITEMS"), r);
    EXPECT_EQ(resource_attr(r)->record_size, 8u + 4 + 4 + 40);
    ASSERT_EQ(RecordCount(r), 2);
    Handle first = FirstRecord(r);
    EXPECT_STREQ(GetStr(first, "名前"_sj), "0123456");  // cut to the item's size
    EXPECT_EQ(GetNum(first, "hp"), 999);
    EXPECT_EQ(GetNum(first, "gold"), -12);
    EXPECT_EQ(GetNum(NextRecord(first), "hp"), 0);
    EXPECT_EQ(Values(r, "memo"), Strings({"first\nsecond\nthird", "plain text, kept whole"}));
}

TEST_F(ResourceTest, ItemDataKeywordFragmentsCountAndNumbersAreCutTo16Bits) {
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
    EXPECT_EQ(lim->upper, -25536);
    EXPECT_EQ(lim->lower, -4464);
    EXPECT_EQ(item_desc(FindItem(r, "all"))->upper, 4464);
    EXPECT_EQ(Values(r, "s"), Strings({"abcdefghi"}));
}

TEST_F(ResourceTest, ItemDataGivesWayToASavedResourceFile) {
    WriteFile("def.txt", kHeader + "Item gold ITEMlimited 100 0\nStartData\ngold 5\nEndData\n");
    Handle r = CreateItemData(0, "def.txt");
    ASSERT_NE(r, 0u);
    EXPECT_EQ(SetNum(FirstRecord(r), "gold", 177), 100);
    SetNum(FirstRecord(r), "gold", 77);
    ASSERT_EQ(SaveResource(0, r), 0);
    WriteFile("def.txt", kHeader + "Item silver ITEMlong\nStartData\nsilver 1\nEndData\n");
    ASSERT_EQ(CreateItemData(0, "def.txt"), r);
    EXPECT_EQ(resource_attr(r)->item_count, 1);
    ASSERT_EQ(RecordCount(r), 1);
    EXPECT_EQ(GetNum(FirstRecord(r), "gold"), 77);
    // The loaded item is defined anew, without the limits of its definition.
    EXPECT_EQ(SetNum(FirstRecord(r), "gold", 177), 177);

    WriteFile("noname.txt", "DataName X\nItem a ITEMlong\n");
    EXPECT_EQ(CreateItemData(0, "noname.txt"), 0u);
    WriteFile("nodata.txt", "ResourceName x.res\n");
    EXPECT_EQ(CreateItemData(0, "nodata.txt"), 0u);
    EXPECT_EQ(CreateItemData(0, "absent.txt"), 0u);
    ExpectLogged({"CreateItemData() noname.txt Non ResourceName",
                  "CreateItemData() nodata.txt Non DataName"});
}

TEST_F(ResourceTest, ItemDataRecordsGoInFrontOfTheGivenRecordInFileOrder) {
    Handle r = CreateResource(0, "order.res", "ORDER");
    CreateItem(r, "n", ITEMstring, 8);
    SetStr(CreateRecord(r, -1, 0), "n", "X");
    Handle y = CreateRecord(r, -1, 0);
    SetStr(y, "n", "Y");
    WriteFile("blocks.txt",
              "StartData\nn never\nEndData\n"  // line 0 is never a block
              "StartData\nn A\nEndData\nStartData\nn B\nEndData\nStartData\nn C\nEndData\n");
    ASSERT_EQ(LoadItemData(0, r, "blocks.txt"), r);
    EXPECT_EQ(Values(r, "n"), Strings({"A", "B", "C", "X", "Y"}));
    WriteFile("more.txt", "\nStartData\nn D\nEndData\nStartData\nn E\nEndData\n");
    Handle text = CreateText(0, "more.txt", 0);
    ASSERT_EQ(ReadTextFile(text), 0);
    ASSERT_EQ(ApendItemData(r, y, text), r);
    EXPECT_EQ(Values(r, "n"), Strings({"A", "B", "C", "X", "D", "E", "Y"}));
    EXPECT_EQ(LoadItemData(0, r, "missing.txt"), 0u);
}

TEST_F(ResourceTest, ItemDataUnknownItemsAndNestedBlocksEndTheRead) {
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

TEST_F(ResourceTest, ItemDataQuotedValuesAreCutAndLoggedUnderResouceTest) {
    SetSystemFlag(FLAG_RESOUCE_TEST);
    std::string half(1500, 'q');
    WriteFile("q.txt", kHeader + "Item t ITEMstring 4000\nStartData\nt \"" + half + "\n" + half +
                           "\"\nEndData\nStartData\nt \"open\n");
    Handle r = CreateItemData(0, "q.txt");
    ASSERT_NE(r, 0u);
    // Cut to 2055 bytes in all; a quote left open takes the rest of the text.
    EXPECT_EQ(Values(r, "t"), Strings({half + "\n" + std::string(554, 'q'), "open\n"}));
    EXPECT_TRUE(Logged("ApendItemData() str set t = open"));
    EXPECT_TRUE(Logged("(len5)"));
}

}  // namespace
