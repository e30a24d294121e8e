// Resources and records: creation, record headers, numbers, reuse, selection, refusals, a full
// pool, the chain check and random operations against a model of the chain (which with the
// bulk loader's model also checks the record index's number map).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/pool.h"
#include "host/sjis_literal.h"
#include "resource/task_record.h"
#include "resource_fixture.h"

namespace {

// A registered task with an id, a group and a name.
Handle MakeTask(int32_t id, uint16_t group) {
    Handle task = CreateRecord(g_resources.task, id, sizeof(TaskRecord));
    TaskRecord* t = task_record(task);
    t->id = uint32_t(id);
    t->group = group;
    std::strcpy(t->name, "Ilvane");
    return task;
}

TEST_F(ResourceTest, CreationFillsTheAttributeBlock) {
    // The user is the owner name configured at start-up; NOMA.ini is not read again (a
    // missing USER_NAME would log a line per resource).
    std::strcpy(g_system.owner_name, "John_with_a_rather_lo");
    WriteFile("NOMA.ini", "Sys.error.elogfile test.log\nUSER_NAME Somebody_else\n");
    size_t logged = LogLines().size();
    Handle quiet = CreateResource(0, "quiet.res", "Q");
    ResourceAttr* attr = resource_attr(quiet);
    EXPECT_STREQ(attr->user, "John_with_a_rather_lo");
    EXPECT_EQ(LogLines().size(), logged);
    g_system.owner_name[0] = '\0';
    EXPECT_STREQ(attr->tag, "           ");
    EXPECT_EQ(CreateResource(0, "quiet.res", "Q"), quiet);
    EXPECT_EQ(FindResource("quiet.res", "q"), 0u);  // names compare exactly
    // A task's resource takes its group and owner and is the task's last opened resource,
    // also when it already exists.
    Handle task = MakeTask(31, 7);
    Handle game = CreateResource(task, "game.res", "Game");
    EXPECT_EQ(resource_attr(game)->owner_task, 31u);
    EXPECT_EQ(resource_attr(game)->group, 7);
    task_record(task)->last_opened_resource = 0;
    EXPECT_EQ(CreateResource(task, "game.res", "Game"), game);
    EXPECT_EQ(task_record(task)->last_opened_resource, game);
    // Under RESOUCE_TEST the creation is logged, and names too long for their fields are cut
    // and reported with messages 79 and 80.
    SetSystemFlag(FLAG_RESOUCE_TEST);
    CreateResource(task, "loud.res", "L");
    std::string name(50, 'n'), data(30, 'd');
    Handle cut = CreateResource(0, name.c_str(), data.c_str());
    EXPECT_EQ(FindResource(name.substr(0, 41).c_str(), data.substr(0, 21).c_str()), cut);
    ExpectLogged({"Ilvaneの要求でResourceを作成  AttName:loud.res"_sj,
                  "\tﾘｿｰｽ･ﾃｰﾌﾞﾙ情報 count 15  top att:Resource.res  end att:loud.res"_sj, "MSG79",
                  name, "MSG80", data});
}

TEST_F(ResourceTest, NewRecordsNumbersAndSelection) {
    Handle r = CreateResource(0, "h.res", "H");
    Handle a = CreateRecord(r, 7, 40);
    EXPECT_EQ(std::memcmp(handle_entry(a)->mark, "  \0", 3), 0);
    EXPECT_EQ(record_body(a)[40], 0);  // the spare byte
    // A resource with items gives every record its record size, whatever is asked.
    EXPECT_EQ(handle_entry(CreateRecord(MakeASB(), -1, 3))->size, 18);
    // Selection sets the task's fields; an inactive record is found again by number but
    // never selected.
    Handle task = MakeTask(40, 0);
    EXPECT_EQ(SelectRecord(task, r, 7), a);
    Handle other = CreateResource(0, "other.res", "O");
    EXPECT_EQ(SelectRecord(task, other, 7), 0u);
    EXPECT_EQ(task_record(task)->last_opened_resource, other);
    EXPECT_EQ(task_record(task)->last_selected_record, a);
    EXPECT_EQ(DeactivateRecord(0, r, a), 0);
    EXPECT_EQ(SelectRecord(task, r, 7), 0u);
}

TEST_F(ResourceTest, ReuseKeepsNumberAndBodyAndAMissIsLogged) {
    Handle r = CreateResource(0, "reuse.res", "R");
    Handle a = CreateRecord(r, 1, 40);
    CreateRecord(r, 2, 40);
    std::memset(record_body(a), 0xAB, 40);
    DeactivateRecord(0, r, a);
    EXPECT_NE(CreateRecord(r, -1, 24), a);  // no inactive record of 24 bytes
    ExpectLogged({"ﾘｿｰｽ活性化ｴﾗｰ   active_resource()"_sj, "     all/active   2/1",
                  "           ﾘｿｰｽ･ﾁｪｰﾝに異常があります。"_sj});
    EXPECT_EQ(CreateRecord(r, -1, 40), a);
    EXPECT_EQ(handle_entry(a)->number, 1);
    EXPECT_EQ(record_body(a)[39], 0xAB);
}

TEST_F(ResourceTest, RefusalsAndWarnings) {
    Handle r = CreateResource(0, "lim.res", "L");
    Handle record = CreateRecord(r, 70000, 8);  // numbers are free without RESOUCE_TEST
    EXPECT_NE(CreateRecord(r, -7, 8), 0u);
    EXPECT_EQ(CreateRecord(record, 2, 8), 0u);  // not a resource
    EXPECT_FALSE(Logged("MSG74"));
    SetSystemFlag(FLAG_RESOUCE_TEST);
    EXPECT_EQ(CreateRecord(record, 2, 8), 0u);
    EXPECT_EQ(CreateRecord(r, 65537, 8), 0u);
    EXPECT_EQ(CreateRecord(r, -2, 8), 0u);
    EXPECT_NE(CreateRecord(r, 65536, 8), 0u);
    Handle zero = CreateRecord(r, 0, 8);
    EXPECT_EQ(CreateRecord(r, 0, 8), zero);
    ExpectLogged({"MSG74", "MSG82", "lim.res", "CreateRecord()で既存のﾘｿｰｽが呼ばれました"_sj,
                  "    L:lim.res  number 0",
                  "search_record でnumber 0を指定しました(warrning)"_sj});
    // Bodies have at most 65,534 bytes (the block also holds the spare byte).
    EXPECT_EQ(CreateRecord(r, -1, 65535), 0u);
    EXPECT_EQ(CreateRecord(r, -1, 0xFFFFFFFFu), 0u);
    // A live record, out of the table, never handed out, empty: no resource.
    for (Handle bad : {record, Handle(0), Handle(999999999), Handle(4000)})
        EXPECT_EQ(resource_attr(bad), nullptr) << bad;
    EXPECT_EQ(RemoveRecord(0, 0, record), 1);
}

TEST_F(ResourceTest, AFullPoolGivesEmptyHandlesAndMessage1) {
    UsePool(64 * 1024, 64);
    ASSERT_TRUE(CreateSystemResources());
    // The message goes to the system message dialog.
    static std::vector<std::pair<int, std::string>> shown;
    shown.clear();
    SetSystemMessageDialog([](int number, const char* detail) {
        shown.emplace_back(number, detail ? detail : "");
        return 0;
    });
    Handle r = CreateResource(0, "big.res", "Big");
    int made = 0;
    while (CreateRecord(r, -1, 4000) && made < 100)
        ++made;
    EXPECT_LT(made, 100);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0],
              std::make_pair(1, std::string("Big: 4000 byteのメモリを確保できません"_sj)));
    // Without a dialog to show it, the message is logged.
    SetSystemMessageDialog(nullptr);
    CreateRecord(r, -1, 4000);
    ExpectLogged({"MSG1", "Big: 4000 byteのメモリを確保できません"_sj});
    EXPECT_EQ(RecordCount(r), made);
    EXPECT_EQ(CheckRecordChain(r), 0);
}

