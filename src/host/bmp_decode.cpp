// Pixel decoding of a loaded BMP: what the platform's DIB-to-bitmap conversion accepts, into a
// host bitmap of 0x00BBGGRR pixels.
#include <algorithm>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "host/bitmap.h"
#include "host/bmp.h"

namespace {

// Coordinates are 16-bit throughout the system.
constexpr int64_t kMaxSide = 32767;
// A run-length file describes at most this many pixels per byte of its bits (a run of 255
// pixels takes two bytes); a file claiming more than that is refused.
constexpr int64_t kRlePixelsPerByte = 256;

uint32_t Colour(const BmpQuad& q) {
    return uint32_t(q.red) | uint32_t(q.green) << 8 | uint32_t(q.blue) << 16;
}

// The colour table as pixels; indexes beyond it are black.
std::vector<uint32_t> IndexColours(const std::vector<BmpQuad>& colours, int bit_count) {
    std::vector<uint32_t> table(size_t(1) << std::min(bit_count, 8), 0u);
    for (size_t i = 0; i < colours.size() && i < table.size(); ++i)
        table[i] = Colour(colours[i]);
    return table;
}

void DecodeRow24Plain(const uint8_t* s, uint32_t* d, int width) {
    int x = 0;
    // Four pixels from three little-endian words: each pixel is its three bytes reversed.
    for (; x + 4 <= width; x += 4, s += 12) {
        uint32_t w0, w1, w2;
        std::memcpy(&w0, s, 4);
        std::memcpy(&w1, s + 4, 4);
        std::memcpy(&w2, s + 8, 4);
        d[x] = __builtin_bswap32(w0) >> 8;
        d[x + 1] = __builtin_bswap32((w0 >> 24) | (w1 << 8)) >> 8;
        d[x + 2] = __builtin_bswap32((w1 >> 16) | (w2 << 16)) >> 8;
        d[x + 3] = __builtin_bswap32(w2 >> 8) >> 8;
    }
    for (; x < width; ++x, s += 3)
        d[x] = uint32_t(s[2]) | uint32_t(s[1]) << 8 | uint32_t(s[0]) << 16;
}

#if defined(__x86_64__)
// With SSSE3 one byte shuffle turns 12 bytes into 4 pixels. Loads read 16 bytes, so the loop
// stops while at least 18 bytes of the row remain and the rest goes the plain way.
__attribute__((target("ssse3"))) void DecodeRow24Shuffle(const uint8_t* s, uint32_t* d, int width) {
    const __m128i order =
        _mm_setr_epi8(2, 1, 0, -128, 5, 4, 3, -128, 8, 7, 6, -128, 11, 10, 9, -128);
    int x = 0;
    for (; x + 6 <= width; x += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 3 * x));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + x), _mm_shuffle_epi8(v, order));
    }
    DecodeRow24Plain(s + 3 * x, d + x, width - x);
}
#endif

void DecodeRow24(const uint8_t* s, uint32_t* d, int width) {
#if defined(__x86_64__)
    static const bool shuffle = __builtin_cpu_supports("ssse3");
    if (shuffle) {
        DecodeRow24Shuffle(s, d, width);
        return;
    }
#endif
    DecodeRow24Plain(s, d, width);
}

// One 8-bit channel from a bit field of a 16- or 32-bit pixel, its top bits repeated below.
struct Field {
    int shift = 0, length = 0;
    explicit Field(uint32_t mask) {
        if (!mask) return;
        while (!((mask >> shift) & 1))
            ++shift;
        while (shift + length < 32 && ((mask >> (shift + length)) & 1))
            ++length;
    }
    uint32_t Get(uint32_t pixel) const {
        if (!length) return 0;
        uint32_t v = (pixel >> shift) & ((length >= 32) ? ~0u : ((1u << length) - 1));
        if (length >= 8) return v >> (length - 8);
        v <<= 8 - length;
        for (int filled = length; filled < 8; filled += length)
            v |= v >> length;
        return v & 0xFF;
    }
};

// Every row must be in the file (the last one may lack its padding); bit fields need their
// three masks in the colour table.
bool HoldsUncompressed(const BmpInfoHeader& h, const std::vector<BmpQuad>& colours, size_t size,
                       int64_t width, int64_t height) {
    const int64_t stride = (int64_t(h.bit_count) * width + 31) / 32 * 4;
    const int64_t row_bytes = (int64_t(h.bit_count) * width + 7) / 8;
    if (int64_t(size) < stride * (height - 1) + row_bytes) return false;
    return h.compression != BMP_BITFIELDS || colours.size() >= 3;
}

