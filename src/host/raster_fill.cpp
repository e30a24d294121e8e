// Solid fills, the XOR focus rectangle and darkening on a raster target.
#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "host/raster_core.h"

namespace {

struct Clipped {
    int left, top, right, bottom;
    bool empty() const { return left >= right || top >= bottom; }
};

Clipped Clip(const RasterTarget& t, int64_t left, int64_t top, int64_t right, int64_t bottom) {
    return Clipped{int(std::max<int64_t>(left, 0)), int(std::max<int64_t>(top, 0)),
                   int(std::min<int64_t>(right, t.width)),
                   int(std::min<int64_t>(bottom, t.height))};
}

// PatBlt with PATINVERT and the checkerboard brush over one block.
void PatInvert(const RasterTarget& t, int x, int y, int width, int height, uint32_t even,
               uint32_t odd) {
    int left, top, right, bottom;
    RasterBlockRect(x, y, width, height, &left, &top, &right, &bottom);
    const Clipped c = Clip(t, left, top, right, bottom);
    if (c.empty()) return;
    for (int row = c.top; row < c.bottom; ++row) {
        uint32_t* p = t.Row(row);
        for (int col = c.left; col < c.right; ++col)
            p[col] ^= ((col + row) & 1) ? odd : even;
    }
}

void DarkenRow(uint32_t* p, int count, uint32_t sub) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i s = _mm_set1_epi32(int(sub));
    for (; i + 4 <= count; i += 4) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), _mm_subs_epu8(v, s));
    }
#endif
    const uint32_t r = sub & 0xFF, g = (sub >> 8) & 0xFF, b = (sub >> 16) & 0xFF;
    for (; i < count; ++i) {
        const uint32_t v = p[i];
        const uint32_t pr = v & 0xFF, pg = (v >> 8) & 0xFF, pb = (v >> 16) & 0xFF;
        p[i] = (v & 0xFF000000u) | (pr > r ? pr - r : 0) | (pg > g ? pg - g : 0) << 8 |
               (pb > b ? pb - b : 0) << 16;
    }
}

}  // namespace

void RasterBlockRect(int x, int y, int width, int height, int* left, int* top, int* right,
                     int* bottom) {
    int64_t l = x, r = int64_t(x) + width, t = y, b = int64_t(y) + height;
    if (l > r) {
        const int64_t old = l;
        l = r + 1;
        r = old + 1;
    }
    if (t > b) {
        const int64_t old = t;
        t = b + 1;
        b = old + 1;
    }
    auto narrow = [](int64_t v) { return int(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    *left = narrow(l);
    *right = narrow(r);
    *top = narrow(t);
    *bottom = narrow(b);
}

void RasterFill(const RasterTarget& t, int left, int top, int right, int bottom, uint32_t colour) {
    if (!t.pixels) return;
    const Clipped c = Clip(t, left, top, right, bottom);
    if (c.empty()) return;
    for (int row = c.top; row < c.bottom; ++row)
        std::fill(t.Row(row) + c.left, t.Row(row) + c.right, colour);
}

void RasterFocusRect(const RasterTarget& t, int left, int top, int right, int bottom,
                     uint32_t text_colour, uint32_t back_colour) {
    if (!t.pixels) return;
    // A one-pixel border, drawn as four blocks that never overlap (for a rectangle of at
    // least 2 x 2), so that drawing it twice restores the screen.
    const int width = int(int64_t(right) - left), height = int(int64_t(bottom) - top);
    PatInvert(t, left, top, width, 1, back_colour, text_colour);
    PatInvert(t, left, bottom - 1, width, 1, back_colour, text_colour);
    PatInvert(t, left, top + 1, 1, height - 2, back_colour, text_colour);
    PatInvert(t, right - 1, top + 1, 1, height - 2, back_colour, text_colour);
}

void RasterDarken(const RasterTarget& t, int x, int y, int width, int height, int16_t value) {
    if (!t.pixels || width <= 0 || height <= 0) return;
    const uint32_t widened = uint32_t(int32_t(value));
    const uint32_t sub = widened & 0x00FFFFFFu;  // red, green, then 0xFF or 0 for blue
    const Clipped c = Clip(t, x, y, int64_t(x) + width, int64_t(y) + height);
    if (c.empty()) return;
    for (int row = c.top; row < c.bottom; ++row)
        DarkenRow(t.Row(row) + c.left, c.right - c.left, sub);
}

namespace {

uint32_t moved_colour(uint32_t colour, int amount) {
    uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int value = int((colour >> shift) & 0xFF) + amount;
        result |= uint32_t(std::clamp(value, 0, 255)) << shift;
    }
    return result;
}

}  // namespace

void RasterMosaicPass(const RasterTarget& t, int x, int y, int width, int height, int step,
                      int spacing, int side, int amount) {
    if (!t.pixels || width <= 0 || height <= 0 || spacing <= 0 || side <= 0) return;
    // The squares are clipped to the area as well as to the target.
    const Clipped area = Clip(t, x, y, int64_t(x) + width, int64_t(y) + height);
    if (area.empty()) return;
    for (int px = step; px < width; px += spacing) {
        for (int py = step; py < height; py += spacing) {
            const int64_t sx = int64_t(x) + px, sy = int64_t(y) + py;
            uint32_t read = amount < 0 ? 0 : 0x00FFFFFFu;
            if (sx >= 0 && sy >= 0 && sx < t.width && sy < t.height)
                read = t.Row(int(sy))[sx] & 0x00FFFFFFu;
            const uint32_t colour = moved_colour(read, amount);
            const int left = int(std::max<int64_t>(sx - step, area.left));
            const int right = int(std::min<int64_t>(sx - step + side, area.right));
            const int top = int(std::max<int64_t>(sy - step, area.top));
            const int bottom = int(std::min<int64_t>(sy - step + side, area.bottom));
            if (left >= right) continue;
            for (int row = top; row < bottom; ++row)
                std::fill_n(t.Row(row) + left, right - left, colour);
        }
    }
}
