// Resource files (the stored layout, round trips, reloading, truncated and damaged files,
// refused and failing saves) and line files.
#include "resource/resource_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/lines.h"
#include "core/log.h"
#include "host/sjis_literal.h"
#include "resource_fixture.h"

namespace {

constexpr size_t kItems = 32 + 232, kEntries = kItems + 3 * 60, kRecord = 28 + 18;

// MakeASB with "a" limited to -100..100 and the records 5, unnumbered and 7 active, record 6
// inactive: a file of kEntries + 3 * kRecord bytes.
Handle MakeSample(const char* name) {
    Handle r = MakeASB(name);
    SetLimit(r, "a", 100, -100);
    const int32_t numbers[] = {5, -1, 6, 7}, b[] = {-2, 0x7F000001, 3, -1};
    for (int i = 0; i < 4; ++i) {
        Handle h = CreateRecord(r, numbers[i], 0);
        SetNum(h, "a", 30 * i - 40);
        SetStr(h, "s", std::to_string(123456789 * i).c_str());
        SetNum(h, "b", b[i]);
    }
    DeactivateRecord(0, r, search_record(r, 6));
    return r;
}

uint32_t Stored(const std::string& file, size_t offset, size_t bytes) {
    uint32_t v = 0;
    std::memcpy(&v, file.data() + offset, bytes);
    return v;
}

TEST_F(ResourceTest, RoundTripKeepsTheLayoutTheBlockAndEveryItemByte) {
    Handle saved = MakeSample("sample.res");
    std::memcpy(resource_attr(saved)->tag, "TAGGED", 7);
    MoveRecordBefore(search_record(saved, 5), search_record(saved, 7));
    SetSystemFlag(FLAG_MOTOROLA);
    ASSERT_EQ(SaveResource(0, saved), 0);
    std::string file = ReadFile("sample.res");
    ASSERT_EQ(file.size(), kEntries + 3 * kRecord);
    // "NOMA", "0.4", "17", a reserved byte, 'M' for MOTOROLA, then zeros.
    EXPECT_EQ(file.substr(0, 32), std::string("NOMA\0000.4\00017\0\0M", 14) + std::string(18, 0));
    EXPECT_EQ(Stored(file, 32 + 140, 4), 3u + (3u << 16));  // record and active count
    EXPECT_EQ(Stored(file, 32 + 188, 2), 3u);               // item count
    EXPECT_EQ(file.substr(kItems + 60, 2), std::string("s\0", 2));
    const int32_t numbers[] = {7, 5, -1};  // the active records in chain order
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(int32_t(Stored(file, kEntries + i * kRecord + 4, 4)), numbers[i]);
        EXPECT_EQ(Stored(file, kEntries + i * kRecord + 10, 2), 18u);  // body size
    }
    EXPECT_EQ(resource_attr(saved)->record_count, 4);  // the block in memory keeps its counts
    Restart();
    Handle r = OpenResource(0, "sample.res", "ASB");
    ASSERT_NE(r, 0u);
    EXPECT_STREQ(resource_attr(r)->tag, "TAGGED");
    EXPECT_EQ(resource_attr(r)->active_bytes, 3u * 18);
    Handle seven = FirstRecord(r);
    EXPECT_EQ(GetNum(seven, "a"), 50);
    EXPECT_STREQ(GetStr(seven, "s"), "370370367");
    EXPECT_EQ(GetNum(seven, "b"), -1);  // its top byte is the spare byte
    // Items are defined anew: the stored limits stay in the file, the loaded item is unlimited.
    EXPECT_EQ(file.substr(kItems + 22, 1), std::string(1, char(ITEM_LIMITED)));
    EXPECT_EQ(int32_t(Stored(file, kItems + 28, 4)), 100);
    const ItemDesc* a = item_desc(FindItem(r, "a"));
    EXPECT_EQ(a->flags, 0);
    EXPECT_EQ(a->upper, 0);
    EXPECT_EQ(a->lower, 0);
    EXPECT_EQ(SetNum(seven, "a", 500), 500);
    // With the limits set again and the value back, saving gives the same bytes.
    SetLimit(r, "a", 100, -100);
    SetNum(seven, "a", 50);
    ASSERT_EQ(SaveResource(0, r), 0);
    EXPECT_EQ(ReadFile("sample.res"), file);
}