void DecodeUncompressed(const BmpInfoHeader& h, const std::vector<BmpQuad>& colours,
                        const uint8_t* bits, const RasterTarget& out) {
    const int width = out.width, height = out.height;
    const int64_t stride = (int64_t(h.bit_count) * width + 31) / 32 * 4;
    Field red(0x7C00), green(0x03E0), blue(0x001F);
    if (h.compression == BMP_BITFIELDS) {
        auto mask = [&](int i) {
            const BmpQuad& q = colours[size_t(i)];
            return uint32_t(q.blue) | uint32_t(q.green) << 8 | uint32_t(q.red) << 16 |
                   uint32_t(q.reserved) << 24;
        };
        red = Field(mask(0));
        green = Field(mask(1));
        blue = Field(mask(2));
    } else if (h.bit_count == 32) {
        red = Field(0xFF0000);
        green = Field(0x00FF00);
        blue = Field(0x0000FF);
    }
    const std::vector<uint32_t> table = IndexColours(colours, h.bit_count);
    const bool top_down = h.height < 0;
    for (int y = 0; y < height; ++y) {
        const uint8_t* s = bits + stride * y;
        uint32_t* d = out.Row(top_down ? y : height - 1 - y);
        switch (h.bit_count) {
            case 1:
                for (int x = 0; x < width; ++x)
                    d[x] = table[(s[x >> 3] >> (7 - (x & 7))) & 1];
                break;
            case 4:
                for (int x = 0; x < width; ++x)
                    d[x] = table[(s[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
                break;
            case 8:
                for (int x = 0; x < width; ++x)
                    d[x] = table[s[x]];
                break;
            case 24:
                DecodeRow24(s, d, width);
                break;
            case 16:
                for (int x = 0; x < width; ++x) {
                    const uint32_t v = uint32_t(s[2 * x]) | uint32_t(s[2 * x + 1]) << 8;
                    d[x] = red.Get(v) | green.Get(v) << 8 | blue.Get(v) << 16;
                }
                break;
            default:  // 32
                for (int x = 0; x < width; ++x) {
                    uint32_t v;
                    std::memcpy(&v, s + 4 * x, 4);
                    d[x] = red.Get(v) | green.Get(v) << 8 | blue.Get(v) << 16;
                }
                break;
        }
    }
}

// Run-length bits (8 or 4 bits per pixel), bottom-up. Pixels the runs skip stay black.
void DecodeRle(const BmpInfoHeader& h, const std::vector<BmpQuad>& colours, const uint8_t* bits,
               size_t n, const RasterTarget& out) {
    const bool four = h.compression == BMP_RLE4;
    const std::vector<uint32_t> table = IndexColours(colours, h.bit_count);
    int64_t x = 0, y = 0;
    auto put = [&](uint32_t index) {
        if (x < out.width && y < out.height) out.Row(int(out.height - 1 - y))[x] = table[index];
        ++x;
    };
    size_t i = 0;
    while (i + 1 < n && y < out.height) {
        const uint8_t count = bits[i], value = bits[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count; ++k)
                put(four ? ((k & 1) ? value & 15 : value >> 4) : value);
            continue;
        }
        if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of bitmap
            break;
        } else if (value == 2) {  // delta
            if (i + 1 >= n) break;
            x += bits[i];
            y += bits[i + 1];
            i += 2;
        } else {  // a literal run of `value` pixels, padded to a 16-bit boundary
            const size_t bytes = four ? (size_t(value) + 1) / 2 : value;
            for (int k = 0; k < value; ++k) {
                const size_t at = i + (four ? size_t(k) / 2 : size_t(k));
                if (at >= n) break;
                put(four ? ((k & 1) ? bits[at] & 15 : bits[at] >> 4) : bits[at]);
            }
            i += (bytes + 1) & ~size_t(1);
        }
    }
}

}  // namespace

uint32_t BmpDecodeBitmap(const BmpInfoHeader& h, const std::vector<BmpQuad>& colours,
                         const uint8_t* bits, size_t size) {
    const int64_t width = h.width, height = h.height < 0 ? -int64_t(h.height) : h.height;
    if (width <= 0 || height == 0 || width > kMaxSide || height > kMaxSide) return 0;
    switch (h.compression) {
        case BMP_RGB:
            if (h.bit_count != 1 && h.bit_count != 4 && h.bit_count != 8 && h.bit_count != 16 &&
                h.bit_count != 24 && h.bit_count != 32)
                return 0;
            if (!HoldsUncompressed(h, colours, size, width, height)) return 0;
            break;
        case BMP_RLE8:
        case BMP_RLE4:
            if (h.bit_count != (h.compression == BMP_RLE8 ? 8 : 4) || h.height < 0) return 0;
            if (width * height > kRlePixelsPerByte * int64_t(std::max<size_t>(size, 1))) return 0;
            break;
        case BMP_BITFIELDS:
            if (h.bit_count != 16 && h.bit_count != 32) return 0;
            if (!HoldsUncompressed(h, colours, size, width, height)) return 0;
            break;
        default:
            return 0;
    }
    // Run-length images leave skipped pixels black; the others write every pixel.
    const bool rle = h.compression == BMP_RLE8 || h.compression == BMP_RLE4;
    const uint32_t bitmap = rle ? HostCreateBitmap(int(width), int(height))
                                : HostCreateBitmapUncleared(int(width), int(height));
    if (!bitmap) return 0;
    const RasterTarget out = HostBitmapTarget(bitmap);
    if (rle)
        DecodeRle(h, colours, bits, size, out);
    else
        DecodeUncompressed(h, colours, bits, out);
    return bitmap;
}
