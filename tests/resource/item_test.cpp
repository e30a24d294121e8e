// Items: layout in the body, types, limits, texts, name paths, searches, copying, dumping.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/sjis_literal.h"
#include "resource/resource.h"
#include "resource_fixture.h"

namespace {

std::string S(const char* s) {
    return std::string(s);
}

TEST_F(ResourceTest, ItemsLieFromByteOneInDefinitionOrder) {
    Handle r = MakeASB();
    ResourceAttr* attr = resource_attr(r);
    EXPECT_EQ(attr->record_size, 18u);
    EXPECT_EQ(attr->item_count, 3);
    EXPECT_EQ(item_offsetsize(r, "a", ITEMlong), 0);
    EXPECT_EQ(item_offsetsize(r, "s", ITEMstring), 4);
    EXPECT_EQ(item_offsetsize(r, "b", ITEMlong), 14);
    Handle rec = CreateRecord(r, 1, 0);
    char* body = reinterpret_cast<char*>(record_body(rec));
    EXPECT_EQ(get_adr(rec, "a", ITEMlong), body + 1);
    EXPECT_EQ(get_adr(rec, "s", ITEMstring), body + 5);
    EXPECT_EQ(get_adr(rec, "b", ITEMlong), body + 15);  // ends in the spare byte
    SetNum(rec, "b", 0x01020304);
    EXPECT_EQ(body[18], 0x01);
    EXPECT_EQ(GetNum(rec, "b"), 0x01020304);

    // Descriptors are records of "Item", linked in definition order.
    ItemDesc* first = item_desc(attr->first_item);
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first->name, "a");
    EXPECT_EQ(handle_entry(attr->first_item)->owner, g_resources.item);
    EXPECT_STREQ(item_desc(first->next)->name, "s");
    EXPECT_EQ(item_desc(item_desc(first->next)->next)->next, 0u);
}

TEST_F(ResourceTest, ItemTypesAndTheirSizes) {
    Handle r = CreateResource(0, "types.res", "T");
    CreateItem(r, "one", 1, 99);
    CreateItem(r, "two", 2, 99);
    CreateItem(r, "bytes", 8, 7);
    CreateItem(r, "arr", ITEMlongArray, 3);
    Handle bad = CreateItem(r, "bad", 5, 10);
    CreateItem(r, "empty", ITEMstring, 0);
    EXPECT_EQ(resource_attr(r)->record_size, 4u + 4 + 7 + 12);
    ASSERT_NE(bad, 0u);
    EXPECT_EQ(item_desc(bad)->size, 0u);  // kept in the list, taking nothing
    EXPECT_TRUE(Logged(S("CreateItemで認識されないItem番号が指定されました。"_sj)));
    EXPECT_TRUE(Logged(S("CreateItem()でITEMstring指定でサイズが0です。"_sj)));
    EXPECT_EQ(resource_attr(r)->item_count, 6);

    // Items defined after a record: a warning, and old bodies stay as they are.
    Handle rec = CreateRecord(r, 1, 0);
    CreateItem(r, "late", ITEMlong, 0);
    EXPECT_TRUE(Logged(S(
        "Warrning!! CreateItem がReocrdを作成された後呼ばれました　types.res:T(27byte) Req late"_sj)));
    EXPECT_EQ(handle_entry(rec)->size, 27);
    EXPECT_EQ(get_adr(rec, "late", ITEMlong), nullptr);  // beyond that body
    EXPECT_EQ(SetNum(rec, "late", 5), -1);
}

TEST_F(ResourceTest, ItemLookupsByNameAndPath) {
    Handle r = MakeASB();
    EXPECT_EQ(ItemType(r, "s"), ITEMstring);
    EXPECT_EQ(ItemType(r, ".x:y.b"), ITEMlong);
    EXPECT_EQ(ItemType(r, ".b"), ITEMlong);  // the text after the last "."
    EXPECT_EQ(ItemType(r, "zz"), -1);
    EXPECT_NE(FindItem(r, ".k:v.s"), 0u);
    EXPECT_EQ(FindItem(r, ".s"), 0u);  // the empty name
    EXPECT_EQ(FindItem(r, "s"), FindItemExact(r, "s"));
    EXPECT_EQ(FindItemExact(r, ".k:v.s"), 0u);
    EXPECT_EQ(FindItem(CreateResource(0, "none.res", "N"), "s"), 0u);
    EXPECT_EQ(item_offsetsize(r, "zz", ITEMlong), -1);
    EXPECT_TRUE(
        Logged(S("item_offsetsize()で指定 asb.res:ASBでzz(type6)が見つかりませんでした。"_sj)));
    EXPECT_EQ(item_offsetsize(r, "s", ITEMlong), 4);
    EXPECT_TRUE(
        Logged(S("item_offsetsize()で呼び出したasb.res:ASB:s type 3は指定タイプ 6と違います"_sj)));
    EXPECT_EQ(get_adr(CreateRecord(r, 1, 0), "", ITEMlong), nullptr);
    EXPECT_TRUE(Logged(S("get_adr()でnameがNULLです"_sj)));
}

