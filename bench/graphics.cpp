// Host graphics benchmarks.
//
//   BM_Darken800x600       darkening the whole 800 x 600 screen (every semi-transparent
//                          window does this over its area); compare with BM_Memcpy800x600,
//                          one memcpy of the same 1.92 MB: the target is at most 3 times it.
//   BM_LoadBmp800x600      loading an 800 x 600 24-bit BMP file into a host bitmap; compare
//                          with BM_SdlLoadBmp800x600, SDL_LoadBMP of the same file.
//   BM_TextCachedGlyphs24  drawing text of 24-pixel kanji and kana whose glyphs are cached;
//                          items per second are glyphs per second (target: over a million).
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/bmp.h"
#include "host/raster.h"
#include "host/sjis.h"
#include "host/sjis_literal.h"
#include "host/surface.h"
#include "host/text_out.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;

void BM_Darken800x600(benchmark::State& state) {
    HostCreateSurface(kWidth, kHeight);
    HostFillRect(0, 0, kWidth, kHeight, 0x808080);
    for (auto _ : state) {
        HostDarken(0, 0, kWidth, kHeight, 0x0101);
        benchmark::DoNotOptimize(HostSurfacePixels());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 4);
}
BENCHMARK(BM_Darken800x600);

void BM_Memcpy800x600(benchmark::State& state) {
    std::vector<uint32_t> from(size_t(kWidth) * kHeight, 0x808080), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 4);
}
BENCHMARK(BM_Memcpy800x600);

// An 800 x 600 24-bit BMP in the temporary folder, written once.
const std::string& BmpFile() {
    static const std::string path = [] {
        const std::string p = "/tmp/noma_bench_800x600.bmp";
        const uint32_t stride = kWidth * 3, size = stride * kHeight;
        std::vector<uint8_t> file(54 + size);
        auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
        file[0] = 'B';
        file[1] = 'M';
        put32(2, uint32_t(file.size()));
        put32(10, 54);
        put32(14, 40);
        put32(18, kWidth);
        put32(22, kHeight);
        file[26] = 1;
        file[28] = 24;
        put32(34, size);
        for (uint32_t i = 0; i < size; ++i)
            file[54 + i] = uint8_t(i * 7 + i / stride);
        FILE* out = std::fopen(p.c_str(), "wb");
        if (out) {
            std::fwrite(file.data(), 1, file.size(), out);
            std::fclose(out);
        }
        return p;
    }();
    return path;
}

void BM_LoadBmp800x600(benchmark::State& state) {
    const std::string& path = BmpFile();
    for (auto _ : state) {
        if (!HostLoadBmp(path.c_str())) state.SkipWithError("the BMP did not load");
        HostFreeBmpState();
    }
}
BENCHMARK(BM_LoadBmp800x600)->Unit(benchmark::kMicrosecond);

void BM_SdlLoadBmp800x600(benchmark::State& state) {
    const std::string& path = BmpFile();
    for (auto _ : state) {
        SDL_Surface* surface = SDL_LoadBMP(path.c_str());
        if (!surface) state.SkipWithError("SDL_LoadBMP failed");
        SDL_FreeSurface(surface);
    }
}
BENCHMARK(BM_SdlLoadBmp800x600)->Unit(benchmark::kMicrosecond);

void BM_TextCachedGlyphs24(benchmark::State& state) {
    HostCreateSurface(kWidth, kHeight);
    const char* line = "夕暮れの街に灯りがともり、人々は家路を急ぐ。遠くで鐘が鳴っている。"_sj;
    int glyphs = 0;
    for (const char* s = line; *s; s += IsSjisLead(uint8_t(*s)) ? 2 : 1)
        ++glyphs;
    HostTextOut(0, 0, line, 0xFFFFFF, 24, 0);  // fills the glyph cache
    int y = 0;
    for (auto _ : state) {
        HostTextOut(0, y, line, 0xFFFFFF, 24, 0);
        y = (y + 24) % (kHeight - 24);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * glyphs);
}
BENCHMARK(BM_TextCachedGlyphs24);

}  // namespace
