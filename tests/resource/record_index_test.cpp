// The lookup indexes against a plain linear model of the chain, over random operation
// sequences; and records surviving the pool's table growth and compaction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "kernel/pool.h"
#include "resource/resource.h"
#include "resource_fixture.h"

namespace {

// The chain as the operations define it, walked linearly for every answer.
struct ModelRecord {
    Handle handle;
    int32_t number;
    uint16_t size;
    bool active;
};

struct Model {
    std::vector<ModelRecord> chain;
    std::vector<Handle> removed;
    int record_count = 0;
    int active_count = 0;

    int find(Handle h) const {
        for (size_t i = 0; i < chain.size(); ++i)
            if (chain[i].handle == h) return int(i);
        return -1;
    }
    Handle first_with_number(int32_t number) const {
        for (const ModelRecord& r : chain)
            if (r.number == number) return r.handle;
        return 0;
    }
    void deactivate(Handle h) {
        int i = find(h);
        if (i >= 0) chain[size_t(i)].active = false;
        --active_count;
    }
};

class RecordIndexTest : public ResourceTest {
protected:
    void ExpectAgrees(Handle r, const Model& m, int step) {
        std::vector<Handle> chain, active;
        for (const ModelRecord& rec : m.chain) {
            chain.push_back(rec.handle);
            if (rec.active) active.push_back(rec.handle);
        }
        ASSERT_EQ(Chain(r), chain) << "step " << step;
        ASSERT_EQ(Active(r), active) << "step " << step;
        ASSERT_EQ(RecordCount(r), uint16_t(m.active_count)) << "step " << step;
        ASSERT_EQ(resource_attr(r)->record_count, uint16_t(m.record_count)) << "step " << step;
        for (int32_t n = -1; n <= 12; ++n)
            ASSERT_EQ(search_record(r, n), m.first_with_number(n)) << "step " << step << " n " << n;
        ASSERT_EQ(CheckRecordChain(r), 0) << "step " << step;
    }
};

TEST_F(RecordIndexTest, RandomOperationsAgreeWithTheLinearWalk) {
    StoreSystemFlags(0);  // quiet: the reuse misses would fill the log
    std::mt19937 random(12345);
    auto pick = [&](int n) { return int(random() % uint32_t(n)); };
    const uint16_t sizes[] = {8, 16, 24};
    for (int round = 0; round < 4; ++round) {
        Handle r = CreateResource(0, ("model" + std::to_string(round)).c_str(), "M");
        Handle other = CreateResource(0, ("other" + std::to_string(round)).c_str(), "O");
        Handle stranger = CreateRecord(other, 1, 8);
        Model m;
        for (int step = 0; step < 1500; ++step) {
            int op = pick(100);
            std::vector<Handle> known;
            for (const ModelRecord& rec : m.chain)
                known.push_back(rec.handle);
            known.insert(known.end(), m.removed.begin(), m.removed.end());
            Handle any = known.empty() ? 0 : known[size_t(pick(int(known.size())))];
            if (op < 30) {  // numbered creation
                int32_t number = pick(13);
                uint16_t size = sizes[pick(3)];
                Handle expected = m.first_with_number(number);
                Handle got = CreateRecord(r, number, size);
                if (expected) {
                    ASSERT_EQ(got, expected) << step;
                } else {
                    ASSERT_NE(got, 0u);
                    m.chain.push_back({got, number, size, true});
                    ++m.record_count;
                    ++m.active_count;
                }
            } else if (op < 55) {  // unnumbered creation, reusing an inactive record
                uint16_t size = sizes[pick(3)];
                Handle got = CreateRecord(r, -1, size);
                ASSERT_NE(got, 0u);
                int reuse = -1;
                if (m.record_count != m.active_count)
                    for (size_t i = 0; i < m.chain.size(); ++i)
                        if (!m.chain[i].active && m.chain[i].size == size) {
                            reuse = int(i);
                            break;
                        }
                if (reuse >= 0) {
                    ModelRecord rec = m.chain[size_t(reuse)];
                    ASSERT_EQ(got, rec.handle) << step;
                    m.chain.erase(m.chain.begin() + reuse);
                    rec.active = true;
                    m.chain.push_back(rec);
                    ++m.active_count;
                } else {
                    m.chain.push_back({got, -1, size, true});
                    ++m.record_count;
                    ++m.active_count;
                }
            } else if (op < 75) {  // deactivation (of active records: the model counts it)
                if (!any || m.find(any) < 0 || !m.chain[size_t(m.find(any))].active) continue;
                ASSERT_EQ(DeactivateRecord(0, r, any), 0);
                m.deactivate(any);
            } else if (op < 83) {  // removal, also of records removed before
                if (!any) continue;
                ASSERT_EQ(RemoveRecord(0, r, any), 0);
                int i = m.find(any);
                m.deactivate(any);  // the deactivation counts even for a removed record
                if (i >= 0) {
                    m.chain.erase(m.chain.begin() + i);
                    m.removed.push_back(any);
                    --m.record_count;
                }
            } else if (op < 97) {  // moves, including refused ones
                Handle a = known.empty() ? 0 : known[size_t(pick(int(known.size())))];
                Handle b = pick(10) == 0 ? stranger : any;
                ASSERT_EQ(MoveRecordBefore(a, b), 1);
                int ia = m.find(a), ib = m.find(b);
                if (ia >= 0 && ib >= 0 && a != b) {
                    ModelRecord rec = m.chain[size_t(ib)];
                    m.chain.erase(m.chain.begin() + ib);
                    m.chain.insert(m.chain.begin() + m.find(a), rec);
                }
            } else {  // the indexes are dropped and built again from the chain
                ForgetRecordIndex(r);
            }
            ExpectAgrees(r, m, step);
            if (HasFatalFailure()) return;
        }
    }
}

TEST_F(RecordIndexTest, ManyMovesToOnePlaceKeepTheOrder) {
    // Repeated moves between the same two neighbours exhaust the gap between their keys.
    Handle r = CreateResource(0, "moves.res", "M");
    Model m;
    Handle left = CreateRecord(r, 1, 8);
    Handle right = CreateRecord(r, 2, 8);
    m.chain = {{left, 1, 8, true}, {right, 2, 8, true}};
    for (int i = 0; i < 200; ++i) {
        Handle h = CreateRecord(r, 100 + i, 8);
        DeactivateRecord(0, r, h);
        MoveRecordBefore(right, h);
        m.chain.insert(m.chain.end() - 1, {h, 100 + i, 8, false});
    }
    std::vector<Handle> expected;
    for (const ModelRecord& rec : m.chain)
        expected.push_back(rec.handle);
    ASSERT_EQ(Chain(r), expected);
    // Reuse still takes the first inactive record in chain order, the one moved first.
    EXPECT_EQ(CreateRecord(r, -1, 8), expected[1]);
    EXPECT_EQ(CreateRecord(r, -1, 8), expected[2]);
    // The last record moved before the first, again and again.
    std::vector<Handle> rotated = Chain(r);
    for (int i = 0; i < 150; ++i) {
        std::vector<Handle> now = Chain(r);
        MoveRecordBefore(now.front(), now.back());
    }
    std::rotate(rotated.begin(), rotated.end() - 150, rotated.end());
    EXPECT_EQ(Chain(r), rotated);
    EXPECT_EQ(CheckRecordChain(r), 0);
}

TEST_F(RecordIndexTest, HandlesReachTheirBytesThroughTableGrowthAndCompaction) {
    // A small table (64 entries) so that growth happens many times; logging stays on so the
    // compaction runs its whole scan.
    UsePool(1 << 20, 64);
    ASSERT_TRUE(CreateSystemResources());
    Handle r = CreateResource(0, "stable.res", "S");
    CreateItem(r, "lo", ITEMlong, 0);
    CreateItem(r, "hi", ITEMlong, 0);  // ends in the spare byte
    Handle texts = CreateResource(0, "texts.res", "T");
    CreateItem(texts, "t", ITEMstring, 13);
    std::vector<Handle> records, notes;
    for (int i = 0; i < 400; ++i) {
        Handle h = CreateRecord(r, i, 0);
        ASSERT_NE(h, 0u);
        SetNum(h, "lo", i);
        SetNum(h, "hi", -i - 0x01000000);
        records.push_back(h);
        Handle t = CreateRecord(texts, -1, 0);
        SetStr(t, "t", ("note " + std::to_string(i)).c_str());
        notes.push_back(t);
        if (i % 97 == 0) MemoryCompaction();
    }
    EXPECT_GT(HandleTableEntries(), 64u);
    PoolMarks before = GetPoolMarks();
    MemoryCompaction();
    BaseLineUp(50);
    EXPECT_EQ(GetPoolMarks().relocate_line - GetPoolMarks().base_line,
              before.relocate_line - before.base_line);
    for (int i = 0; i < 400; ++i) {
        ASSERT_EQ(GetNum(records[size_t(i)], "lo"), i);
        ASSERT_EQ(GetNum(records[size_t(i)], "hi"), -i - 0x01000000);
        ASSERT_STREQ(GetStr(notes[size_t(i)], "t"), ("note " + std::to_string(i)).c_str());
        ASSERT_EQ(search_record(r, i), records[size_t(i)]);
    }
    EXPECT_STREQ(resource_attr(texts)->name, "texts.res");
    EXPECT_EQ(FindResource("stable.res", "S"), r);
}

}  // namespace