TEST_F(ResourceTest, LimitsClampStoredNumbers) {
    Handle r = MakeASB();
    Handle rec = CreateRecord(r, 1, 0);
    EXPECT_EQ(SetLimit(r, "zz", 1, 0), 1);
    EXPECT_EQ(SetLimit(r, "a", 100, 0), 0);
    EXPECT_EQ(GetUpperLimit(rec, "a"), 100);
    EXPECT_EQ(GetUpperLimit(rec, "zz"), -1);
    EXPECT_EQ(SetNum(rec, "a", 150), 100);
    EXPECT_EQ(GetNum(rec, "a"), 100);
    EXPECT_TRUE(Logged("    up number 150 set limit upper 100 lower 0(number<lower)"));
    EXPECT_EQ(SetNum(rec, "a", -3), 0);
    EXPECT_EQ(GetNum(rec, "a"), 0);
    EXPECT_TRUE(Logged("   low number -3 set limit upper 100 lower 0(number<lower)"));
    EXPECT_EQ(SetNum(rec, "a", 42), 42);
    EXPECT_EQ(SetNum(rec, "b", -500), -500);  // not limited
    EXPECT_EQ(SetNum(rec, "", 1), -1);
    EXPECT_TRUE(Logged("SetNum() name is NULL"));
}

TEST_F(ResourceTest, TextsAreCutToTheItemSize) {
    Handle r = MakeASB();
    Handle rec = CreateRecord(r, 1, 0);
    SetNum(rec, "b", 77);
    EXPECT_EQ(SetStr(rec, "s", "123456789"), 1);
    EXPECT_STREQ(GetStr(rec, "s"), "123456789");
    EXPECT_EQ(SetStr(rec, "s", "1234567890"), -1);
    EXPECT_STREQ(GetStr(rec, "s"), "123456789");
    EXPECT_EQ(SetStr(rec, "s", "abcdefghijkl"), -1);
    EXPECT_STREQ(GetStr(rec, "s"), "abcdefghi");
    EXPECT_TRUE(Logged(S("SetStr()で長い文字列が指定されました。　s"_sj)));
    EXPECT_EQ(GetNum(rec, "b"), 77);  // the neighbour is untouched
    EXPECT_EQ(SetStr(rec, "s", ""), 1);
    EXPECT_STREQ(GetStr(rec, "s"), "");
    EXPECT_EQ(SetStr(rec, "s", nullptr), -1);
    EXPECT_TRUE(Logged("SetStr() para is NULL"));
    EXPECT_EQ(SetStr(rec, "nothing", "x"), -1);

    // A zero-size text item never takes a byte.
    Handle z = CreateResource(0, "zero.res", "Z");
    CreateItem(z, "n", ITEMlong, 0);
    CreateItem(z, "t", ITEMstring, 0);
    Handle zr = CreateRecord(z, 1, 0);
    SetNum(zr, "n", -1);
    EXPECT_EQ(SetStr(zr, "t", "x"), -1);
    EXPECT_EQ(GetNum(zr, "n"), -1);
}