TEST_F(ResourceTest, LoadingReplacesItemsRecordsAndTheAskedNames) {
    ASSERT_EQ(SaveResource(0, MakeSample("sample.res")), 0);
    std::filesystem::copy_file("sample.res", "copy.res");
    Restart();
    Handle copy = OpenResource(0, "copy.res", "Other");  // the stored names replace these
    EXPECT_EQ(FindResource("sample.res", "ASB"), copy);
    EXPECT_EQ(FindResource("copy.res", "Other"), 0u);
    Restart();
    Handle r = CreateResource(0, "sample.res", "ASB");
    CreateItem(r, "other", ITEMlong, 0);
    for (int n = 1; n <= 5; ++n)
        CreateRecord(r, n, 0);
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(OpenResource(0, "sample.res", "ASB"), r);
        EXPECT_EQ(Chain(r).size(), 3u);
        EXPECT_EQ(RecordCount(r), 3);
        EXPECT_EQ(CheckRecordChain(r), 0);
        EXPECT_EQ(ItemType(r, "other"), -1);
        EXPECT_EQ(search_record(r, 1), 0u);
        EXPECT_EQ(search_record(r, 5), Chain(r)[0]);
    }
}

TEST_F(ResourceTest, TruncatedFilesKeepWhatWasRead) {
    ASSERT_EQ(SaveResource(0, MakeSample("sample.res")), 0);
    const std::string whole = ReadFile("sample.res");
    // Around every boundary between the pieces: the header, the block, each item, each
    // record's entry and body.
    std::vector<size_t> cuts = {0, 32, kItems, kItems + 60, kItems + 120};
    for (size_t k = 0; k < 3; ++k)
        cuts.insert(cuts.end(), {kEntries + k * kRecord, kEntries + k * kRecord + 28});
    for (size_t b : cuts) {
        for (size_t cut = b == 0 ? 0 : b - 1; cut <= b + 1; ++cut) {
            SCOPED_TRACE("cut at " + std::to_string(cut));
            Restart();
            WriteFile("cut.res", whole.substr(0, cut));
            size_t logged = LogLines().size();
            Handle r = OpenResource(0, "cut.res", "ASB");
            std::vector<std::string> lines = LogLines();
            EXPECT_EQ(std::count(lines.begin() + long(logged), lines.end(), "MSG9"),
                      cut < kEntries ? 1 : 0);
            // Past the header the resource exists, holding the items and records read so far.
            Handle made = FindResource(cut < kItems ? "cut.res" : "sample.res", "ASB");
            EXPECT_EQ(r, cut < kEntries ? 0u : made);
            EXPECT_EQ(made != 0, cut >= 32);
            if (cut >= kItems) {
                EXPECT_EQ(resource_attr(made)->item_count,
                          std::min<size_t>(3, (cut - kItems) / 60));
                EXPECT_EQ(size_t(RecordCount(made)),
                          cut < kEntries ? 0 : (cut - kEntries) / kRecord);
            }
        }
    }
}

// (Repeated and refused record numbers are cases of LoadingInOneRunMatchesCreatingRecordByRecord.)
TEST_F(ResourceTest, AnItemNoRecordCouldHoldIsRefused) {
    ASSERT_EQ(SaveResource(0, MakeSample("sample.res")), 0);
    std::string file = ReadFile("sample.res");
    const int32_t huge = 1 << 16;
    std::memcpy(&file[kItems + 60 + 24], &huge, 4);
    WriteFile("huge.res", file);
    Restart();
    EXPECT_EQ(OpenResource(0, "huge.res", "ASB"), 0u);
}

// A stored record for StoredFile: number, stored size and its body bytes.
struct StoredRecord {
    int32_t number;
    uint16_t size;
    std::string body;
};

// A resource file written byte by byte: items (name, type, stored size) and records.
std::string StoredFile(const char* name, const std::vector<ItemDesc>& items,
                       const std::vector<StoredRecord>& records) {
    std::string file("NOMA\0000.4\00017\0\0I", 14);
    file.resize(32, '\0');
    ResourceAttr attr{};
    std::strcpy(attr.name, name);
    std::strcpy(attr.data_name, "BULK");
    attr.item_count = uint16_t(items.size());
    attr.record_count = attr.active_count = uint16_t(records.size());
    file.append(reinterpret_cast<const char*>(&attr), sizeof attr);
    for (const ItemDesc& item : items)
        file.append(reinterpret_cast<const char*>(&item), sizeof item);
    for (const StoredRecord& record : records) {
        HandleEntry entry{};
        entry.number = record.number;
        entry.size = record.size;
        file.append(reinterpret_cast<const char*>(&entry), sizeof entry);
        file += record.body;
    }
    return file;
}

