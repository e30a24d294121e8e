#include "host/bmp_write.h"

#include <cstdio>
#include <vector>

#include "host/file.h"

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v);
    put16(out, v >> 16);
}

}  // namespace

bool HostWriteBmp(const char* name, const uint32_t* pixels, int width, int height) {
    if (width < 1 || height < 1) return false;
    const uint32_t row = (uint32_t(width) * 3 + 3) & ~3u;
    const uint32_t bits = row * uint32_t(height);
    std::vector<uint8_t> out;
    out.reserve(54 + bits);
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + bits);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, uint32_t(width));
    put32(out, uint32_t(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, bits);
    put32(out, 2835);
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {
        const uint32_t* p = pixels + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x) {
            out.push_back(uint8_t(p[x] >> 16));  // blue
            out.push_back(uint8_t(p[x] >> 8));
            out.push_back(uint8_t(p[x]));
        }
        for (uint32_t pad = uint32_t(width) * 3; pad < row; ++pad)
            out.push_back(0);
    }
    FILE* f = HostFileOpen(name, "wb");
    if (!f) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return HostFileClose(f) == 0 && ok;
}