TEST_F(ResourceTest, NamePathsSelectRecordsByKey) {
    Handle chars = CreateResource(0, "chars.res", "Chars");
    CreateItem(chars, "number", ITEMlong, 0);
    CreateItem(chars, "名前"_sj, ITEMstring, 20);
    CreateItem(chars, "hp", ITEMlong, 0);
    Handle c[4];
    const char* names[] = {"アリス"_sj, "ボブ"_sj, "アリス"_sj, "カイ"_sj};
    for (int i = 0; i < 4; ++i) {
        c[i] = CreateRecord(chars, -1, 0);
        SetNum(c[i], "number", i < 3 ? i + 1 : 3);  // records 2 and 3 both hold number 3
        SetStr(c[i], "名前"_sj, names[i]);
        SetNum(c[i], "hp", 100 + i);
    }
    SetNum(c[2], "number", 3);
    // One colon: the first active record of the record's own resource with the key value.
    EXPECT_EQ(GetNum(c[0], ".number:3.hp"), 102);
    EXPECT_TRUE(Logged(" get_adr2()  -.number:3.hp(type6)-(" + S("コロン数"_sj) + ":1) (" +
                       S("参考"_sj) + ":long6,str3,)"));
    EXPECT_TRUE(Logged("adr2 call hp (number:3)type 6"));
    EXPECT_TRUE(Logged("record check name " + S("アリス"_sj) + " -102-"));
    DeactivateRecord(0, chars, c[2]);
    EXPECT_EQ(GetNum(c[0], ".number:3.hp"), 103);
    EXPECT_EQ(SetNum(c[0], ".number:3.hp", 5), 5);
    EXPECT_EQ(GetNum(c[3], "hp"), 5);
    // A string key compares texts exactly.
    EXPECT_STREQ(GetStr(c[0], (S(".名前:ボブ.名前"_sj)).c_str()), "ボブ"_sj);
    EXPECT_EQ(GetStr(c[0], (S(".名前:ボ.名前"_sj)).c_str()), nullptr);
    EXPECT_EQ(GetNum(c[0], ".number:9.hp"), -1);

    // Two colons: through another resource, from a record of any resource.
    Handle party = CreateResource(0, "party.res", "Party");
    CreateItem(party, "x", ITEMlong, 0);
    Handle p = CreateRecord(party, 1, 0);
    EXPECT_EQ(GetNum(p, ".chars.res:Chars.number:2.hp"), 101);
    EXPECT_TRUE(Logged("in get_path_resource()"));
    EXPECT_EQ(GetNum(p, ".chars.res:Nobody.number:2.hp"), -1);
    EXPECT_EQ(SetNum(p, ".chars.res:Chars.number:2.hp", 7), 7);
    EXPECT_EQ(GetNum(c[1], "hp"), 7);
    // Zero colons, and paths that end too early or have too many colons.
    EXPECT_EQ(GetNum(p, ".x"), GetNum(p, "x"));
    EXPECT_EQ(get_adr2(p, ".chars.res:Chars", ITEMlong), nullptr);
    EXPECT_EQ(get_adr2(c[0], ".number:3", ITEMlong), nullptr);
    EXPECT_EQ(get_adr2(c[0], ".a:b:c:d.hp", ITEMlong), nullptr);
    EXPECT_EQ(get_adr2(c[0], "", ITEMlong), nullptr);
    EXPECT_EQ(get_adr2(c[0], nullptr, ITEMlong), nullptr);
}

TEST_F(ResourceTest, SearchesFindTheFirstActiveMatch) {
    Handle r = MakeASB();
    Handle rec[5];
    for (int i = 0; i < 5; ++i) {
        rec[i] = CreateRecord(r, -1, 0);
        SetNum(rec[i], "a", i * 10);
        SetStr(rec[i], "s", i % 2 ? "odd" : "even");
    }
    EXPECT_EQ(SearchRecordNum(r, "a", 1, 20), rec[2]);
    EXPECT_EQ(SearchRecordNum(r, "a", 1, 7), 0u);
    EXPECT_EQ(SearchRecordNum(r, "a", 2, 15), rec[2]);
    EXPECT_EQ(SearchRecordNum(r, "a", 3, 15), rec[0]);
    EXPECT_EQ(SearchRecordNum(r, "a", 4, 15), 0u);
    EXPECT_EQ(SearchRecordNum(r, "zz", 1, 0), 0u);
    EXPECT_EQ(SearchRecordStr(r, "s", "odd"), rec[1]);
    EXPECT_EQ(SearchRecordStr(r, "s", "od"), 0u);
    DeactivateRecord(0, r, rec[1]);
    DeactivateRecord(0, r, rec[0]);
    EXPECT_EQ(SearchRecordStr(r, "s", "odd"), rec[3]);
    EXPECT_EQ(SearchRecordNum(r, "a", 3, 15), 0u);
    // Chain order, not creation order, decides.
    MoveRecordBefore(rec[2], rec[4]);
    EXPECT_EQ(SearchRecordStr(r, "s", "even"), rec[4]);
    EXPECT_EQ(SearchRecordNum(CreateResource(0, "noitems.res", "N"), "a", 1, 0), 0u);
}