ItemDesc Item(const char* name, uint8_t type, uint32_t size) {
    ItemDesc item{};
    std::strcpy(item.name, name);
    item.type = type;
    item.size = size;
    return item;
}

// What a load leaves behind, down to the handles and the pool's marks.
struct Loaded {
    Handle resource = 0;
    std::vector<HandleEntry> entries;
    std::vector<std::string> bodies;  // each with its spare byte
    std::vector<uint32_t> counts;
    std::vector<Handle> found;  // search_record for every stored number
    Handle reused = 0, added = 0;
    uint32_t relocate_line = 0, unrelocate_line = 0;
    std::vector<std::string> lines;
    bool operator==(const Loaded& other) const {
        return resource == other.resource &&
               std::memcmp(entries.data(), other.entries.data(),
                           entries.size() * sizeof(HandleEntry)) == 0 &&
               entries.size() == other.entries.size() && bodies == other.bodies &&
               counts == other.counts && found == other.found && reused == other.reused &&
               added == other.added && relocate_line == other.relocate_line &&
               unrelocate_line == other.unrelocate_line && lines == other.lines;
    }
};

// The reader creates most records in one run; whatever it does must be what creating them
// one by one with CreateRecord gives: the same handles, headers, bodies, counts, lookups,
// later reuse, pool use and log lines. The model loads the file without its records, then
// creates them as the reader once did, record by record.
TEST_F(ResourceTest, LoadingInOneRunMatchesCreatingRecordByRecord) {
    const std::vector<ItemDesc> items = {Item("a", ITEMlong, 4), Item("s", ITEMstring, 10),
                                         Item("b", ITEMlong, 4)};
    auto numbered = [](std::vector<int32_t> numbers, uint16_t size) {
        std::vector<StoredRecord> records;
        for (size_t i = 0; i < numbers.size(); ++i) {
            std::string body(size, '\0');
            for (size_t k = 0; k < body.size(); ++k)
                body[k] = char(i * 31 + k * 7 + 1);  // byte 0 carries the spare byte
            records.push_back({numbers[i], size, body});
        }
        return records;
    };
    std::vector<int32_t> many;
    for (int n = 1; n <= 4200; ++n)
        many.push_back(n);  // more than the test pool's table holds: it has to grow
    struct Case {
        const char* what;
        std::vector<ItemDesc> items;
        std::vector<StoredRecord> records;
        uint32_t flags;
    };
    const Case cases[] = {
        {"unnumbered and unordered", items, numbered({-1, 9, -1, 4, 7, -1, 2}, 18), FLAG_TRACE},
        {"a repeated number", items, numbered({1, 2, 3, 2, 4, 3, 5}, 18), FLAG_TRACE},
        {"traced: number 0 and a repeat", items, numbered({0, 5, 0, 6, -1}, 18),
         FLAG_TRACE | FLAG_RESOUCE_TEST},
        {"traced: a refused number", items, numbered({3, 4, 70000, 6}, 18),
         FLAG_TRACE | FLAG_RESOUCE_TEST},
        {"no items, sizes of their own",
         {},
         {{1, 10, std::string(10, 'x')},
          {2, 0, ""},
          {-1, 300, std::string(300, 'y')},
          {1, 4, "zzzz"},
          {3, 65535, std::string(65535, 'w')},
          {4, 2, "vv"}},
         FLAG_TRACE},
        {"a table that must grow", items, numbered(many, 18), FLAG_TRACE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = StoredFile("bulk.res", c.items, c.records);
        const size_t records_at = 32 + 232 + 60 * c.items.size();
        WriteFile("bulk.res", file);
        auto collect = [&](Handle r, bool ok, size_t logged, Loaded& out) {
            out.resource = r;
            for (Handle h : Chain(r)) {
                out.entries.push_back(*handle_entry(h));
                out.bodies.emplace_back(reinterpret_cast<const char*>(record_body(h)),
                                        handle_entry(h)->size + 1);
            }
            const ResourceAttr* attr = resource_attr(r);
            out.counts = {attr->record_count,
                          attr->active_count,
                          attr->active_bytes,
                          g_resource_chain.record_count,
                          g_resource_chain.record_bytes,
                          ok};
            for (const StoredRecord& record : c.records)
                out.found.push_back(search_record(r, record.number));
            std::vector<std::string> lines = LogLines();
            out.lines.assign(lines.begin() + long(logged), lines.end());
            if (Handle first = FirstRecord(r)) {
                uint32_t size = handle_entry(first)->size;
                DeactivateRecord(0, r, first);
                out.reused = CreateRecord(r, -1, size);
            }
            out.added = CreateRecord(r, 60000, 8);
            PoolMarks marks = GetPoolMarks();
            out.relocate_line = marks.relocate_line;
            out.unrelocate_line = marks.unrelocate_line;
        };

        Restart();
        StoreSystemFlags(c.flags);
        Loaded bulk;
        size_t logged = LogLines().size();
        Handle loaded = OpenResource(0, "bulk.res", "BULK");
        collect(FindResource("bulk.res", "BULK"), loaded != 0, logged, bulk);

        Restart();
        StoreSystemFlags(c.flags);
        Loaded model;
        logged = LogLines().size();
        WriteFile("bulk.res", file.substr(0, records_at));  // the same, without its records
        Handle r = OpenResource(0, "bulk.res", "BULK");     // the same lines up to the records
        ASSERT_NE(r, 0u);
        uint32_t record_size = resource_attr(r)->record_size;
        bool ok = true;
        for (size_t k = 0; k < c.records.size() && ok; ++k) {
            const StoredRecord& stored = c.records[k];
            Handle record = CreateRecord(r, stored.number, stored.size);
            if (!record) {
                const ResourceAttr* attr = resource_attr(r);
                LogLine("READING ERROR");
                LogLinef("   ResName  %s   DataName  %s", attr->name, attr->data_name);
                LogLinef("   Size     %ld   Count     %d", long(attr->active_bytes),
                         int(attr->record_count));
                LogLinef("  error is resource number %d.", int(k + 1));
                LogLine("MSG9");
                LogLine("bulk.res");
                ok = false;
                break;
            }
            uint32_t room = handle_entry(record)->size;
            uint32_t size = record_size ? record_size : stored.size;
            std::memcpy(record_body(record), stored.body.data(), std::min(size, room));
            if (record_size && room >= record_size)
                RestoreSpareByte(record_body(record), record_size);
        }
        if (ok && (c.flags & FLAG_RESOUCE_TEST)) LogLine("OpenResource OK!!");
        collect(r, ok, logged, model);
        if (c.flags & FLAG_RESOUCE_TEST)  // the line that ended the load without records
            model.lines.erase(
                std::find(model.lines.begin(), model.lines.end(), "OpenResource OK!!"));

        EXPECT_EQ(bulk.entries.size(), model.entries.size());
        EXPECT_EQ(bulk.found, model.found);
        EXPECT_EQ(bulk.lines, model.lines);
        EXPECT_TRUE(bulk == model);
    }
}

TEST_F(ResourceTest, OpeningReportsItsMessages) {
    EXPECT_EQ(OpenResource(0, "missing.res", "X"), 0u);
    ExpectLogged({"MSG6", "missing.res"});
    ASSERT_EQ(SaveResource(0, MakeSample("sample.res")), 0);
    std::string file = ReadFile("sample.res");
    const char* names[] = {"tag.res", "version.res", "motorola.res"};
    const size_t at[] = {0, 7, 13};
    for (int i = 0; i < 3; ++i) {
        std::string changed = file;
        changed[at[i]] = "X5M"[i];
        WriteFile(names[i], changed);
    }
    EXPECT_NE(OpenResource(0, "tag.res", "ASB"), 0u);  // not checked without TEST_RUN
    EXPECT_FALSE(Logged("MSG83"));
    SetSystemFlag(FLAG_TEST_RUN);
    for (const char* name : names)
        EXPECT_NE(OpenResource(0, name, "ASB"), 0u) << name;
    SetSystemFlag(FLAG_MOTOROLA);
    Handle r = OpenResource(0, "sample.res", "ASB");
    EXPECT_EQ(GetNum(search_record(r, 5), "b"), -2);  // no change of byte order
    ExpectLogged({"MSG83", "tag.res", "MSG84", "Memoey Typeが MOTOROLA なﾘｿｰｽを読みました"_sj,
                  "Memory Typeが INTEL なﾘｿｰｽを読みました"_sj});
    // Under TASK, a task that is not registered can neither save nor open.
    SetSystemFlag(FLAG_TASK);
    EXPECT_EQ(SaveResource(0, r), 1);
    EXPECT_EQ(OpenResource(12345, "sample.res", "ASB"), 0u);
    std::vector<std::string> lines = LogLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "MSG72"), 2);
    Handle task = CreateRecord(g_resources.task, -1, 516);
    EXPECT_EQ(SaveResource(task, r), 0);
    EXPECT_EQ(OpenResource(task, "sample.res", "ASB"), r);
}

