#include "window/win_bitmap.h"

#include <algorithm>

#include "host/bitmap.h"
#include "host/bitmap_draw.h"
#include "window/window.h"

namespace {

WindowRecord* drawable(Handle window) {
    WindowRecord* w = window_record(window);
    return w && (w->mode & WIN_DRAWABLE) ? w : nullptr;
}

int abs_x(const WindowRecord* w, int x) {
    return x + w->origin_x + w->x;
}
int abs_y(const WindowRecord* w, int y) {
    return y + w->origin_y + w->y;
}

struct Size {
    int width = 0, height = 0;
};
Size bitmap_size(uint32_t bitmap) {
    Size s;
    HostBitmapSize(bitmap, &s.width, &s.height);
    return s;
}

}  // namespace

bool WinSaveArea(Handle window, int x, int y, int width, int height, uint32_t bitmap) {
    WindowRecord* w = drawable(window);
    return w && HostSaveScreenArea(bitmap, abs_x(w, x), abs_y(w, y), width, height);
}

bool WinPutBitmap(Handle window, int x, int y, int width, int height, uint32_t bitmap) {
    WindowRecord* w = drawable(window);
    return w && HostPutScreenArea(bitmap, abs_x(w, x), abs_y(w, y), width, height);
}

void WinDrawBitmap(Handle window, int x, int y, uint32_t bitmap) {
    if (WindowRecord* w = drawable(window))
        HostDrawBitmap(abs_x(w, x), abs_y(w, y), bitmap_size(bitmap).width,
                       bitmap_size(bitmap).height, bitmap);
}

void WinStretchBitmap(Handle window, int x, int y, int width, int height, uint32_t bitmap) {
    if (WindowRecord* w = drawable(window))
        HostDrawBitmapStretched(abs_x(w, x), abs_y(w, y), width, height, bitmap, 0, 0, -1, -1);
}

void WinStretchBitmapPart(Handle window, int x, int y, int width, int height, uint32_t bitmap,
                          int src_x, int src_y, int src_width, int src_height) {
    if (WindowRecord* w = drawable(window))
        HostDrawBitmapStretched(abs_x(w, x), abs_y(w, y), width, height, bitmap, src_x, src_y,
                                src_width, src_height);
}

void WinMaskedBitmap(Handle window, int x, int y, uint32_t bitmap, uint32_t mask) {
    if (WindowRecord* w = drawable(window)) HostDrawMasked(abs_x(w, x), abs_y(w, y), bitmap, mask);
}

bool WinDrawBMPFile(Handle window, int x, int y, const char* file) {
    WindowRecord* w = drawable(window);
    return w && HostDrawBmpFile(abs_x(w, x), abs_y(w, y), file);
}

void WinTile(Handle window, uint32_t bitmap) {
    WindowRecord* w = drawable(window);
    Size size = bitmap_size(bitmap);
    int bw = size.width, bh = size.height;
    if (!w || bw < 1 || bh < 1) return;
    int left = abs_x(w, 0), top = abs_y(w, 0), width = w->width, height = w->height;
    for (int y = 0; y < height; y += bh)
        for (int x = 0; x < width; x += bw)
            HostDrawBitmap(left + x, top + y, std::min(bw, width - x), std::min(bh, height - y),
                           bitmap);
}
