// Painting operations and BMP encoders for the demo's pictures.
#include "tools/demo_gen/image.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace {

uint8_t clamp8(double v) {
    return uint8_t(std::clamp(std::lround(v), 0L, 255L));
}

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// BITMAPFILEHEADER and BITMAPINFOHEADER for a bottom-up picture.
std::vector<uint8_t> bmp_header(const Canvas& c, int bits, uint32_t compression, uint32_t colours,
                                uint32_t image_size) {
    std::vector<uint8_t> out;
    const uint32_t offset = 14 + 40 + colours * 4;
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + image_size);
    put32(out, 0);
    put32(out, offset);
    put32(out, 40);
    put32(out, uint32_t(c.width()));
    put32(out, uint32_t(c.height()));
    put16(out, 1);
    put16(out, uint16_t(bits));
    put32(out, compression);
    put32(out, image_size);
    put32(out, 2835);  // 72 dots per inch
    put32(out, 2835);
    put32(out, colours);
    put32(out, 0);
    return out;
}

uint32_t key(Rgb c) {
    return uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
}

// Median cut over the distinct colours, weighted by their pixel counts.
std::vector<Rgb> median_cut(const std::vector<std::pair<Rgb, uint32_t>>& colours, size_t limit) {
    struct Box {
        std::vector<std::pair<Rgb, uint32_t>> items;
    };
    std::vector<Box> boxes{{colours}};
    auto extent = [](const Box& b, int channel) {
        int lo = 255, hi = 0;
        for (const auto& [c, n] : b.items) {
            const int v = channel == 0 ? c.r : channel == 1 ? c.g : c.b;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        return hi - lo;
    };
    while (boxes.size() < limit) {
        // Split the box with the widest channel range.
        size_t best = 0;
        int best_range = -1, best_channel = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].items.size() < 2) continue;
            for (int ch = 0; ch < 3; ++ch) {
                const int r = extent(boxes[i], ch);
                if (r > best_range) best_range = r, best = i, best_channel = ch;
            }
        }
        if (best_range <= 0) break;
        auto& items = boxes[best].items;
        std::sort(items.begin(), items.end(), [&](const auto& a, const auto& b) {
            const uint8_t va = best_channel == 0   ? a.first.r
                               : best_channel == 1 ? a.first.g
                                                   : a.first.b;
            const uint8_t vb = best_channel == 0   ? b.first.r
                               : best_channel == 1 ? b.first.g
                                                   : b.first.b;
            return va != vb ? va < vb : key(a.first) < key(b.first);
        });
        uint64_t total = 0, half = 0;
        for (const auto& it : items)
            total += it.second;
        size_t cut = 1;
        for (size_t i = 0; i + 1 < items.size(); ++i) {
            half += items[i].second;
            cut = i + 1;
            if (half * 2 >= total) break;
        }
        Box upper{{items.begin() + long(cut), items.end()}};
        items.resize(cut);
        boxes.push_back(std::move(upper));
    }
    std::vector<Rgb> palette;
    for (const Box& b : boxes) {
        double r = 0, g = 0, bl = 0, n = 0;
        for (const auto& [c, count] : b.items) {
            r += c.r * double(count);
            g += c.g * double(count);
            bl += c.b * double(count);
            n += count;
        }
        palette.push_back({clamp8(r / n), clamp8(g / n), clamp8(bl / n)});
    }
    return palette;
}

}  // namespace

Rgb Mix(Rgb a, Rgb b, double t) {
    return {clamp8(a.r + (b.r - a.r) * t), clamp8(a.g + (b.g - a.g) * t),
            clamp8(a.b + (b.b - a.b) * t)};
}

Rgb Scale(Rgb c, double f) {
    return {clamp8(c.r * f), clamp8(c.g * f), clamp8(c.b * f)};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), pixels_(size_t(width) * height, fill) {}

void Canvas::set(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[size_t(y) * width_ + x] = c;
}

void Canvas::blend(int x, int y, Rgb c, double alpha) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    Rgb& p = pixels_[size_t(y) * width_ + x];
    p = Mix(p, c, alpha);
}

void Canvas::fill_rect(int x, int y, int w, int h, Rgb c) {
    for (int yy = std::max(0, y); yy < std::min(height_, y + h); ++yy)
        for (int xx = std::max(0, x); xx < std::min(width_, x + w); ++xx)
            set(xx, yy, c);
}

