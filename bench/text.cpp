// Text objects: reading files, reading lines, inserting characters.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/pool.h"
#include "core/system.h"
#include "host/file.h"
#include "host/sjis_literal.h"
#include "kit/boot.h"
#include "resource/resource.h"
#include "text/text.h"

namespace {

// A working folder of its own and a fresh pool with the system resources.
void fresh_system() {
    static TempFolder folder("bench-text");
    StoreSystemFlags(0);  // no log lines
    ResetResources();
    if (!CreatePool()) std::abort();
    if (!CreateSystemResources()) std::abort();
}

// Shift-JIS text of about `bytes` bytes: lines of kana, kanji and ASCII ending in CR LF, as a
// Windows editor saves them.
std::string sjis_text(size_t bytes) {
    const std::string words[] = {"あいうえお"_sj, "漢字かな交じり"_sj, "text 123 ", "ｶﾀｶﾅ"_sj,
                                 "、。"_sj};
    std::string out;
    for (int line = 0; out.size() < bytes; ++line) {
        for (int w = 0; w < 5; ++w)
            out += words[size_t(line + w) % 5];
        out += "\r\n";
    }
    out.resize(bytes);
    return out;
}

void write_file(const char* name, const std::string& content) {
    FILE* f = std::fopen(name, "wb");
    std::fwrite(content.data(), 1, content.size(), f);
    std::fclose(f);
}

constexpr size_t kTenMegabytes = 10u << 20;

// Baseline: the 10 MB Shift-JIS file's bytes read through the same text-mode file layer into
// one buffer.
void BM_ReadFileBytes(benchmark::State& state) {
    fresh_system();
    write_file("big.txt", sjis_text(kTenMegabytes));
    std::vector<char> buffer(kTenMegabytes);
    for (auto _ : state) {
        FILE* f = HostFileOpen("big.txt", "r");
        size_t n = std::fread(buffer.data(), 1, buffer.size(), f);
        HostFileClose(f);
        benchmark::DoNotOptimize(n);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kTenMegabytes));
    DestroyPool();
}
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond);

// ReadTextFile of the same file into a text object (the blocks of the previous iteration are
// filled again).
void BM_ReadTextFile(benchmark::State& state) {
    fresh_system();
    write_file("big.txt", sjis_text(kTenMegabytes));
    Handle text = CreateText(0, "big.txt", 0);
    for (auto _ : state) {
        if (ReadTextFile(text) != 0) state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kTenMegabytes));
    DestroyPool();
}
BENCHMARK(BM_ReadTextFile)->Unit(benchmark::kMillisecond);

// GetTextLine of every line in increasing order, for texts of 256 KB to 16 MB: the time per
// byte must not grow with the text.
void BM_GetTextLineAll(benchmark::State& state) {
    fresh_system();
    size_t bytes = size_t(state.range(0));
    write_file("lines.txt", sjis_text(bytes));
    Handle text = CreateText(0, "lines.txt", 0);
    ReadTextFile(text);
    int lines = int(text_header(text)->lines);
    std::vector<char> line(kTextLineSize);
    for (auto _ : state) {
        for (int y = 0; y <= lines; ++y)
            benchmark::DoNotOptimize(GetTextLine(text, y, line.data()));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
    state.SetComplexityN(int64_t(bytes));
    DestroyPool();
}
BENCHMARK(BM_GetTextLineAll)
    ->RangeMultiplier(4)
    ->Range(256 << 10, 16 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// text_insert of one character at column 10 of the middle line of texts of 64 KB to 4 MB,
// again and again (the block splits once it is full): the time must not grow with the text.
void BM_TextInsertMiddle(benchmark::State& state) {
    fresh_system();
    size_t bytes = size_t(state.range(0));
    write_file("insert.txt", sjis_text(bytes));
    Handle text = CreateText(0, "insert.txt", 0);
    ReadTextFile(text);
    int middle = int(text_header(text)->lines / 2);
    text_insert(text, 10, middle, "x", 1);  // the one search from the start, outside the timing
    for (auto _ : state)
        text_insert(text, 10, middle, "x", 1);
    state.SetComplexityN(int64_t(bytes));
    DestroyPool();
}
BENCHMARK(BM_TextInsertMiddle)
    ->RangeMultiplier(4)
    ->Range(64 << 10, 4 << 20)
    ->Complexity(benchmark::o1);

}  // namespace
