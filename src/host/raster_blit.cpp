#include "host/raster_blit.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "host/raster_core.h"

namespace {

constexpr uint32_t kColourBits = 0x00FFFFFFu;

// The common rectangle of a transfer after clipping both blocks to their targets.
struct Span {
    int dx, dy, sx, sy, width, height;
    bool empty() const { return width <= 0 || height <= 0; }
};

Span ClipTransfer(const RasterTarget& dst, int x, int y, int width, int height,
                  const RasterTarget* src, int src_x, int src_y) {
    int left, top, right, bottom;
    RasterBlockRect(x, y, width, height, &left, &top, &right, &bottom);
    int sleft, stop, sright, sbottom;
    RasterBlockRect(src_x, src_y, width, height, &sleft, &stop, &sright, &sbottom);
    // Offsets from destination to source coordinates.
    const int64_t ox = int64_t(sleft) - left, oy = int64_t(stop) - top;
    int64_t l = std::max<int64_t>(left, 0), t = std::max<int64_t>(top, 0);
    int64_t r = std::min<int64_t>(right, dst.width), b = std::min<int64_t>(bottom, dst.height);
    if (src) {
        l = std::max<int64_t>(l, -ox);
        t = std::max<int64_t>(t, -oy);
        r = std::min<int64_t>(r, src->width - ox);
        b = std::min<int64_t>(b, src->height - oy);
    }
    if (l >= r || t >= b) return Span{0, 0, 0, 0, 0, 0};
    return Span{int(l), int(t), int(l + ox), int(t + oy), int(r - l), int(b - t)};
}

uint32_t GenericRop(uint8_t code, uint32_t p, uint32_t s, uint32_t d) {
    uint32_t out = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((code >> i) & 1)) continue;
        out |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return out;
}

template <typename Op>
void ForEachRow(const RasterTarget& dst, const RasterTarget* src, const Span& c, Op op) {
    for (int row = 0; row < c.height; ++row) {
        uint32_t* d = dst.Row(c.dy + row) + c.dx;
        const uint32_t* s = src ? src->Row(c.sy + row) + c.sx : nullptr;
        for (int i = 0; i < c.width; ++i)
            d[i] = op(s ? s[i] : 0u, d[i]) & kColourBits;
    }
}

}  // namespace

uint32_t RasterRop3(uint32_t rop, uint32_t pattern, uint32_t source, uint32_t destination) {
    return GenericRop(uint8_t(rop >> 16), pattern, source, destination) & kColourBits;
}

void RasterBlit(const RasterTarget& dst, int x, int y, int width, int height,
                const RasterTarget* src, int src_x, int src_y, uint32_t rop, uint32_t pattern) {
    if (!dst.pixels) return;
    const uint8_t code = uint8_t(rop >> 16);
    // Does the operation read the source at all? (bits differ between S and not S)
    const bool uses_source = ((code >> 2) & 0x33) != (code & 0x33);
    if (uses_source && (!src || !src->pixels)) return;
    const RasterTarget* source = uses_source ? src : nullptr;
    const Span c = ClipTransfer(dst, x, y, width, height, source, src_x, src_y);
    if (c.empty()) return;

    // A transfer within one target reads from a copy when the blocks overlap.
    std::vector<uint32_t> copy;
    RasterTarget copied{nullptr, 0, 0};
    Span span = c;
    if (source && source->pixels == dst.pixels) {
        copy.resize(size_t(c.width) * c.height);
        for (int row = 0; row < c.height; ++row)
            std::memcpy(copy.data() + size_t(row) * c.width, source->Row(c.sy + row) + c.sx,
                        size_t(c.width) * 4);
        copied = RasterTarget{copy.data(), c.width, c.height};
        source = &copied;
        span.sx = span.sy = 0;
    }

    const uint32_t p = pattern & kColourBits;
    switch (code) {
        case 0xCC:  // SRCCOPY
            for (int row = 0; row < span.height; ++row)
                std::memcpy(dst.Row(span.dy + row) + span.dx, source->Row(span.sy + row) + span.sx,
                            size_t(span.width) * 4);
            break;
        case 0xEE:
            ForEachRow(dst, source, span, [](uint32_t s, uint32_t d) { return d | s; });
            break;
        case 0x88:
            ForEachRow(dst, source, span, [](uint32_t s, uint32_t d) { return d & s; });
            break;
        case 0x66:
            ForEachRow(dst, source, span, [](uint32_t s, uint32_t d) { return d ^ s; });
            break;
        case 0x33:
            ForEachRow(dst, source, span, [](uint32_t s, uint32_t) { return ~s; });
            break;
        case 0x55:
            ForEachRow(dst, nullptr, span, [](uint32_t, uint32_t d) { return ~d; });
            break;
        case 0xF0:
            ForEachRow(dst, nullptr, span, [p](uint32_t, uint32_t) { return p; });
            break;
        case 0x5A:
            ForEachRow(dst, nullptr, span, [p](uint32_t, uint32_t d) { return d ^ p; });
            break;
        case 0xAE:
            ForEachRow(dst, source, span, [p](uint32_t s, uint32_t d) { return d | (s & ~p); });
            break;
        default:
            ForEachRow(dst, source, span,
                       [code, p](uint32_t s, uint32_t d) { return GenericRop(code, p, s, d); });
            break;
    }
}

