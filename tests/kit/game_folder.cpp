#include "kit/game_folder.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "kit/boot.h"

namespace {

struct Rgb {
    int r, g, b;
};

Rgb mix(Rgb a, Rgb b, double t) {
    return {int(a.r + (b.r - a.r) * t), int(a.g + (b.g - a.g) * t), int(a.b + (b.b - a.b) * t)};
}

class Canvas {
public:
    Canvas(int width, int height)
        : width_(width), height_(height), pixels_(size_t(width * height)) {}
    void Set(int x, int y, Rgb c) {
        if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[size_t(y * width_ + x)] = c;
    }
    void Fill(int x0, int y0, int x1, int y1, Rgb c) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                Set(x, y, c);
    }
    void Disc(int cx, int cy, int radius, Rgb c) {
        for (int y = cy - radius; y <= cy + radius; ++y)
            for (int x = cx - radius; x <= cx + radius; ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius) Set(x, y, c);
    }
    void Triangle(int cx, int top, int half, int bottom, Rgb c) {
        for (int y = top; y < bottom; ++y) {
            int w = half * (y - top) / (bottom - top);
            Fill(cx - w, y, cx + w + 1, y + 1, c);
        }
    }
    std::string Bmp() const {
        int row = (width_ * 3 + 3) & ~3;
        std::string out(size_t(54 + row * height_), '\0');
        auto put32 = [&](size_t at, uint32_t v) {
            for (int i = 0; i < 4; ++i)
                out[at + size_t(i)] = char(v >> (8 * i));
        };
        out[0] = 'B';
        out[1] = 'M';
        put32(2, uint32_t(out.size()));
        put32(10, 54);
        put32(14, 40);
        put32(18, uint32_t(width_));
        put32(22, uint32_t(height_));
        out[26] = 1;
        out[28] = 24;
        put32(34, uint32_t(row * height_));
        for (int y = 0; y < height_; ++y) {
            size_t at = size_t(54 + (height_ - 1 - y) * row);
            for (int x = 0; x < width_; ++x) {
                Rgb c = pixels_[size_t(y * width_ + x)];
                out[at++] = char(c.b);
                out[at++] = char(c.g);
                out[at++] = char(c.r);
            }
        }
        return out;
    }
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

void sky(Canvas& c, int weather) {
    Rgb top = weather ? Rgb{60, 64, 80} : Rgb{40, 50, 120};
    Rgb bottom = weather ? Rgb{120, 120, 130} : Rgb{250, 150, 90};
    int horizon = c.height() * 2 / 3;
    for (int y = 0; y < horizon; ++y)
        c.Fill(0, y, c.width(), y + 1, mix(top, bottom, double(y) / horizon));
    if (!weather) c.Disc(c.width() * 3 / 4, horizon - 40, 36, {255, 210, 120});
    c.Fill(0, horizon, c.width(), c.height(), weather ? Rgb{50, 70, 50} : Rgb{70, 90, 50});
}

void town(Canvas& c) {
    int ground = c.height() * 2 / 3;
    for (int i = 0; i < 7; ++i) {
        int x = 40 + i * c.width() / 7;
        int h = 60 + (i * 37) % 70;
        Rgb wall = {120 + i * 10, 90 + i * 5, 70};
        c.Fill(x, ground - h, x + 70, ground, wall);
        c.Triangle(x + 35, ground - h - 40, 45, ground - h, {140, 50, 40});
        c.Fill(x + 28, ground - 30, x + 42, ground, {60, 40, 30});
        c.Fill(x + 12, ground - h + 15, x + 24, ground - h + 27, {250, 220, 120});
    }
}

void forest(Canvas& c) {
    int ground = c.height() * 2 / 3;
    for (int i = 0; i < 14; ++i) {
        int x = 20 + i * c.width() / 14 + (i % 3) * 9;
        int h = 120 + (i * 53) % 90;
        c.Fill(x - 5, ground - 40, x + 5, ground + 10, {80, 50, 30});
        c.Triangle(x, ground - h, 34, ground - 30, {30 + i * 4, 90 + (i % 4) * 15, 40});
    }
}

void castle(Canvas& c) {
    int ground = c.height() * 2 / 3;
    int cx = c.width() / 2;
    Rgb stone = {110, 105, 120};
    c.Fill(cx - 150, ground - 120, cx + 150, ground, stone);
    for (int x = cx - 150; x < cx + 150; x += 30)
        c.Fill(x, ground - 135, x + 15, ground - 120, stone);
    c.Fill(cx - 190, ground - 200, cx - 130, ground, {95, 90, 105});
    c.Fill(cx + 130, ground - 200, cx + 190, ground, {95, 90, 105});
    c.Triangle(cx - 160, ground - 260, 40, ground - 200, {70, 40, 90});
    c.Triangle(cx + 160, ground - 260, 40, ground - 200, {70, 40, 90});
    c.Disc(cx, ground - 40, 30, {40, 30, 30});
    c.Fill(cx - 30, ground - 40, cx + 30, ground, {40, 30, 30});
}

void rain(Canvas& c) {
    for (int i = 0; i < 400; ++i) {
        int x = (i * 97) % c.width();
        int y = (i * 61) % c.height();
        for (int k = 0; k < 10; ++k)
            c.Set(x + k / 3, y + k, {170, 180, 210});
    }
}

}  // namespace

void InstallTestGame() {
    namespace fs = std::filesystem;
    fs::path source = fs::path(NOMA_SOURCE_DIR) / "tests/game/data";
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        fs::path target = fs::relative(entry.path(), source);
        if (entry.is_directory()) {
            fs::create_directories(target);
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        std::string ext = entry.path().extension().string();
        WriteFileBytes(target.string(), ext == ".bmp" ? bytes.str() : Sj(bytes.str()));
    }
}

std::string BmpBytes(int width, int height, const std::vector<uint32_t>& pixels) {
    Canvas c(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[size_t(y * width + x)];
            c.Set(x, y, {int(p & 0xFF), int((p >> 8) & 0xFF), int((p >> 16) & 0xFF)});
        }
    return c.Bmp();
}

std::string ScenePicture(int width, int height, int place, int weather) {
    Canvas c(width, height);
    sky(c, weather);
    if (place == 0) town(c);
    if (place == 1) forest(c);
    if (place == 2) castle(c);
    if (weather) rain(c);
    return c.Bmp();
}

void WriteTestPictures(int width, int height) {
    const char* places[] = {"town", "forest", "castle"};
    const char* weathers[] = {"sunny", "rain"};
    WriteFileBytes("robyA.bmp", ScenePicture(width, height, 0, 0));
    for (int p = 0; p < 3; ++p)
        for (int w = 0; w < 2; ++w)
            WriteFileBytes(std::string("bg_") + places[p] + "_" + weathers[w] + ".bmp",
                           ScenePicture(width, height, p, w));
    Canvas result(width, height);
    for (int y = 0; y < height; ++y)
        result.Fill(0, y, width, y + 1, mix({20, 20, 60}, {90, 40, 70}, double(y) / height));
    for (int i = 0; i < 60; ++i)
        result.Set((i * 131) % width, (i * 71) % (height / 2), {255, 255, 220});
    WriteFileBytes("result.bmp", result.Bmp());
}
