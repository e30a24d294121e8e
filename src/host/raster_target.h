// A block of 32-bit pixels the raster code draws on: the screen surface or a host bitmap.
// Pixels are row-major with a stride of `width`; a pixel's value is its colour 0x00BBGGRR
// (host masks use 0 and 1).
#pragma once

#include <cstdint>

struct RasterTarget {
    uint32_t* pixels;
    int width;
    int height;

    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint32_t* Row(int y) const { return pixels + static_cast<long>(y) * width; }
};
