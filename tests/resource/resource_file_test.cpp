#include "resource/resource_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "host/sjis_literal.h"
#include "kernel/system.h"
#include "resource/resource.h"
#include "support/test_env.h"

namespace {

class ResourceFileTest : public NomaTest {
protected:
    void SetUp() override {
        NomaTest::SetUp();
        ASSERT_TRUE(CreateSystemResources());
        std::string messages;
        for (int i = 1; i <= 100; ++i)
            messages += "MSG" + std::to_string(i) + "\n";
        WriteFile("SYSTEM.msg", messages);
    }

    // A new pool, as after a restart of the program.
    void Restart() {
        UsePool(64 * 1024 * 1024, 4096);
        ASSERT_TRUE(CreateSystemResources());
    }

    // Items a (long), s (string of 10), b (long, last item, ends on the spare byte); record
    // size 18. Records 5, unnumbered and 7 are active; record 6 is deactivated.
    Handle MakeSample(const char* name) {
        Handle r = CreateResource(0, name, "Sample");
        CreateItem(r, "a", ITEMlong, 0);
        CreateItem(r, "s", ITEMstring, 10);
        CreateItem(r, "b", ITEMlong, 0);
        SetLimit(r, "a", 100, -100);
        Fill(CreateRecord(r, 5, 0), 1, "first", -2);
        Fill(CreateRecord(r, -1, 0), -50, "second", 0x7F000001);
        Handle gone = CreateRecord(r, 6, 0);
        Fill(gone, 3, "gone", 3);
        DeactivateRecord(0, r, gone);
        Fill(CreateRecord(r, 7, 0), 99, "123456789", -1);
        return r;
    }

    void Fill(Handle record, int32_t a, const char* s, int32_t b) {
        SetNum(record, "a", a);
        SetStr(record, "s", s);
        SetNum(record, "b", b);
    }

    static std::vector<Handle> Chain(Handle r) {
        std::vector<Handle> records;
        for (Handle h = resource_attr(r)->first_record; h; h = handle_entry(h)->next)
            records.push_back(h);
        return records;
    }

    // The item bytes of every active record (body bytes 1 .. record size, spare byte
    // included) with the record numbers.
    static std::vector<std::pair<int32_t, std::string>> Contents(Handle r) {
        std::vector<std::pair<int32_t, std::string>> out;
        uint32_t size = resource_attr(r)->record_size;
        for (Handle h = FirstRecord(r); h; h = NextRecord(h)) {
            const char* body = reinterpret_cast<const char*>(record_body(h));
            out.emplace_back(handle_entry(h)->number, std::string(body + 1, size));
        }
        return out;
    }

    // True when `line` was logged after the first `from` lines.
    bool LoggedSince(size_t from, const std::string& line) {
        std::vector<std::string> lines = LogLines();
        for (size_t i = from; i < lines.size(); ++i)
            if (lines[i] == line) return true;
        return false;
    }

