// nomatool demo-art DIR: paints the demo game's start-screen pictures into DIR (LOGO.BMP and
// TITLE.BMP, 800 x 600). Everything is painted here from formulas and a fixed seed, so the
// pictures are the same on every machine (up to the fonts of the captions).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "host/bmp_write.h"
#include "host/sjis_literal.h"
#include "host/surface.h"
#include "host/text_out.h"
#include "tools/nomatool/commands.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

struct Rgb {
    double r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
    t = t < 0 ? 0 : t > 1 ? 1 : t;
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

uint32_t pack(Rgb c) {
    auto channel = [](double v) { return uint32_t(v < 0 ? 0 : v > 255 ? 255 : v + 0.5); };
    return channel(c.b) << 16 | channel(c.g) << 8 | channel(c.r);
}

Rgb unpack(uint32_t p) {
    return {double(p & 0xFF), double(p >> 8 & 0xFF), double(p >> 16 & 0xFF)};
}

uint32_t& pixel(int x, int y) {
    return HostSurfacePixels()[y * kWidth + x];
}

// Blends `c` over the pixel by `alpha` (0..1).
void blend(int x, int y, Rgb c, double alpha) {
    if (x < 0 || y < 0 || x >= kWidth || y >= kHeight || alpha <= 0) return;
    pixel(x, y) = pack(mix(unpack(pixel(x, y)), c, alpha));
}

// A small deterministic hash for stars and ripples.
uint32_t hash(uint32_t v) {
    v ^= v >> 16;
    v *= 0x7FEB352Du;
    v ^= v >> 15;
    v *= 0x846CA68Bu;
    return v ^ (v >> 16);
}

// A filled disc with a soft edge one pixel wide.
void disc(double cx, double cy, double radius, Rgb c, double strength = 1) {
    for (int y = int(cy - radius - 2); y <= int(cy + radius + 2); ++y)
        for (int x = int(cx - radius - 2); x <= int(cx + radius + 2); ++x) {
            double d = std::hypot(x - cx, y - cy);
            blend(x, y, c, strength * (radius + 0.5 - d));
        }
}

// A disc of `radius` without the disc of `cut` at (dx, dy) from its centre: a crescent.
void crescent(double cx, double cy, double radius, double dx, double dy, double cut, Rgb c) {
    for (int y = int(cy - radius - 2); y <= int(cy + radius + 2); ++y)
        for (int x = int(cx - radius - 2); x <= int(cx + radius + 2); ++x) {
            double inside = radius + 0.5 - std::hypot(x - cx, y - cy);
            double outside = std::hypot(x - cx - dx, y - cy - dy) - cut + 0.5;
            double a = std::fmin(inside, outside);
            blend(x, y, c, a > 1 ? 1 : a);
        }
}

void ring(double cx, double cy, double radius, double width, Rgb c) {
    for (int y = int(cy - radius - width - 2); y <= int(cy + radius + width + 2); ++y)
        for (int x = int(cx - radius - width - 2); x <= int(cx + radius + width + 2); ++x) {
            double d = std::fabs(std::hypot(x - cx, y - cy) - radius);
            blend(x, y, c, width / 2 + 0.5 - d);
        }
}

void caption(int x, int y, const char* text, uint32_t colour, int size) {
    HostTextOut(x + 2, y + 2, text, 0x100808, size, 0);
    HostTextOut(x, y, text, colour, size, 0);
}

int text_width(const char* text, int size) {
    int w = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        bool lead = (*p >= 0x81 && *p <= 0x9F) || (*p >= 0xE0 && *p <= 0xFC);
        w += lead && p[1] ? size : size / 2;
        if (lead && p[1]) ++p;
    }
    return w;
}

// The logo: a golden ring with a crescent moon and a star on a deep blue glow.
void paint_logo() {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            double d = std::hypot(x - 400.0, y - 260.0) / 420.0;
            pixel(x, y) = pack(mix({28, 30, 72}, {4, 4, 12}, d));
        }
    const Rgb gold{236, 196, 110};
    ring(400, 250, 120, 6, gold);
    ring(400, 250, 104, 2, gold);
    crescent(400, 250, 70, 28, -18, 64, {250, 236, 190});
    for (int i = 0; i < 4; ++i) {  // a four-pointed star
        double a = i * M_PI / 2;
        for (double t = 0; t < 28; t += 0.5)
            disc(470 + std::cos(a) * t, 200 + std::sin(a) * t, 3.2 * (1 - t / 30), gold);
    }
    const char* name = "N O M A";
    caption(400 - text_width(name, 48) / 2, 400, name, pack(gold), 48);
    const char* line = "an engine of small stories";
    caption(400 - text_width(line, 20) / 2, 470, line, 0xC8B4A0, 20);
}