TEST_F(ResourceTest, ChainCheckFindsBrokenLinks) {
    Handle r = CreateResource(0, "check.res", "C");
    EXPECT_EQ(CheckRecordChain(r), 0);  // empty
    Handle a = CreateRecord(r, 1, 8);
    Handle b = CreateRecord(r, 2, 8);
    Handle c = CreateRecord(r, 3, 8);
    handle_entry(b)->prev = 0;  // the backward walk now stops early
    EXPECT_EQ(CheckRecordChain(r), 1);
    handle_entry(b)->prev = a;
    handle_entry(b)->next = a;  // a loop: the walk stops at its limit
    EXPECT_EQ(CheckRecordChain(r), 1);
    SetSystemFlag(FLAG_RESOUCE_TEST);
    handle_entry(b)->next = c;
    resource_attr(r)->record_count = 4;  // a count the chain does not have
    EXPECT_EQ(CheckRecordChain(r), 1);
    resource_attr(r)->record_count = 3;
    EXPECT_EQ(CheckRecordChain(r), 0);
    ExpectLogged({"ﾙｰﾌﾟ･ﾁｪｯｸ error 3/2"_sj, "ﾙｰﾌﾟ･ﾁｪｯｸ  RESOUCE check.res 3/3"_sj});
}

// Record operations and their lookup indexes against a linear model of the chain.

