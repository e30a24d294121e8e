// The start-up banner of the debug monitor window: lines of text in a light grey Mincho of
// height 18 over the window's black, from (24, 30) down, 17 pixels apart.
#include <algorithm>
#include <string>
#include <vector>

#include "host/font.h"
#include "host/sjis.h"
#include "host/window.h"

namespace {

constexpr int kFontSize = 18;
constexpr uint32_t kColour = 0xC8C8C8;

uint32_t blend(uint32_t under, uint32_t colour, uint32_t alpha) {
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t u = (under >> shift) & 0xFF, c = (colour >> shift) & 0xFF;
        out |= ((c * alpha + u * (255 - alpha)) / 255) << shift;
    }
    return out;
}

void draw_glyph(const RasterTarget& target, const HostGlyph& glyph, int pen_x, int baseline) {
    for (int gy = 0; gy < glyph.height; ++gy) {
        for (int gx = 0; gx < glyph.width; ++gx) {
            int x = pen_x + glyph.left + gx, y = baseline - glyph.top + gy;
            uint8_t alpha = glyph.coverage[size_t(gy) * glyph.width + gx];
            if (!alpha || !target.Contains(x, y)) continue;
            uint32_t& pixel = target.Row(y)[x];
            pixel = blend(pixel, kColour, alpha);
        }
    }
}

void draw_line(const RasterTarget& target, int x, int y, const std::string& text) {
    int baseline = y + HostFontAscent(HostFontKind::kMincho, kFontSize);
    for (size_t i = 0; i < text.size(); ++i) {
        uint8_t byte = uint8_t(text[i]);
        uint16_t code = byte;
        if (IsSjisLead(byte) && i + 1 < text.size())
            code = uint16_t(byte << 8 | uint8_t(text[++i]));
        const HostGlyph& glyph =
            HostFontGlyph(HostFontKind::kMincho, kFontSize, false, SjisToUnicode(code));
        draw_glyph(target, glyph, x, baseline);
        x += code > 0xFF ? kFontSize : kFontSize / 2;
    }
}

}  // namespace

void DrawMonitorBanner(const std::vector<std::string>& lines) {
    RasterTarget target = HostDebugMonitorTarget();
    if (!target.pixels) return;
    int y = 30;
    for (const std::string& line : lines) {
        draw_line(target, 24, y, line);
        y += 17;
    }
    HostPresentDebugMonitor();
}