    uint32_t Stored16(const std::string& file, size_t offset) {
        uint16_t v;
        std::memcpy(&v, file.data() + offset, 2);
        return v;
    }
};

TEST_F(ResourceFileTest, FileLayoutFollowsTheCounts) {
    Handle r = CreateResource(0, "two.res", "Two");
    CreateItem(r, "x", ITEMlong, 0);
    CreateItem(r, "y", ITEMlong, 0);
    for (int n = 1; n <= 4; ++n)
        CreateRecord(r, n, 0);
    DeactivateRecord(0, r, search_record(r, 2));
    SetSystemFlag(FLAG_MOTOROLA);
    ASSERT_EQ(SaveResource(0, r), 0);

    std::string file = ReadFile("two.res");
    ASSERT_EQ(file.size(), 32u + 232 + 2 * 60 + 3 * (28 + 8));
    EXPECT_EQ(std::memcmp(file.data(),
                          "NOMA\0"
                          "0.4\0"
                          "17\0",
                          12),
              0);
    EXPECT_EQ(file[13], 'M');
    EXPECT_EQ(file.substr(14, 18), std::string(18, '\0'));
    EXPECT_EQ(Stored16(file, 32 + 140), 3u);  // record count
    EXPECT_EQ(Stored16(file, 32 + 142), 3u);  // active count
    EXPECT_EQ(Stored16(file, 32 + 188), 2u);  // item count
    EXPECT_EQ(std::string(file.data() + 32 + 232, 1), "x");
    // Only active records, in chain order, each entry holding its number and body size.
    const size_t records = 32 + 232 + 120;
    int32_t numbers[3];
    for (int i = 0; i < 3; ++i) {
        std::memcpy(&numbers[i], file.data() + records + i * 36 + 4, 4);
        EXPECT_EQ(Stored16(file, records + i * 36 + 10), 8u);
    }
    EXPECT_EQ(numbers[0], 1);
    EXPECT_EQ(numbers[1], 3);
    EXPECT_EQ(numbers[2], 4);
    // The block in memory keeps its own counts.
    EXPECT_EQ(resource_attr(r)->record_count, 4);
    ClearSystemFlag(FLAG_MOTOROLA);
    ASSERT_EQ(SaveResource(0, r), 0);
    EXPECT_EQ(ReadFile("two.res")[13], 'I');
}

TEST_F(ResourceFileTest, RoundTripKeepsEveryItemByte) {
    Handle saved = MakeSample("sample.res");
    ResourceAttr* attr = resource_attr(saved);
    std::memcpy(attr->tag, "TAGGED", 7);
    attr->owner_task = 31;
    attr->group = 2;
    ClockRecord created = attr->created;
    auto expected = Contents(saved);
    ASSERT_EQ(SaveResource(0, saved), 0);
    std::string first_file = ReadFile("sample.res");

    Restart();
    Handle r = OpenResource(0, "sample.res", "Sample");
    ASSERT_NE(r, 0u);
    attr = resource_attr(r);
    EXPECT_STREQ(attr->name, "sample.res");
    EXPECT_STREQ(attr->data_name, "Sample");
    EXPECT_STREQ(attr->tag, "TAGGED");
    EXPECT_EQ(attr->owner_task, 31u);
    EXPECT_EQ(attr->group, 2);
    EXPECT_EQ(attr->created.date, created.date);
    EXPECT_EQ(attr->created.time, created.time);
    EXPECT_EQ(attr->record_size, 18u);
    EXPECT_EQ(attr->item_count, 3);
    EXPECT_EQ(attr->record_count, 3);
    EXPECT_EQ(attr->active_count, 3);
    EXPECT_EQ(attr->active_bytes, 3u * 18);
    EXPECT_EQ(Contents(r), expected);
    EXPECT_EQ(GetNum(search_record(r, 5), "b"), -2);
    EXPECT_EQ(GetNum(search_record(r, 7), "b"), -1);
    EXPECT_STREQ(GetStr(search_record(r, 7), "s"), "123456789");
    EXPECT_EQ(search_record(r, 6), 0u);
    // Saving what was loaded gives the same bytes.
    ASSERT_EQ(SaveResource(0, r), 0);
    EXPECT_EQ(ReadFile("sample.res"), first_file);
    // The limits of a limited item come back with it.
    EXPECT_EQ(SetNum(FirstRecord(r), "a", 500), 100);
    EXPECT_TRUE(Logged("Read Item data name s type 3  size 10(1/3)"));
    EXPECT_TRUE(Logged("Write Item data name b type 6  size 4"));
}

TEST_F(ResourceFileTest, StoredNamesReplaceTheAskedOnes) {
    ASSERT_EQ(SaveResource(0, MakeSample("sample.res")), 0);
    std::filesystem::copy_file("sample.res", "copy.res");
    Restart();
    Handle r = OpenResource(0, "copy.res", "Other");
    ASSERT_NE(r, 0u);
    EXPECT_STREQ(resource_attr(r)->name, "sample.res");
    EXPECT_STREQ(resource_attr(r)->data_name, "Sample");
    EXPECT_EQ(FindResource("sample.res", "Sample"), r);
}

TEST_F(ResourceFileTest, ReloadReplacesItemsAndRecords) {
    ASSERT_EQ(SaveResource(0, MakeSample("sample.res")), 0);
    Restart();
    // The resource exists with other items and records before the file is read.
    Handle r = CreateResource(0, "sample.res", "Sample");
    CreateItem(r, "other", ITEMlong, 0);
    for (int n = 1; n <= 5; ++n)
        CreateRecord(r, n, 0);
    Handle old_first = FirstRecord(r);

    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(OpenResource(0, "sample.res", "Sample"), r);
        std::vector<Handle> chain = Chain(r);
        ASSERT_EQ(chain.size(), 3u);
        EXPECT_EQ(RecordCount(r), 3);
        EXPECT_EQ(CheckRecordChain(r), 0);
        EXPECT_EQ(ItemType(r, "other"), -1);
        EXPECT_EQ(resource_attr(r)->item_count, 3);
        for (Handle h : chain)
            EXPECT_NE(h, old_first);
        EXPECT_EQ(search_record(r, 1), 0u);
        EXPECT_EQ(search_record(r, 5), chain[0]);
        EXPECT_EQ(handle_entry(chain[1])->number, -1);
        old_first = chain[0];
    }
}

