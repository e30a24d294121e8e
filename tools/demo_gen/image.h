// Pictures of the demo game: an RGB canvas with the few painting operations the scenes need,
// and its BMP encodings (8-bit palette with RLE8 for large pictures, 24-bit for small ones).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

Rgb Mix(Rgb a, Rgb b, double t);  // t = 0 gives a, 1 gives b
Rgb Scale(Rgb c, double f);

// Pure green: the transparent colour of sprites.
inline constexpr Rgb kTransparent{0, 255, 0};

class Canvas {
public:
    Canvas(int width, int height, Rgb fill = {});
    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }
    void set(int x, int y, Rgb c);                      // clipped
    void blend(int x, int y, Rgb c, double alpha);      // clipped
    void fill_rect(int x, int y, int w, int h, Rgb c);  // clipped
    void blend_rect(int x, int y, int w, int h, Rgb c, double alpha);
    // Rows y0..y1-1 shaded from `top` to `bottom` in `steps` flat tones; rows between two tones
    // alternate along a small ordered pattern, so each row stays one colour.
    void vertical_gradient(int y0, int y1, Rgb top, Rgb bottom, int steps);
    void fill_ellipse(double cx, double cy, double rx, double ry, Rgb c);
    void blend_ellipse(double cx, double cy, double rx, double ry, Rgb c, double alpha);
    // Filled polygon (even-odd rule over pixel centres).
    void fill_polygon(const std::vector<std::pair<double, double>>& points, Rgb c);
    void blend_polygon(const std::vector<std::pair<double, double>>& points, Rgb c, double alpha);
    void line(double x0, double y0, double x1, double y1, Rgb c, int thickness = 1);
    // Everything below the ridge y = ridge[x] (one value per column) filled with c.
    void fill_below(const std::vector<double>& ridge, Rgb c);
    // Multiplies every pixel by the tint and mixes it towards grey by `fade` (old photographs).
    void tint(Rgb tint, double fade);
    const std::vector<Rgb>& pixels() const { return pixels_; }

private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

// A fixed pseudo-random sequence (the pictures and sounds are the same on every run).
class Random {
public:
    explicit Random(uint32_t seed) : state_(seed * 2654435761u + 1u) {}
    uint32_t next();
    double uniform();  // [0, 1)
    double range(double lo, double hi);
    int below(int n);

private:
    uint32_t state_;
};

// Smooth 1-D noise in [-1, 1] made of `octaves` layers of interpolated random values.
std::vector<double> Ridge(int width, uint32_t seed, double base, double amplitude,
                          double wavelength, int octaves);

// BMP files. Encode8 quantises to at most 256 colours (exact when the picture has no more) and
// writes them run-length encoded (RLE8); Encode24 writes the pixels as they are.
std::vector<uint8_t> EncodeBmp8(const Canvas& canvas);
std::vector<uint8_t> EncodeBmp24(const Canvas& canvas);