void Canvas::blend_rect(int x, int y, int w, int h, Rgb c, double alpha) {
    for (int yy = std::max(0, y); yy < std::min(height_, y + h); ++yy)
        for (int xx = std::max(0, x); xx < std::min(width_, x + w); ++xx)
            blend(xx, yy, c, alpha);
}

void Canvas::vertical_gradient(int y0, int y1, Rgb top, Rgb bottom, int steps) {
    static const double kPattern[4] = {0.125, 0.625, 0.375, 0.875};
    steps = std::max(steps, 2);
    for (int y = y0; y < y1; ++y) {
        const double t = y1 - y0 > 1 ? double(y - y0) / (y1 - y0 - 1) : 0.0;
        const double pos = t * (steps - 1);
        int band = int(pos);
        if (pos - band > kPattern[y & 3]) ++band;
        fill_rect(0, y, width_, 1, Mix(top, bottom, double(band) / (steps - 1)));
    }
}

void Canvas::fill_ellipse(double cx, double cy, double rx, double ry, Rgb c) {
    blend_ellipse(cx, cy, rx, ry, c, 1.0);
}

void Canvas::blend_ellipse(double cx, double cy, double rx, double ry, Rgb c, double alpha) {
    if (rx <= 0 || ry <= 0) return;
    for (int y = int(std::floor(cy - ry)); y <= int(std::ceil(cy + ry)); ++y) {
        const double dy = (y + 0.5 - cy) / ry;
        if (dy * dy > 1) continue;
        const double half = rx * std::sqrt(1 - dy * dy);
        const int xa = int(std::lround(cx - half)), xb = int(std::lround(cx + half));
        for (int x = xa; x < xb; ++x) {
            if (alpha >= 1)
                set(x, y, c);
            else
                blend(x, y, c, alpha);
        }
    }
}

void Canvas::fill_polygon(const std::vector<std::pair<double, double>>& points, Rgb c) {
    blend_polygon(points, c, 1.0);
}

void Canvas::blend_polygon(const std::vector<std::pair<double, double>>& points, Rgb c,
                           double alpha) {
    if (points.size() < 3) return;
    double ymin = points[0].second, ymax = ymin;
    for (const auto& p : points)
        ymin = std::min(ymin, p.second), ymax = std::max(ymax, p.second);
    for (int y = std::max(0, int(ymin)); y <= std::min(height_ - 1, int(ymax)); ++y) {
        const double sy = y + 0.5;
        std::vector<double> xs;
        for (size_t i = 0; i < points.size(); ++i) {
            const auto& a = points[i];
            const auto& b = points[(i + 1) % points.size()];
            if ((a.second <= sy) == (b.second <= sy)) continue;
            xs.push_back(a.first + (sy - a.second) * (b.first - a.first) / (b.second - a.second));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2) {
            for (int x = int(std::lround(xs[i])); x < int(std::lround(xs[i + 1])); ++x) {
                if (alpha >= 1)
                    set(x, y, c);
                else
                    blend(x, y, c, alpha);
            }
        }
    }
}

void Canvas::line(double x0, double y0, double x1, double y1, Rgb c, int thickness) {
    const double len = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    const int n = std::max(1, int(std::ceil(len)));
    for (int i = 0; i <= n; ++i) {
        const double t = double(i) / n;
        const int x = int(std::lround(x0 + (x1 - x0) * t));
        const int y = int(std::lround(y0 + (y1 - y0) * t));
        fill_rect(x - thickness / 2, y - thickness / 2, thickness, thickness, c);
    }
}

void Canvas::fill_below(const std::vector<double>& ridge, Rgb c) {
    for (int x = 0; x < width_ && x < int(ridge.size()); ++x)
        for (int y = std::max(0, int(std::lround(ridge[x]))); y < height_; ++y)
            set(x, y, c);
}

void Canvas::tint(Rgb t, double fade) {
    for (Rgb& p : pixels_) {
        const double grey = (p.r * 0.3 + p.g * 0.59 + p.b * 0.11);
        const Rgb g{clamp8(grey), clamp8(grey), clamp8(grey)};
        const Rgb m = Mix(p, g, fade);
        p = {clamp8(m.r * t.r / 255.0), clamp8(m.g * t.g / 255.0), clamp8(m.b * t.b / 255.0)};
    }
}