struct ModelRecord {
    Handle handle;
    int32_t number;
    uint16_t size;
    bool active;
};

// The chain as the operations define it. A deactivation counts even for a record that is
// inactive or removed already.
struct Model {
    std::vector<ModelRecord> chain, removed;
    int record_count = 0, active_count = 0;
    uint32_t active_bytes = 0;

    std::vector<ModelRecord>::iterator find(std::vector<ModelRecord>& list, Handle h) {
        return std::find_if(list.begin(), list.end(), [&](auto& r) { return r.handle == h; });
    }
    Handle first_with_number(int32_t number) const {
        for (const ModelRecord& r : chain)
            if (r.number == number) return r.handle;
        return 0;
    }
    void deactivate(ModelRecord& r) {
        r.active = false;
        --active_count;
        active_bytes -= r.size;
    }
    void append(ModelRecord r, bool is_new) {
        r.active = true;
        chain.push_back(r);
        ++active_count;
        active_bytes += r.size;
        record_count += is_new;
    }
};

TEST_F(ResourceTest, RecordOperationsAgreeWithALinearModel) {
    StoreSystemFlags(0);  // quiet: the reuse misses would fill the log
    std::mt19937 random(12345);
    auto pick = [&](size_t n) { return size_t(random() % uint32_t(n)); };
    for (int round = 0; round < 4; ++round) {
        Handle r = CreateResource(0, ("model" + std::to_string(round)).c_str(), "M");
        Handle stranger =
            CreateRecord(CreateResource(0, "other", std::to_string(round).c_str()), 1, 8);
        Model m;
        for (int step = 0; step < 1500; ++step) {
            SCOPED_TRACE("round " + std::to_string(round) + " step " + std::to_string(step));
            std::vector<Handle> known;
            for (const auto* list : {&m.chain, &m.removed})
                for (const ModelRecord& rec : *list)
                    known.push_back(rec.handle);
            Handle any = known.empty() ? 0 : known[pick(known.size())];
            auto in_chain = m.find(m.chain, any);
            uint16_t size = uint16_t(8 * (1 + pick(3)));
            size_t op = pick(100);
            if (op < 30) {  // numbered: an existing number gives its record, active or not
                int32_t number = int32_t(pick(13));
                Handle expected = m.first_with_number(number);
                Handle got = CreateRecord(r, number, size);
                ASSERT_NE(got, 0u);
                if (expected) {
                    ASSERT_EQ(got, expected);
                } else {
                    m.append({got, number, size, true}, true);
                }
            } else if (op < 55) {  // unnumbered: the first inactive one of the size, moved last
                Handle got = CreateRecord(r, -1, size);
                auto reuse = std::find_if(m.chain.begin(), m.chain.end(), [&](auto& rec) {
                    return !rec.active && rec.size == size;
                });
                if (m.record_count == m.active_count || reuse == m.chain.end()) {
                    m.append({got, -1, size, true}, true);
                } else {
                    ASSERT_EQ(got, reuse->handle);
                    ModelRecord rec = *reuse;
                    m.chain.erase(reuse);
                    m.append(rec, false);
                }
            } else if (op < 75) {  // deactivation of an active record
                if (in_chain == m.chain.end() || !in_chain->active) continue;
                ASSERT_EQ(DeactivateRecord(0, r, any), 0);
                m.deactivate(*in_chain);
            } else if (op < 83) {  // removal, also of records removed before
                if (!any) continue;
                ASSERT_EQ(RemoveRecord(0, r, any), 0);
                if (in_chain == m.chain.end()) {
                    m.deactivate(*m.find(m.removed, any));
                    continue;
                }
                m.deactivate(*in_chain);
                m.removed.push_back(*in_chain);
                m.chain.erase(in_chain);
                --m.record_count;
            } else if (op < 97) {  // moves, including refused ones
                Handle a = known.empty() ? 0 : known[pick(known.size())];
                Handle b = pick(10) == 0 ? stranger : any;
                ASSERT_EQ(MoveRecordBefore(a, b), 1);
                auto ib = m.find(m.chain, b);
                if (a != b && m.find(m.chain, a) != m.chain.end() && ib != m.chain.end()) {
                    ModelRecord rec = *ib;
                    m.chain.erase(ib);
                    m.chain.insert(m.find(m.chain, a), rec);
                }
            } else {  // the indexes are dropped and built again from the chain
                ForgetRecordIndex(r);
            }

            std::vector<Handle> chain, active;
            Handle inactive = 0;
            for (const ModelRecord& rec : m.chain) {
                chain.push_back(rec.handle);
                if (rec.active) active.push_back(rec.handle);
                if (!rec.active && !inactive) inactive = rec.handle;
            }
            ASSERT_EQ(Chain(r), chain);
            ASSERT_EQ(Active(r), active);
            ASSERT_EQ(RecordCount(r), uint16_t(m.active_count));
            ASSERT_EQ(resource_attr(r)->record_count, uint16_t(m.record_count));
            ASSERT_EQ(resource_attr(r)->active_bytes, m.active_bytes);
            for (int32_t n = -1; n <= 12; ++n)
                ASSERT_EQ(search_record(r, n), m.first_with_number(n)) << "number " << n;
            ASSERT_EQ(active.empty() ? 0 : RecordIndex(r, active.back()), int(active.size()));
            ASSERT_EQ(RecordIndex(r, inactive), 0);
            ASSERT_EQ(CheckRecordChain(r), 0);
        }
    }
}

TEST_F(ResourceTest, ReuseFollowsTheChainAfterManyMovesToOnePlace) {
    // Moves between the same two neighbours exhaust the room between their position keys.
    Handle r = CreateResource(0, "moves.res", "M");
    CreateRecord(r, 1, 8);
    Handle right = CreateRecord(r, 2, 8);
    std::vector<Handle> order;
    for (int i = 0; i < 100; ++i) {
        order.push_back(CreateRecord(r, 100 + i, 8));
        DeactivateRecord(0, r, order.back());
        MoveRecordBefore(right, order.back());
    }
    DeactivateRecord(0, r, right);
    order.push_back(right);
    for (Handle h : order)
        ASSERT_EQ(CreateRecord(r, -1, 8), h);
}

}  // namespace
