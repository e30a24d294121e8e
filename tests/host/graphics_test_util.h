// Helpers shared by the host graphics tests: a surface to draw on and pixel-set views of it.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "host/raster_target.h"
#include "host/surface.h"
#include "support/test_env.h"

using PixelSet = std::set<std::pair<int, int>>;

// A private block of pixels usable as a raster target.
struct Canvas {
    int width, height;
    std::vector<uint32_t> pixels;
    Canvas(int w, int h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    RasterTarget target() { return RasterTarget{pixels.data(), width, height}; }
    uint32_t at(int x, int y) const { return pixels[size_t(y) * width + x]; }
    // The positions whose pixel differs from `background`.
    PixelSet Drawn(uint32_t background = 0) const {
        PixelSet set;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (at(x, y) != background) set.insert({x, y});
        return set;
    }
};

// A fixture with a fresh black surface of 96 x 64.
class GraphicsTest : public NomaTest {
protected:
    void SetUp() override {
        NomaTest::SetUp();
        ASSERT_TRUE(HostCreateSurface(kWidth, kHeight));
    }
    // Views of the surface as it is now (its size may have changed).
    static uint32_t Pixel(int x, int y) {
        return HostSurfacePixels()[size_t(y) * HostSurfaceWidth() + x];
    }
    static std::vector<uint32_t> Screen() {
        return std::vector<uint32_t>(
            HostSurfacePixels(), HostSurfacePixels() + HostSurfaceWidth() * HostSurfaceHeight());
    }
    static PixelSet Drawn(uint32_t background = 0) {
        PixelSet set;
        for (int y = 0; y < HostSurfaceHeight(); ++y)
            for (int x = 0; x < HostSurfaceWidth(); ++x)
                if (Pixel(x, y) != background) set.insert({x, y});
        return set;
    }
    static constexpr int kWidth = 96;
    static constexpr int kHeight = 64;
};