uint32_t Random::next() {
    // xorshift32
    uint32_t x = state_ ? state_ : 0x9E3779B9u;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state_ = x;
    return x;
}

double Random::uniform() {
    return (next() >> 8) / double(1u << 24);
}
double Random::range(double lo, double hi) {
    return lo + (hi - lo) * uniform();
}
int Random::below(int n) {
    return n > 0 ? int(next() % uint32_t(n)) : 0;
}

std::vector<double> Ridge(int width, uint32_t seed, double base, double amplitude,
                          double wavelength, int octaves) {
    std::vector<double> out(size_t(width), base);
    Random rnd(seed);
    double amp = amplitude, wave = wavelength;
    for (int o = 0; o < octaves; ++o) {
        const int knots = int(width / wave) + 3;
        std::vector<double> values(static_cast<size_t>(knots));
        for (double& v : values)
            v = rnd.range(-1, 1);
        for (int x = 0; x < width; ++x) {
            const double p = x / wave;
            const int i = int(p);
            const double f = p - i, s = f * f * (3 - 2 * f);
            out[size_t(x)] += amp * (values[size_t(i)] * (1 - s) + values[size_t(i) + 1] * s);
        }
        amp *= 0.45;
        wave *= 0.45;
    }
    return out;
}

std::vector<uint8_t> EncodeBmp8(const Canvas& canvas) {
    std::map<uint32_t, uint32_t> counts;
    for (Rgb p : canvas.pixels())
        ++counts[key(p)];
    std::vector<std::pair<Rgb, uint32_t>> colours;
    for (auto [k, n] : counts)
        colours.push_back({{uint8_t(k >> 16), uint8_t(k >> 8), uint8_t(k)}, n});
    std::vector<Rgb> palette;
    if (colours.size() <= 256) {
        for (const auto& c : colours)
            palette.push_back(c.first);
    } else {
        // Pure green keeps an entry of its own; the other colours share the rest.
        std::vector<std::pair<Rgb, uint32_t>> others;
        for (const auto& c : colours)
            if (!(c.first == kTransparent)) others.push_back(c);
        const bool green = others.size() < colours.size();
        palette = median_cut(others, green ? 255 : 256);
        if (green) palette.push_back(kTransparent);
    }
    // Exact colours keep their entry; pure green stays exact in every case, since a sprite's
    // transparent pixels must compare equal to it, and no other colour is mapped onto it.
    std::map<uint32_t, uint8_t> index;
    for (const auto& [c, n] : colours) {
        int best = 0;
        long best_d = -1;
        for (size_t i = 0; i < palette.size(); ++i) {
            if (palette[i] == kTransparent && !(c == kTransparent)) continue;
            const long dr = c.r - palette[i].r, dg = c.g - palette[i].g, db = c.b - palette[i].b;
            const long d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
            if (best_d < 0 || d < best_d) best_d = d, best = int(i);
        }
        if (c == kTransparent && !(palette[size_t(best)] == kTransparent))
            throw std::runtime_error("the transparent colour was lost in quantisation");
        index[key(c)] = uint8_t(best);
    }
    std::vector<uint8_t> bits;
    for (int y = canvas.height() - 1; y >= 0; --y) {
        int x = 0;
        while (x < canvas.width()) {
            const uint8_t v = index[key(canvas.at(x, y))];
            int run = 1;
            while (x + run < canvas.width() && run < 255 && index[key(canvas.at(x + run, y))] == v)
                ++run;
            bits.push_back(uint8_t(run));
            bits.push_back(v);
            x += run;
        }
        bits.push_back(0);
        bits.push_back(y == 0 ? 1 : 0);  // end of line, end of bitmap after the top row
    }
    std::vector<uint8_t> out =
        bmp_header(canvas, 8, 1, uint32_t(palette.size()), uint32_t(bits.size()));
    for (Rgb c : palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

std::vector<uint8_t> EncodeBmp24(const Canvas& canvas) {
    const int stride = (canvas.width() * 3 + 3) / 4 * 4;
    std::vector<uint8_t> out = bmp_header(canvas, 24, 0, 0, uint32_t(stride * canvas.height()));
    for (int y = canvas.height() - 1; y >= 0; --y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const Rgb c = canvas.at(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (int p = canvas.width() * 3; p < stride; ++p)
            out.push_back(0);
    }
    return out;
}
