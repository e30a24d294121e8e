// Resource file speed: a resource of 10,000 records of 200 bytes (ten 16-byte strings and ten
// longs), loaded with OpenResource and saved with SaveResource, each next to plain stdio moving
// the same bytes (fread of the file; fwrite, fflush and one fsync), and next to creating the
// same records without a file (the part of a load that the file format does not decide).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/pool.h"
#include "core/system.h"
#include "resource/resource.h"
#include "resource/resource_file.h"

namespace {

constexpr int kRecords = 10000;

void fresh_pool() {
    ResetResources();
    if (!CreatePoolSized(256u << 20, 65536) || !CreateSystemResources()) std::abort();
}

// Builds and saves the resource once in a folder of its own; later calls only read the name.
const char* bench_file() {
    static bool made = false;
    if (!made) {
        char pattern[] = "/tmp/noma-bench-XXXXXX";
        if (!mkdtemp(pattern) || chdir(pattern) != 0) std::abort();
        static std::string folder = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        StoreSystemFlags(0);
        fresh_pool();
        Handle r = CreateResource(0, "bench.res", "Bench");
        for (int i = 0; i < 10; ++i) {
            CreateItem(r, ("text" + std::to_string(i)).c_str(), ITEMstring, 16);
            CreateItem(r, ("value" + std::to_string(i)).c_str(), ITEMlong, 0);
        }
        if (resource_attr(r)->record_size != 200) std::abort();
        for (int n = 1; n <= kRecords; ++n) {
            Handle record = CreateRecord(r, n, 0);
            SetStr(record, "text0", "a name");
            SetNum(record, "value9", n * 7);
        }
        if (SaveResource(0, r) != 0) std::abort();
        made = true;
    }
    return "bench.res";
}

std::vector<char> file_bytes() {
    std::vector<char> bytes(1 << 22);
    FILE* f = std::fopen(bench_file(), "rb");
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    return bytes;
}

void BM_OpenResource(benchmark::State& state) {
    const char* name = bench_file();
    for (auto _ : state) {
        state.PauseTiming();
        fresh_pool();
        state.ResumeTiming();
        Handle r = OpenResource(0, name, "Bench");
        if (RecordCount(r) != kRecords) std::abort();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file_bytes().size()));
}
BENCHMARK(BM_OpenResource)->Unit(benchmark::kMillisecond);

void BM_CreateSameRecords(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        fresh_pool();
        Handle r = CreateResource(0, "bench.res", "Bench");
        for (int i = 0; i < 10; ++i) {
            CreateItem(r, ("text" + std::to_string(i)).c_str(), ITEMstring, 16);
            CreateItem(r, ("value" + std::to_string(i)).c_str(), ITEMlong, 0);
        }
        state.ResumeTiming();
        for (int n = 1; n <= kRecords; ++n)
            benchmark::DoNotOptimize(CreateRecord(r, n, 0));
    }
}
BENCHMARK(BM_CreateSameRecords)->Unit(benchmark::kMillisecond);

void BM_FreadSameBytes(benchmark::State& state) {
    const char* name = bench_file();
    std::vector<char> buffer(file_bytes().size());
    for (auto _ : state) {
        FILE* f = std::fopen(name, "rb");
        size_t n = std::fread(buffer.data(), 1, buffer.size(), f);
        std::fclose(f);
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(buffer.size()));
}
BENCHMARK(BM_FreadSameBytes)->Unit(benchmark::kMillisecond);

void BM_SaveResource(benchmark::State& state) {
    fresh_pool();
    Handle r = OpenResource(0, bench_file(), "Bench");
    for (auto _ : state)
        if (SaveResource(0, r) != 0) std::abort();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file_bytes().size()));
}
BENCHMARK(BM_SaveResource)->Unit(benchmark::kMillisecond);

void BM_FwriteSameBytesAndFsync(benchmark::State& state) {
    std::vector<char> bytes = file_bytes();
    for (auto _ : state) {
        FILE* f = std::fopen("plain.res", "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fflush(f);
        fsync(fileno(f));
        std::fclose(f);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes.size()));
}
BENCHMARK(BM_FwriteSameBytesAndFsync)->Unit(benchmark::kMillisecond);

}  // namespace
