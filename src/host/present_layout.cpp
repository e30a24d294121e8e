#include "host/present_layout.h"

#include <algorithm>
#include <cstdint>

namespace {

int floor_div(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return int(q);
}

}  // namespace

PresentLayout ComputePresentLayout(int surface_width, int surface_height, int output_width,
                                   int output_height, bool integer_scaling) {
    PresentLayout l{0, 0, output_width, output_height, surface_width, surface_height};
    if (surface_width <= 0 || surface_height <= 0 || output_width <= 0 || output_height <= 0)
        return l;
    int factor = std::min(output_width / surface_width, output_height / surface_height);
    if (integer_scaling && factor >= 1) {
        l.width = surface_width * factor;
        l.height = surface_height * factor;
    } else if (int64_t(output_width) * surface_height <= int64_t(output_height) * surface_width) {
        l.width = output_width;
        l.height = std::max(1, int(int64_t(output_width) * surface_height / surface_width));
    } else {
        l.height = output_height;
        l.width = std::max(1, int(int64_t(output_height) * surface_width / surface_height));
    }
    l.x = (output_width - l.width) / 2;
    l.y = (output_height - l.height) / 2;
    return l;
}

void WindowToSurface(const PresentLayout& l, int x, int y, int* surface_x, int* surface_y) {
    if (l.width <= 0 || l.height <= 0) {
        *surface_x = x;
        *surface_y = y;
        return;
    }
    // The centre of the output pixel decides: at sizes that are no whole factor, output pixels
    // straddle two screen pixels, and the one under the pixel's centre is the one drawn there.
    *surface_x = floor_div((int64_t(x - l.x) * 2 + 1) * l.surface_width, int64_t(l.width) * 2);
    *surface_y = floor_div((int64_t(y - l.y) * 2 + 1) * l.surface_height, int64_t(l.height) * 2);
}