std::vector<int> RasterStretchAxis(int dst_start, int dst_length, int dst_limit, int src_start,
                                   int src_length, int src_limit, bool keep_first) {
    std::vector<int> map(size_t(std::max(dst_limit, 0)), -1);
    if (dst_length == 0 || src_length == 0 || dst_limit <= 0 || src_limit <= 0) return map;
    const int64_t D = std::llabs(int64_t(dst_length)), S = std::llabs(int64_t(src_length));
    const int dinc = dst_length > 0 ? 1 : -1, sinc = src_length > 0 ? 1 : -1;
    // Walk steps k whose walked coordinate (start + inc * k) lies in 0 .. limit - 1.
    auto step_range = [](int64_t start, int inc, int64_t length, int64_t limit, int64_t* first,
                         int64_t* last) {
        if (inc > 0) {
            *first = std::max<int64_t>(0, -start);
            *last = std::min<int64_t>(length - 1, limit - 1 - start);
        } else {
            *first = std::max<int64_t>(0, start - (limit - 1));
            *last = std::min<int64_t>(length - 1, start);
        }
    };
    using Wide = __int128;
    int64_t first, last;
    if (D >= S) {
        // Every destination index k takes source index ((2k + 1) S - 1) / 2D.
        step_range(dst_start, dinc, D, dst_limit, &first, &last);
        for (int64_t k = first; k <= last; ++k) {
            const int64_t m = int64_t((Wide(2 * k + 1) * S - 1) / (2 * Wide(D)));
            const int64_t s = src_start + int64_t(sinc) * m;
            if (s >= 0 && s < src_limit) map[size_t(dst_start + int64_t(dinc) * k)] = int(s);
        }
    } else {
        // Every source index m lands on destination index ((2m + 1) D - 1) / 2S.
        step_range(src_start, sinc, S, src_limit, &first, &last);
        for (int64_t m = first; m <= last; ++m) {
            const int64_t k = int64_t((Wide(2 * m + 1) * D - 1) / (2 * Wide(S)));
            const int64_t d = dst_start + int64_t(dinc) * k;
            if (d < 0 || d >= dst_limit) continue;
            int& slot = map[size_t(d)];
            if (!keep_first || slot < 0) slot = int(src_start + int64_t(sinc) * m);
        }
    }
    return map;
}

void RasterStretch(const RasterTarget& dst, int x, int y, int width, int height,
                   const RasterTarget& src, int src_x, int src_y, int src_width, int src_height) {
    if (!dst.pixels || !src.pixels) return;
    if (width == src_width && height == src_height) {
        RasterBlit(dst, x, y, width, height, &src, src_x, src_y, ROP_SRCCOPY, 0);
        return;
    }
    const std::vector<int> rows =
        RasterStretchAxis(y, height, dst.height, src_y, src_height, src.height, true);
    const std::vector<int> cols =
        RasterStretchAxis(x, width, dst.width, src_x, src_width, src.width, false);
    int col_first = dst.width, col_last = -1;
    for (int c = 0; c < dst.width; ++c) {
        if (cols[size_t(c)] < 0) continue;
        col_first = std::min(col_first, c);
        col_last = c;
    }
    if (col_last < 0) return;
    // Reading from a copy keeps a stretch within one target correct.
    std::vector<uint32_t> copy;
    const uint32_t* source = src.pixels;
    if (src.pixels == dst.pixels) {
        copy.assign(src.pixels, src.pixels + size_t(src.width) * src.height);
        source = copy.data();
    }
    for (int r = 0; r < dst.height; ++r) {
        const int sr = rows[size_t(r)];
        if (sr < 0) continue;
        const uint32_t* s = source + size_t(sr) * src.width;
        uint32_t* d = dst.Row(r);
        for (int c = col_first; c <= col_last; ++c)
            if (cols[size_t(c)] >= 0) d[c] = s[cols[size_t(c)]];
    }
}

void RasterMaskBlit(const RasterTarget& dst, int x, int y, const RasterTarget& src,
                    const RasterTarget& mask) {
    if (!dst.pixels || !src.pixels) return;
    const Span c = ClipTransfer(dst, x, y, src.width, src.height, &src, 0, 0);
    if (c.empty()) return;
    for (int row = 0; row < c.height; ++row) {
        uint32_t* d = dst.Row(c.dy + row) + c.dx;
        const uint32_t* s = src.Row(c.sy + row) + c.sx;
        const int mrow = c.sy + row;
        const uint32_t* m = mask.pixels && mrow < mask.height ? mask.Row(mrow) : nullptr;
        for (int i = 0; i < c.width; ++i) {
            const int mcol = c.sx + i;
            const bool transparent = m && mcol < mask.width && m[mcol];
            d[i] = transparent ? (d[i] | s[i]) : s[i];
        }
    }
}
