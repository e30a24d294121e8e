// Compute speed on a record of 30 long items: a typical scenario condition and a typical
// statement list, each evaluated on a private copy of the text.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "core/pool.h"
#include "core/system.h"
#include "resource/compute.h"
#include "resource/resource.h"

namespace {

// Items item0 .. item29, with mode, count and flag standing at positions 5, 15 and 25.
Handle player_record() {
    static Handle record = 0;
    if (!record) {
        StoreSystemFlags(0);
        if (!CreatePoolSized(16u << 20, 4096) || !CreateSystemResources()) std::abort();
        Handle r = CreateResource(0, "player.res", "Player");
        for (int i = 0; i < 30; ++i) {
            std::string name = i == 5    ? "mode"
                               : i == 15 ? "count"
                               : i == 25 ? "flag"
                                         : "item" + std::to_string(i);
            CreateItem(r, name.c_str(), ITEMlong, 0);
        }
        record = CreateRecord(r, 1, 0);
        SetNum(record, "mode", 3);
        SetNum(record, "count", 1);
        SetNum(record, "flag", 1);
    }
    return record;
}

void BM_CompareTypicalCondition(benchmark::State& state) {
    Handle record = player_record();
    for (auto _ : state) {
        int result = CompareRecordCopy(record, "mode==3&&count>=2||flag==1");
        if (result != 1) std::abort();
    }
}
BENCHMARK(BM_CompareTypicalCondition);

void BM_CompareWithBrackets(benchmark::State& state) {
    Handle record = player_record();
    for (auto _ : state)
        benchmark::DoNotOptimize(CompareRecordCopy(record, "count*(mode+1)>=(flag+3)*2"));
}
BENCHMARK(BM_CompareWithBrackets);

void BM_ComputeTypicalStatements(benchmark::State& state) {
    Handle record = player_record();
    for (auto _ : state)
        if (!ComputeRecordCopy(record, "count+=1;mode=count%4;item29=item29+count*2")) std::abort();
}
BENCHMARK(BM_ComputeTypicalStatements);

}  // namespace
