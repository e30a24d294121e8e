// Solid 1-pixel lines with the platform's Bresenham rules, clipped to the target.
#include <algorithm>
#include <cstdlib>

#include "host/raster_core.h"

namespace {

// Octants numbered clockwise from the positive x axis (y grows downwards), as the platform
// numbers them; a diagonal belongs to the y-major octant.
int Octant(int64_t dx, int64_t dy) {
    if (dy > 0) {
        if (dx > 0) return dx > dy ? 1 : 2;
        return -dx > dy ? 4 : 3;
    }
    if (dx < 0) return -dx > -dy ? 5 : 6;
    return dx > -dy ? 8 : 7;
}

bool XMajor(int octant) {
    return octant == 1 || octant == 4 || octant == 5 || octant == 8;
}
// Lines in octants 3, 5, 6 and 8 step on the minor axis at an exact tie.
int Bias(int octant) {
    return octant == 3 || octant == 5 || octant == 6 || octant == 8;
}

void HorizontalRun(const RasterTarget& t, int y, int64_t from, int64_t to, uint32_t colour) {
    if (y < 0 || y >= t.height) return;
    int64_t left = std::max<int64_t>(from, 0);
    int64_t right = std::min<int64_t>(to, t.width);
    if (left >= right) return;
    std::fill(t.Row(y) + left, t.Row(y) + right, colour);
}

void VerticalRun(const RasterTarget& t, int x, int64_t from, int64_t to, uint32_t colour) {
    if (x < 0 || x >= t.width) return;
    int64_t top = std::max<int64_t>(from, 0);
    int64_t bottom = std::min<int64_t>(to, t.height);
    for (int64_t y = top; y < bottom; ++y)
        t.Row(int(y))[x] = colour;
}

// The diagonal case: walks the major axis only where it lies inside the target, starting the
// error term where the full walk from (x1, y1) would have it.
void BresenhamLine(const RasterTarget& t, int x1, int y1, int x2, int y2, uint32_t colour) {
    const int64_t dx = int64_t(x2) - x1, dy = int64_t(y2) - y1;
    const int octant = Octant(dx, dy);
    const int64_t bias = Bias(octant);
    const bool x_major = XMajor(octant);
    const int64_t major = x_major ? std::llabs(dx) : std::llabs(dy);
    const int64_t minor = x_major ? std::llabs(dy) : std::llabs(dx);
    const int major_inc = (x_major ? dx : dy) > 0 ? 1 : -1;
    const int minor_inc = (x_major ? dy : dx) > 0 ? 1 : -1;
    const int64_t major_start = x_major ? x1 : y1;
    const int64_t minor_start = x_major ? y1 : x1;
    const int64_t major_limit = x_major ? t.width : t.height;
    const int64_t minor_limit = x_major ? t.height : t.width;

    // Steps k = 0 .. major - 1 are drawn; keep those whose major coordinate is inside.
    int64_t k_first, k_last;
    if (major_inc > 0) {
        k_first = std::max<int64_t>(0, -major_start);
        k_last = std::min<int64_t>(major - 1, major_limit - 1 - major_start);
    } else {
        k_first = std::max<int64_t>(0, major_start - (major_limit - 1));
        k_last = std::min<int64_t>(major - 1, major_start);
    }
    if (k_first > k_last) return;

    // Minor steps taken after k major steps, and the error term there.
    // (128-bit: far-away coordinates make the products overflow 64 bits.)
    using Wide = __int128;
    int64_t steps = int64_t((2 * Wide(k_first) * minor + bias + major - 1) / (2 * Wide(major)));
    int64_t err =
        int64_t(2 * Wide(minor) - major + 2 * Wide(k_first) * minor - 2 * Wide(steps) * major);
    int64_t a = major_start + int64_t(major_inc) * k_first;
    int64_t b = minor_start + int64_t(minor_inc) * steps;
    for (int64_t k = k_first; k <= k_last; ++k) {
        if (b >= 0 && b < minor_limit) {
            if (x_major)
                t.Row(int(b))[a] = colour;
            else
                t.Row(int(a))[b] = colour;
        }
        if (err + bias > 0) {
            b += minor_inc;
            err += 2 * minor - 2 * major;
        } else {
            err += 2 * minor;
        }
        a += major_inc;
    }
}

}  // namespace

void RasterLine(const RasterTarget& t, int x1, int y1, int x2, int y2, uint32_t colour) {
    if (!t.pixels) return;
    if (y1 == y2) {
        // The end pixel is left out whichever way the line runs.
        if (x1 <= x2)
            HorizontalRun(t, y1, x1, x2, colour);
        else
            HorizontalRun(t, y1, int64_t(x2) + 1, int64_t(x1) + 1, colour);
    } else if (x1 == x2) {
        if (y1 <= y2)
            VerticalRun(t, x1, y1, y2, colour);
        else
            VerticalRun(t, x1, int64_t(y2) + 1, int64_t(y1) + 1, colour);
    } else {
        BresenhamLine(t, x1, y1, x2, y2, colour);
    }
}

void RasterPolyline(const RasterTarget& t, const RasterPoint* points, size_t count, bool close,
                    uint32_t colour) {
    if (count < 2) return;
    for (size_t i = 0; i + 1 < count; ++i)
        RasterLine(t, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, colour);
    if (close)
        RasterLine(t, points[count - 1].x, points[count - 1].y, points[0].x, points[0].y, colour);
}
