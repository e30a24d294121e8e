// The pool and the resource layer: allocation, record appends, and lookups by number and by
// resource name through the indexes, each next to the plain chain walk they replace.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/pool.h"
#include "core/system.h"
#include "kit/boot.h"
#include "resource/resource.h"

namespace {

// Runs the benchmarks in a scratch folder holding a NOMA.ini, with logging off.
struct Scratch {
    TempFolder folder{"noma-bench"};
    Scratch() {
        WriteFileBytes("NOMA.ini", "USER_NAME bench\n");
        StoreSystemFlags(0);
    }
};
const Scratch scratch;

// A fresh production-size pool with the system resources.
void FreshSystem() {
    ResetResources();
    DestroyPool();
    if (!CreatePool()) std::abort();
    CreateSystemResources();
}

// The linear walk the record-number index replaces: first record of the chain with the number.
Handle WalkSearchRecord(Handle resource, int32_t number) {
    for (Handle h = resource_attr(resource)->first_record; h; h = handle_entry(h)->next)
        if (handle_entry(h)->number == number) return h;
    return 0;
}

// The linear walk the resource-name index replaces.
Handle WalkFindResource(const char* name, const char* data_name) {
    for (Handle r = g_resource_chain.first; r; r = resource_attr(r)->next_resource) {
        ResourceAttr* attr = resource_attr(r);
        if (std::strcmp(attr->name, name) == 0 && std::strcmp(attr->data_name, data_name) == 0)
            return r;
    }
    return 0;
}

// PoolAlloc of 32-byte blocks in the production pool (1,344,000,000 bytes, 480,000 entries;
// the table grows by 50 entries at a time past them). A new pool every 2,000,000 blocks.
void BM_PoolAlloc(benchmark::State& state) {
    FreshSystem();
    uint64_t made = 0;
    for (auto _ : state) {
        if (++made % 2000000 == 0) {
            state.PauseTiming();
            FreshSystem();
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(PoolAlloc(32));
    }
}
BENCHMARK(BM_PoolAlloc);

// 1,000,000 appends CreateRecord(r, -1, 24) to one resource, in a fresh production pool.
// The time shown is for all million appends.
void BM_CreateRecordMillionAppends(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        FreshSystem();
        Handle r = CreateResource(0, "append.res", "Append");
        state.ResumeTiming();
        for (int i = 0; i < 1000000; ++i)
            benchmark::DoNotOptimize(CreateRecord(r, -1, 24));
        if (RecordCount(r) != uint16_t(1000000)) state.SkipWithError("appends went missing");
    }
}
BENCHMARK(BM_CreateRecordMillionAppends)->Unit(benchmark::kMillisecond)->Iterations(3);

// Reuse: with 100,000 records of three sizes, deactivate one and take it back with
// CreateRecord(r, -1, size), which must return the first inactive record of that size.
void BM_CreateRecordReuse(benchmark::State& state) {
    FreshSystem();
    Handle r = CreateResource(0, "reuse.res", "Reuse");
    std::vector<Handle> records;
    for (int i = 0; i < 100000; ++i)
        records.push_back(CreateRecord(r, i + 1, 16 + 8 * (i % 3)));
    std::mt19937 random(1);
    for (auto _ : state) {
        Handle h = records[random() % records.size()];
        DeactivateRecord(0, r, h);
        benchmark::DoNotOptimize(CreateRecord(r, -1, handle_entry(h)->size));
    }
}
BENCHMARK(BM_CreateRecordReuse);

// search_record on a resource of 100,000 numbered records: the index (arg 1) against the
// chain walk (arg 0), random numbers.
void BM_SearchRecord(benchmark::State& state) {
    bool indexed = state.range(0) == 1;
    FreshSystem();
    Handle r = CreateResource(0, "numbers.res", "Numbers");
    for (int i = 1; i <= 100000; ++i)
        CreateRecord(r, i, 16);
    std::mt19937 random(2);
    for (auto _ : state) {
        int32_t number = int32_t(random() % 100000) + 1;
        benchmark::DoNotOptimize(indexed ? search_record(r, number) : WalkSearchRecord(r, number));
    }
    state.SetLabel(indexed ? "index" : "chain walk");
}
BENCHMARK(BM_SearchRecord)->Arg(0)->Arg(1);

// FindResource among 20,000 resources: the name index (arg 1) against the chain walk (arg 0).
void BM_FindResource(benchmark::State& state) {
    bool indexed = state.range(0) == 1;
    FreshSystem();
    std::vector<std::string> names;
    for (int i = 0; i < 20000; ++i) {
        names.push_back("system\\data" + std::to_string(i) + ".res");
        CreateResource(0, names.back().c_str(), "TEXT");
    }
    std::mt19937 random(3);
    for (auto _ : state) {
        const std::string& name = names[random() % names.size()];
        benchmark::DoNotOptimize(indexed ? FindResource(name.c_str(), "TEXT")
                                         : WalkFindResource(name.c_str(), "TEXT"));
    }
    state.SetLabel(indexed ? "index" : "chain walk");
}
BENCHMARK(BM_FindResource)->Arg(0)->Arg(1);

// A name path through a key (.number:N.hp) on a resource of 1,000 records: a linear search
// by key value, as the system defines it.
void BM_NamePathByKey(benchmark::State& state) {
    FreshSystem();
    Handle r = CreateResource(0, "chars.res", "Chars");
    CreateItem(r, "number", ITEMlong, 0);
    CreateItem(r, "hp", ITEMlong, 0);
    Handle first = 0;
    for (int i = 1; i <= 1000; ++i) {
        Handle h = CreateRecord(r, -1, 0);
        SetNum(h, "number", i);
        if (!first) first = h;
    }
    std::mt19937 random(4);
    char path[32];
    for (auto _ : state) {
        std::snprintf(path, sizeof path, ".number:%d.hp", int(random() % 1000) + 1);
        benchmark::DoNotOptimize(GetNum(first, path));
    }
}
BENCHMARK(BM_NamePathByKey);

}  // namespace
