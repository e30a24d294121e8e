#include "host/raster.h"

#include <mutex>

#include "host/raster_core.h"
#include "host/surface.h"

namespace {

uint32_t screen_text_colour = 0;
constexpr uint32_t kScreenBackColour = 0xFFFFFF;  // never changed on the screen context

// The last focus rectangle; an erase before any focus rectangle redraws the empty one at 0, 0
// (which inverts the two pixels its left strip covers, as the original does).
struct FocusRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};
FocusRect last_focus;

int Add(int a, int b) {
    return int(int64_t(a) + b);
}

}  // namespace

uint32_t HostColor(int red, int green, int blue) {
    return uint32_t(red) + uint32_t(green) * 256u + uint32_t(blue) * 65536u;
}

uint32_t HostNearestColor(uint32_t colour) {
    return colour & 0x00FFFFFFu;
}

void HostRectangle(int x, int y, int width, int height, uint32_t colour) {
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    const RasterTarget t = HostSurfaceTarget();
    const int right = Add(x, width), bottom = Add(y, height);
    RasterLine(t, x, y, right, y, colour);
    RasterLine(t, right, y, right, bottom, colour);
    RasterLine(t, right, bottom, x, bottom, colour);
    RasterLine(t, x, bottom, x, y, colour);
}

void HostFillRect(int x, int y, int width, int height, uint32_t colour) {
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    int left, top, right, bottom;
    RasterBlockRect(x, y, width, height, &left, &top, &right, &bottom);
    RasterFill(HostSurfaceTarget(), left, top, right, bottom, colour);
}

void HostEllipse(int x, int y, int width, int height, uint32_t colour) {
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    RasterEllipse(HostSurfaceTarget(), x, y, Add(x, width), Add(y, height), colour);
}

void HostArc(int x, int y, int width, int height, int x3, int y3, int x4, int y4, uint32_t colour) {
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    RasterArc(HostSurfaceTarget(), x, y, Add(x, width), Add(y, height), x3, y3, x4, y4, colour);
}

void HostLine(int x1, int y1, int x2, int y2, uint32_t colour) {
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    RasterLine(HostSurfaceTarget(), x1, y1, x2, y2, colour);
}

void HostSetPixel(int x, int y, uint32_t colour) {
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    const RasterTarget t = HostSurfaceTarget();
    if (t.pixels && t.Contains(x, y)) t.Row(y)[x] = HostNearestColor(colour);
}

uint32_t HostGetPixel(int x, int y) {
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    const RasterTarget t = HostSurfaceTarget();
    if (!t.pixels || !t.Contains(x, y)) return 0xFFFFFFFFu;
    return t.Row(y)[x];
}

void HostFocusRect(int x, int y, int width, int height) {
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    last_focus = FocusRect{x, y, Add(x, width), Add(y, height)};
    RasterFocusRect(HostSurfaceTarget(), last_focus.left, last_focus.top, last_focus.right,
                    last_focus.bottom, screen_text_colour, kScreenBackColour);
}

void HostEraseFocusRect() {
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    RasterFocusRect(HostSurfaceTarget(), last_focus.left, last_focus.top, last_focus.right,
                    last_focus.bottom, screen_text_colour, kScreenBackColour);
}

void HostDarken(int x, int y, int width, int height, int16_t value) {
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    RasterDarken(HostSurfaceTarget(), x, y, width, height, value);
}

void HostMosaicPass(int x, int y, int width, int height, int step, int spacing, int side,
                    int amount) {
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    RasterMosaicPass(HostSurfaceTarget(), x, y, width, height, step, spacing, side, amount);
}

void HostSetScreenTextColor(uint32_t colour) {
    screen_text_colour = colour & 0x00FFFFFFu;
}
uint32_t HostScreenTextColor() {
    return screen_text_colour;
}

void HostResetScreenContext() {
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    screen_text_colour = 0;
    last_focus = FocusRect{};
}