TEST_F(ResourceFileTest, EqualNumbersCollapseIntoOneRecord) {
    Handle r = CreateResource(0, "dup.res", "Dup");
    CreateItem(r, "v", ITEMlong, 0);
    for (int i = 0; i < 4; ++i)
        SetNum(CreateRecord(r, -1, 0), "v", 10 + i);
    ASSERT_EQ(SaveResource(0, r), 0);
    // Give the first two and the last stored record the number 4.
    std::string file = ReadFile("dup.res");
    const size_t records = 32 + 232 + 60;
    int32_t four = 4;
    for (int i : {0, 1, 3})
        std::memcpy(&file[records + i * 32 + 4], &four, 4);
    WriteFile("dup.res", file);

    Restart();
    Handle loaded = OpenResource(0, "dup.res", "Dup");
    ASSERT_NE(loaded, 0u);
    ASSERT_EQ(RecordCount(loaded), 2);
    EXPECT_EQ(GetNum(search_record(loaded, 4), "v"), 13);  // the last body wins
    EXPECT_EQ(GetNum(search_record(loaded, -1), "v"), 12);
}

TEST_F(ResourceFileTest, TruncatedFilesKeepWhatWasRead) {
    ASSERT_EQ(SaveResource(0, MakeSample("sample.res")), 0);
    const std::string whole = ReadFile("sample.res");
    const size_t items = 32 + 232, records = items + 3 * 60, record = 28 + 18;
    ASSERT_EQ(whole.size(), records + 3 * record);

    // Around every boundary between the pieces: the header, the block, each item, each
    // record's entry and body.
    std::vector<size_t> cuts = {0, 32, items, items + 60, items + 120, whole.size()};
    for (size_t k = 0; k < 3; ++k) {
        cuts.push_back(records + k * record);
        cuts.push_back(records + k * record + 28);
    }
    std::vector<size_t> around;
    for (size_t b : cuts)
        for (size_t c : {b - 1, b, b + 1})
            if (c < whole.size()) around.push_back(c);
    for (size_t cut : around) {
        SCOPED_TRACE("cut at " + std::to_string(cut));
        Restart();
        WriteFile("cut.res", whole.substr(0, cut));
        size_t log_start = LogLines().size();
        Handle r = OpenResource(0, "cut.res", "Sample");
        if (cut < records) {
            EXPECT_EQ(r, 0u);
            EXPECT_TRUE(LoggedSince(log_start, "MSG9"));
            // Past the header the resource exists, holding the items read so far.
            Handle made = FindResource(cut < items ? "cut.res" : "sample.res", "Sample");
            EXPECT_EQ(made != 0, cut >= 32);
            if (cut >= items) {
                EXPECT_EQ(resource_attr(made)->item_count, (cut - items) / 60);
            }
        } else {
            ASSERT_NE(r, 0u);
            EXPECT_EQ(size_t(RecordCount(r)), (cut - records) / record);
            EXPECT_EQ(CheckRecordChain(r), 0);
            if (RecordCount(r) > 0) {
                EXPECT_EQ(GetNum(FirstRecord(r), "b"), -2);
            }
            EXPECT_FALSE(LoggedSince(log_start, "MSG9"));
        }
    }
}

TEST_F(ResourceFileTest, OpenReportsItsMessages) {
    EXPECT_EQ(OpenResource(0, "missing.res", "X"), 0u);
    EXPECT_TRUE(Logged("MSG6"));
    EXPECT_TRUE(Logged("missing.res"));

    ASSERT_EQ(SaveResource(0, MakeSample("sample.res")), 0);
    std::string file = ReadFile("sample.res");
    file[0] = 'X';
    WriteFile("badtag.res", file);
    file[0] = 'N';
    file[7] = '5';
    WriteFile("badversion.res", file);
    file[7] = '4';
    file[13] = 'M';
    WriteFile("motorola.res", file);

    // Without TEST_RUN the header is not checked.
    EXPECT_NE(OpenResource(0, "badtag.res", "Sample"), 0u);
    EXPECT_FALSE(Logged("MSG83"));

    SetSystemFlag(FLAG_TEST_RUN | FLAG_RESOUCE_TEST);
    EXPECT_NE(OpenResource(0, "badtag.res", "Sample"), 0u);
    EXPECT_TRUE(Logged("MSG83"));
    EXPECT_TRUE(Logged("badtag.res"));
    EXPECT_NE(OpenResource(0, "badversion.res", "Sample"), 0u);
    EXPECT_TRUE(Logged("MSG84"));
    EXPECT_NE(OpenResource(0, "motorola.res", "Sample"), 0u);
    EXPECT_TRUE(Logged("Memoey Typeが MOTOROLA なﾘｿｰｽを読みました"_sj));
    SetSystemFlag(FLAG_MOTOROLA);
    Handle r = OpenResource(0, "sample.res", "Sample");
    ASSERT_NE(r, 0u);
    EXPECT_TRUE(Logged("Memory Typeが INTEL なﾘｿｰｽを読みました"_sj));
    EXPECT_EQ(GetNum(search_record(r, 5), "b"), -2);  // no change of byte order
    EXPECT_TRUE(Logged("ResourceHeder :NOMA   0.417"));
    EXPECT_TRUE(Logged("\t:sts 0   size 0"));
    EXPECT_TRUE(Logged("\tNAME sample.res   TYPE Sample  RecordCount 3"));
    EXPECT_TRUE(Logged("OpenResource OK!!"));
}