TEST_F(ResourceTest, FailedSavesKeepTheOldFileAndLeaveNoTemporaryFile) {
    WriteFile("sample.res", "old contents");
    ASSERT_EQ(SaveResource(0, MakeSample("sample.res")), 0);
    EXPECT_EQ(ReadFile("sample.res").size(), kEntries + 3 * kRecord);
    std::filesystem::create_directory("folder.res");  // a target that cannot be replaced
    EXPECT_EQ(SaveResource(0, MakeSample("folder.res")), 8);
    EXPECT_TRUE(std::filesystem::is_directory("folder.res"));
    EXPECT_EQ(SaveResource(0, MakeSample("nowhere\\x.res")), 1);  // refused before writing
    ExpectLogged({"MSG8", "folder.res", "MSG6"});
    std::filesystem::create_directory("sub");  // a folder written the Windows way
    EXPECT_EQ(SaveResource(0, MakeSample("sub\\inner.res")), 0);
    EXPECT_TRUE(std::filesystem::exists("sub/inner.res"));
    for (const auto& e : std::filesystem::recursive_directory_iterator("."))
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos);
}

TEST_F(ResourceTest, LineFilesAndWholeFiles) {
    auto line = [](const char* file, int n) {
        char out[kLineFileMaxLine + 1];
        const char* got = read_line_file(file, out, n);
        return std::string(got ? got : "<none>");
    };
    // The last line needs no newline, Ctrl-Z ends the file, a long line is read as several
    // lines of 1023 bytes; a line past the end is logged, a missing file or line 0 are not.
    WriteFile("lines.txt", "one\r\n" + std::string(1500, 'x') + "\nlast\x1Ahidden\n");
    EXPECT_EQ(line("lines.txt", 3), std::string(477, 'x'));
    EXPECT_EQ(line("lines.txt", 4), "last");
    EXPECT_EQ(line("lines.txt", 5), "<none>");
    size_t logged = LogLines().size();
    EXPECT_EQ(line("lines.txt", 0), "<none>");
    EXPECT_EQ(line("missing.txt", 1), "<none>");
    EXPECT_EQ(LogLines().size(), logged);
    char out[16] = "garbage";
    line_copy("", out);
    EXPECT_STREQ(out, "");
    ExpectLogged({"read_line_file() error! lines.txt (line 4 req 5)",
                  "line_copy()で改行がみつかりませんでした"_sj});

    WriteFile("bytes.bin", std::string("a\r\nb\x1A\0c", 7));
    EXPECT_EQ(FileSize("bytes.bin"), 7);
    char buffer[8];
    EXPECT_EQ(ReadWholeFile("bytes.bin", buffer), 1);  // with an end mark, no NUL
    EXPECT_EQ(std::string(buffer, 8), std::string("a\r\nb\x1A\0c\xFF", 8));
    EXPECT_EQ(ReadWholeFile("bytes.bin", buffer, 4), 1);
    EXPECT_EQ(std::string(buffer, 4), "a\r\n\xFF");
    EXPECT_EQ(ReadWholeFile("missing.bin", buffer), 0);
}

TEST_F(ResourceTest, ListEntriesAreTheFirstNonEmptyPrefixEndedByAComma) {
    char out[16] = "";
    EXPECT_EQ(FindListEntry("ab12", "xy,ab,cd,", out), 1);
    EXPECT_STREQ(out, "ab");
    EXPECT_EQ(FindListEntry("abc", "a,ab,", out), 1);
    EXPECT_STREQ(out, "a");
    for (const char* list : {"ab", "xy,abc,", ",,ab1,", "xy,ab"})
        EXPECT_EQ(FindListEntry("ab", list, out), 0) << list;
}

}  // namespace
