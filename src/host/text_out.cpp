#include "host/text_out.h"

#include <algorithm>
#include <mutex>

#include "host/font.h"
#include "host/raster.h"
#include "host/sjis.h"
#include "host/surface.h"

namespace {

// Bytes 0x80-0x9F of the Western code page the Gothic font (character set 0) reads its bytes
// in; the undefined ones stay control characters. 0xA0-0xFF are Latin-1 itself.
constexpr uint16_t kWestern80[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

uint32_t Western(uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? kWestern80[byte - 0x80] : byte;
}

// The code page 932 decoding of an invalid sequence: the katakana middle dot.
constexpr uint32_t kDefaultChar = 0x30FB;

uint32_t Blend(uint32_t d, uint32_t c, uint32_t a) {
    if (a == 255) return c;
    const uint32_t na = 255 - a;
    uint32_t rb = (c & 0xFF00FF) * a + (d & 0xFF00FF) * na;
    uint32_t g = (c & 0x00FF00) * a + (d & 0x00FF00) * na;
    rb = ((rb + 0x800080 + ((rb >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
    g = ((g + 0x008000 + ((g >> 8) & 0x00FF00)) >> 8) & 0x00FF00;
    return rb | g;
}

// Draws one glyph with its pen position at (pen_x, baseline).
void DrawGlyph(const RasterTarget& t, const HostGlyph& g, int pen_x, int baseline,
               uint32_t colour) {
    const int x0 = pen_x + g.left, y0 = baseline - g.top;
    const int col_first = std::max(0, -x0), col_last = std::min(g.width, t.width - x0);
    const int row_first = std::max(0, -y0), row_last = std::min(g.height, t.height - y0);
    for (int row = row_first; row < row_last; ++row) {
        const uint8_t* a = g.coverage.data() + size_t(row) * g.width;
        uint32_t* d = t.Row(y0 + row) + x0;
        const int first = std::max<int>(col_first, g.row_first[size_t(row)]);
        const int last = std::min<int>(col_last, g.row_end[size_t(row)]);
        for (int col = first; col < last; ++col)
            if (a[col]) d[col] = Blend(d[col], colour, a[col]);
    }
}

void DrawOnePiece(const RasterTarget& t, int x, int baseline, const uint8_t* s, uint32_t colour,
                  int size, bool italic) {
    while (*s) {
        uint32_t code;
        if (IsSjisLead(*s)) {
            if (IsSjisTrail(s[1])) {
                code = SjisToUnicode(uint16_t(s[0] << 8 | s[1]));
                s += 2;
            } else {
                code = kDefaultChar;
                ++s;
            }
        } else {
            code = SjisToUnicode(*s);
            ++s;
        }
        const HostGlyph& g = HostFontGlyph(HostFontKind::kMincho, size, italic, code);
        DrawGlyph(t, g, x, baseline, colour);
        x += g.advance;
    }
}

}  // namespace

void HostTextOut(int x, int y, const char* text, uint32_t colour, int size, uint16_t flags) {
    HostSetScreenTextColor(colour);
    colour &= 0x00FFFFFF;
    if (!text) return;
    const bool italic = flags & FONT_ITALIC;
    const uint8_t* s = reinterpret_cast<const uint8_t*>(text);

    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    const RasterTarget t = HostSurfaceTarget();
    if (!t.pixels) return;
    if (flags & FONT_ONE_PIECE) {
        DrawOnePiece(t, x, y + HostFontAscent(HostFontKind::kMincho, size), s, colour, size,
                     italic);
        return;
    }
    const int ascent[3] = {HostFontAscent(HostFontKind::kMincho, size),
                           HostFontAscent(HostFontKind::kMinchoNarrow, size),
                           HostFontAscent(HostFontKind::kGothicNarrow, size)};
    while (*s) {
        HostFontKind kind;
        uint32_t code;
        int advance;
        if (IsSjisLead(s[0]) && IsSjisTrail(s[1])) {
            kind = HostFontKind::kMincho;
            code = SjisToUnicode(uint16_t(s[0] << 8 | s[1]));
            advance = size;
            s += 2;
        } else {
            if (s[0] >= 0xA1 && s[0] <= 0xDF) {
                kind = HostFontKind::kMinchoNarrow;
                code = SjisToUnicode(s[0]);
            } else {
                kind = HostFontKind::kGothicNarrow;
                code = Western(s[0]);
            }
            advance = size / 2;
            ++s;
        }
        const HostGlyph& g = HostFontGlyph(kind, size, italic, code);
        const int extent = g.advance;
        const int at = advance - advance / 8 > extent ? x + (advance - extent) / 2 : x;
        DrawGlyph(t, g, at, y + ascent[int(kind)], colour);
        x += advance;
    }
}