TEST_F(ResourceFileTest, RecordsThatCannotBeCreatedFailTheLoad) {
    ASSERT_EQ(SaveResource(0, MakeSample("sample.res")), 0);
    std::string file = ReadFile("sample.res");
    int32_t number = 70000;  // refused under RESOUCE_TEST
    std::memcpy(&file[32 + 232 + 180 + 46 + 4], &number, 4);
    WriteFile("bad.res", file);
    SetSystemFlag(FLAG_RESOUCE_TEST);
    Restart();
    EXPECT_EQ(OpenResource(0, "bad.res", "Sample"), 0u);
    EXPECT_TRUE(Logged("READING ERROR"));
    EXPECT_TRUE(Logged("  error is resource number 2."));
    EXPECT_TRUE(Logged("MSG9"));
    Handle r = FindResource("sample.res", "Sample");
    ASSERT_NE(r, 0u);
    EXPECT_EQ(RecordCount(r), 1);  // the record read before the bad one stays

    // An item table no record could hold is refused as a read error.
    file = ReadFile("sample.res");
    uint32_t huge = 0x10000;
    std::memcpy(&file[32 + 232 + 60 + 24], &huge, 4);
    WriteFile("huge.res", file);
    EXPECT_EQ(OpenResource(0, "huge.res", "Sample"), 0u);
}

TEST_F(ResourceFileTest, UnregisteredTasksAreRefusedUnderTask) {
    Handle r = MakeSample("sample.res");
    SetSystemFlag(FLAG_TASK);
    EXPECT_EQ(SaveResource(0, r), 1);
    EXPECT_EQ(OpenResource(12345, "sample.res", "Sample"), 0u);
    int count = 0;
    for (const std::string& line : LogLines())
        count += line == "MSG72";
    EXPECT_EQ(count, 2);
    EXPECT_FALSE(std::filesystem::exists("sample.res"));

    Handle task = CreateRecord(g_resources.task, -1, 516);
    EXPECT_EQ(SaveResource(task, r), 0);
    EXPECT_EQ(OpenResource(task, "sample.res", "Sample"), r);
}

TEST_F(ResourceFileTest, FailedSavesKeepTheOldFile) {
    Handle r = MakeSample("sample.res");
    WriteFile("sample.res", "old contents");
    ASSERT_EQ(SaveResource(0, r), 0);
    EXPECT_EQ(ReadFile("sample.res").size(), 32u + 232 + 180 + 3 * 46);

    // A target that cannot be replaced: the write fails, nothing is left behind.
    Handle blocked = MakeSample("folder.res");
    std::filesystem::create_directory("folder.res");
    EXPECT_EQ(SaveResource(0, blocked), 8);
    EXPECT_TRUE(Logged("MSG8"));
    EXPECT_TRUE(Logged("folder.res"));
    EXPECT_TRUE(std::filesystem::is_directory("folder.res"));

    // A folder that does not exist: refused before writing.
    EXPECT_EQ(SaveResource(0, MakeSample("nowhere\\x.res")), 1);
    EXPECT_TRUE(Logged("MSG6"));
    EXPECT_EQ(SaveResource(0, 0), 1);

    // A name with a folder written the Windows way lands in that folder.
    std::filesystem::create_directory("sub");
    EXPECT_EQ(SaveResource(0, MakeSample("sub\\inner.res")), 0);
    EXPECT_TRUE(std::filesystem::exists("sub/inner.res"));

    std::vector<std::string> names;
    for (const auto& e : std::filesystem::recursive_directory_iterator("."))
        names.push_back(e.path().filename().string());
    for (const std::string& name : names)
        EXPECT_EQ(name.find(".tmp"), std::string::npos);
}

}  // namespace
