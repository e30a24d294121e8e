#include "host/surface.h"

#include <atomic>
#include <new>
#include <vector>

namespace {

std::mutex surface_lock;
std::vector<uint32_t> surface_pixels;
std::atomic<int> surface_width{0};
std::atomic<int> surface_height{0};

}  // namespace

bool HostCreateSurface(int width, int height) {
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) return false;
    std::lock_guard<std::mutex> hold(surface_lock);
    try {
        std::vector<uint32_t> fresh(size_t(width) * size_t(height), 0u);
        surface_pixels.swap(fresh);
    } catch (const std::bad_alloc&) {
        return false;
    }
    surface_width.store(width);
    surface_height.store(height);
    return true;
}

void HostDestroySurface() {
    std::lock_guard<std::mutex> hold(surface_lock);
    std::vector<uint32_t>().swap(surface_pixels);
    surface_width.store(0);
    surface_height.store(0);
}

int HostSurfaceWidth() {
    return surface_width.load();
}
int HostSurfaceHeight() {
    return surface_height.load();
}
uint32_t* HostSurfacePixels() {
    return surface_pixels.empty() ? nullptr : surface_pixels.data();
}
std::mutex& HostSurfaceLock() {
    return surface_lock;
}

RasterTarget HostSurfaceTarget() {
    return RasterTarget{HostSurfacePixels(), surface_width.load(), surface_height.load()};
}
