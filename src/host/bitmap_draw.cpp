#include "host/bitmap_draw.h"

#include <algorithm>
#include <mutex>

#include "host/bitmap.h"
#include "host/bmp.h"
#include "host/log_sink.h"
#include "host/raster_blit.h"
#include "host/surface.h"

namespace {

constexpr uint32_t kWhiteBrush = 0xFFFFFF;
constexpr uint32_t kMagenta = 0xFF00FF;
constexpr int kErrorInvalidHandle = 6;

uint32_t last_mask = 0;

}  // namespace

bool HostSaveScreenArea(uint32_t bitmap, int x, int y, int width, int height) {
    const RasterTarget b = HostBitmapTarget(bitmap);
    if (!b.pixels) return false;
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    const RasterTarget screen = HostSurfaceTarget();
    RasterBlit(b, 0, 0, width, height, &screen, x, y, ROP_SRCCOPY, 0);
    return true;
}

bool HostPutScreenArea(uint32_t bitmap, int x, int y, int width, int height) {
    const RasterTarget b = HostBitmapTarget(bitmap);
    if (!b.pixels) {
        HostLogf("Error GraphicLoad() BitBlt() ret %d", kErrorInvalidHandle);
        return false;
    }
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    RasterBlit(HostSurfaceTarget(), x, y, width, height, &b, 0, 0, ROP_SRCCOPY, 0);
    return true;
}

void HostCopyScreenArea(int x, int y, int width, int height) {
    const uint32_t bitmap = HostCreateBitmap(HostSurfaceWidth(), HostSurfaceHeight());
    HostSaveScreenArea(bitmap, x, y, width, height);
    HostPutScreenArea(bitmap, x, y, width, height);
    HostDeleteBitmap(bitmap);
}

bool HostDrawBitmap(int x, int y, int width, int height, uint32_t bitmap) {
    const RasterTarget b = HostBitmapTarget(bitmap);
    if (!b.pixels) return false;
    width = std::min(width, b.width);
    height = std::min(height, b.height);
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    RasterBlit(HostSurfaceTarget(), x, y, width, height, &b, 0, 0, ROP_SRCCOPY, 0);
    return true;
}

bool HostDrawBitmapPart(int x, int y, int width, int height, uint32_t bitmap, int src_x, int src_y,
                        uint32_t rop) {
    const RasterTarget b = HostBitmapTarget(bitmap);
    if (!b.pixels) return false;
    width = std::min(width, b.width);
    height = std::min(height, b.height);
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    RasterBlit(HostSurfaceTarget(), x, y, width, height, &b, src_x, src_y, rop, kWhiteBrush);
    return true;
}

bool HostDrawBitmapStretched(int x, int y, int width, int height, uint32_t bitmap, int src_x,
                             int src_y, int src_width, int src_height) {
    const RasterTarget b = HostBitmapTarget(bitmap);
    if (!b.pixels) return false;
    if (src_width == -1) src_width = b.width;
    if (src_height == -1) src_height = b.height;
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    RasterStretch(HostSurfaceTarget(), x, y, width, height, b, src_x, src_y, src_width, src_height);
    return true;
}

uint32_t HostMakeTransparencyMask(uint32_t bitmap, uint32_t colour) {
    RasterTarget b = HostBitmapTarget(bitmap);
    if (!b.pixels) return 0;
    const uint32_t mask = HostCreateMask(b.width, b.height);
    if (!mask) return 0;
    b = HostBitmapTarget(bitmap);
    const RasterTarget m = HostBitmapTarget(mask);
    const uint32_t key = colour & 0x00FFFFFFu;
    const size_t count = size_t(b.width) * b.height;
    for (size_t i = 0; i < count; ++i) {
        const bool transparent = b.pixels[i] == key;
        m.pixels[i] = transparent;
        if (transparent) b.pixels[i] = 0;
    }
    return mask;
}

bool HostDrawMasked(int x, int y, uint32_t bitmap, uint32_t mask) {
    const RasterTarget b = HostBitmapTarget(bitmap);
    if (!b.pixels) return false;
    const RasterTarget m = HostBitmapTarget(mask);
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    RasterMaskBlit(HostSurfaceTarget(), x, y, b, m);
    return true;
}

bool HostDrawMagenta(int x, int y, uint32_t bitmap) {
    if (!HostBitmapExists(bitmap)) return false;
    if (last_mask) HostDeleteBitmap(last_mask);
    last_mask = HostMakeTransparencyMask(bitmap, kMagenta);
    return HostDrawMasked(x, y, bitmap, last_mask);
}

uint32_t HostLastTransparencyMask() {
    return last_mask;
}

bool HostTint(int x, int y, int width, int height, uint32_t bitmap, uint32_t colour) {
    const RasterTarget b = HostBitmapTarget(bitmap);
    if (!b.pixels) return false;
    std::lock_guard<std::mutex> hold(HostSurfaceLock());
    RasterBlit(HostSurfaceTarget(), x, y, width, height, &b, 0, 0, ROP_TINT, colour);
    return true;
}

bool HostDrawBmpFile(int x, int y, const char* name) {
    const uint32_t bitmap = HostLoadBmp(name);
    if (!bitmap) return false;
    int width, height;
    HostBitmapSize(bitmap, &width, &height);
    {
        const RasterTarget b = HostBitmapTarget(bitmap);
        std::lock_guard<std::mutex> hold(HostSurfaceLock());
        RasterBlit(HostSurfaceTarget(), x, y, width, height, &b, 0, 0, ROP_SRCCOPY, 0);
    }
    HostFreeBmpState();
    return true;
}