TEST_F(ResourceTest, CopyRecordFollowsTheDestinationTypes) {
    Handle src = CreateResource(0, "src.res", "S");
    CreateItem(src, "name", ITEMstring, 12);
    CreateItem(src, "hp", ITEMlong, 0);
    CreateItem(src, "mp", ITEMlong, 0);
    CreateItem(src, "code", 2, 0);
    CreateItem(src, "raw", 8, 4);
    CreateItem(src, "only_src", ITEMlong, 0);
    Handle dst = CreateResource(0, "dst.res", "D");
    CreateItem(dst, "hp", ITEMstring, 8);  // text from a long item: its bytes
    CreateItem(dst, "name", ITEMstring, 6);
    CreateItem(dst, "mp", ITEMlong, 0);
    CreateItem(dst, "code", 2, 0);
    CreateItem(dst, "raw", 8, 4);
    CreateItem(dst, "own", ITEMlong, 0);
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
    EXPECT_EQ(GetNum(d, "code"), 12);
    EXPECT_EQ(GetNum(d, "own"), 5);
    EXPECT_TRUE(Logged(S("CopyRecord()　Item Error"_sj)));  // the type-8 item
    EXPECT_EQ(CopyRecord(CreateRecord(CreateResource(0, "bare.res", "B"), 1, 8), d), 1);
    EXPECT_EQ(CopyRecord(s, 0), 0);
}

TEST_F(ResourceTest, DumpRecordsLogsTextsAndNumbers) {
    Handle r = MakeASB();
    Handle a = CreateRecord(r, -1, 0);
    SetNum(a, "a", 5);
    SetStr(a, "s", "five");
    SetNum(a, "b", -5);
    Handle hidden = CreateRecord(r, -1, 0);
    SetStr(hidden, "s", "hidden");
    DeactivateRecord(0, r, hidden);
    EXPECT_EQ(DumpRecords(r), 0);
    EXPECT_TRUE(Logged("a   5"));
    EXPECT_TRUE(Logged("s   five"));
    EXPECT_TRUE(Logged("b   -5"));
    EXPECT_FALSE(Logged("s   hidden"));
    EXPECT_EQ(DumpRecords(CreateResource(0, "noitems.res", "N")), 1);
}

TEST_F(ResourceTest, LongArrayElements) {
    Handle r = CreateResource(0, "arr.res", "A");
    CreateItem(r, "head", ITEMlong, 0);
    CreateItem(r, "arr", ITEMlongArray, 3);
    CreateItem(r, "tail", ITEMlong, 0);
    Handle rec = CreateRecord(r, 1, 0);
    EXPECT_EQ(dimension("arr[2]"), 2);
    EXPECT_EQ(dimension("arr"), -1);
    EXPECT_EQ(dimension("arr[2"), -1);
    EXPECT_TRUE(Logged("dimension() Error"));
    EXPECT_EQ(SetNum(rec, "arr[0]", 10), 10);
    EXPECT_EQ(SetNum(rec, "arr[2]", 12), 12);
    EXPECT_EQ(GetNum(rec, "arr[2]"), 12);
    EXPECT_EQ(get_adr(rec, "arr[1]", ITEMlongArray) - get_adr(rec, "head", ITEMlong), 8);
    EXPECT_EQ(SetNum(rec, "arr[3]", 13), -1);  // past the array
    EXPECT_EQ(SetNum(rec, "arr[-1]", 13), -1);
    EXPECT_EQ(GetNum(rec, "tail"), 0);
    EXPECT_EQ(GetNum(rec, "head"), 0);
    EXPECT_EQ(SearchRecordNum(r, "arr[2]", 1, 12), rec);
    // A "[" that is the second byte of a double-byte character is no bracket ("ー" is 81 5B).
    CreateItem(r, "パワー"_sj, ITEMlong, 0);
    Handle late = CreateResource(0, "kana.res", "K");
    CreateItem(late, "パワー"_sj, ITEMlong, 0);
    Handle k = CreateRecord(late, 1, 0);
    EXPECT_EQ(SetNum(k, "パワー"_sj, 9), 9);
    EXPECT_EQ(GetNum(k, "パワー"_sj), 9);
}

}  // namespace