// Height of a mountain ridge at x: a sum of sines, one set a layer.
double ridge(int layer, double x) {
    double base[] = {300, 345, 390};
    double h = base[layer];
    for (int k = 1; k <= 4; ++k)
        h -= std::sin(x * 0.004 * k * (layer + 1.3) + layer * 1.7 + k) * 42.0 / k;
    return h;
}

// The title: a dusk sky with stars and a moon, three ridges, a lake with the sky's reflection,
// a line of pines on the shore, and the game's name.
void paint_title() {
    const int horizon = 430;
    const Rgb top{18, 16, 58}, middle{110, 52, 110}, low{238, 128, 78};
    for (int y = 0; y < horizon; ++y) {
        double t = double(y) / horizon;
        Rgb c = t < 0.6 ? mix(top, middle, t / 0.6) : mix(middle, low, (t - 0.6) / 0.4);
        for (int x = 0; x < kWidth; ++x)
            pixel(x, y) = pack(c);
    }
    for (uint32_t i = 0; i < 260; ++i) {
        uint32_t h = hash(i * 2654435761u + 17);
        int x = int(h % kWidth), y = int(hash(h) % 260);
        double bright = 0.35 + (hash(h + 1) % 100) / 160.0;
        blend(x, y, {255, 250, 230}, bright * (1 - y / 300.0));
    }
    crescent(620, 110, 34, -14, -10, 30, {255, 244, 210});
    const Rgb layers[] = {{92, 60, 112}, {62, 40, 88}, {36, 24, 60}};
    for (int layer = 0; layer < 3; ++layer)
        for (int x = 0; x < kWidth; ++x) {
            double h = ridge(layer, x);
            for (int y = int(h); y < horizon; ++y)
                if (y >= 0) pixel(x, y) = pack(layers[layer]);
            blend(x, int(h) - 1, layers[layer], h - std::floor(h));
        }
    // Pines along the shore.
    for (int i = 0; i < 40; ++i) {
        int cx = 10 + i * 20 + int(hash(uint32_t(i) + 99) % 9);
        int height = 26 + int(hash(uint32_t(i) * 7 + 3) % 30);
        for (int y = 0; y < height; ++y) {
            int half = y * 7 / height + 1;
            for (int x = cx - half; x <= cx + half; ++x)
                if (x >= 0 && x < kWidth) pixel(x, horizon - height + y) = pack({16, 14, 30});
        }
    }
    // The lake mirrors the rows above the shore, darker, with ripples.
    for (int y = horizon; y < kHeight; ++y) {
        int source = horizon - 1 - (y - horizon) * 2;
        if (source < 0) source = 0;
        for (int x = 0; x < kWidth; ++x) {
            int shift = int(hash(uint32_t(y * 131 + x / 24)) % 5) - 2;
            int sx = x + shift < 0 ? 0 : x + shift >= kWidth ? kWidth - 1 : x + shift;
            Rgb c = unpack(pixel(sx, source));
            pixel(x, y) = pack(mix(c, {10, 12, 34}, 0.45 + (y - horizon) / 400.0));
        }
    }
    const char* title = "DuskIlvane";
    caption(400 - text_width(title, 72) / 2, 150, title, 0xB8E4F8, 72);
    const char* subtitle = "潮灯の島"_sj;
    caption(400 - text_width(subtitle, 28) / 2, 240, subtitle, 0xE0D0F0, 28);
}

bool save(const std::string& folder, const char* name) {
    std::string path = folder + "/" + name;
    if (HostWriteBmp(path.c_str(), HostSurfacePixels(), kWidth, kHeight)) return true;
    std::fprintf(stderr, "nomatool: cannot write %s\n", path.c_str());
    return false;
}

}  // namespace

int CmdDemoArt(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nomatool demo-art DIR\n");
        return 2;
    }
    if (!HostCreateSurface(kWidth, kHeight)) return 1;
    paint_logo();
    if (!save(argv[1], "LOGO.BMP")) return 1;
    paint_title();
    if (!save(argv[1], "TITLE.BMP")) return 1;
    return 0;
}
