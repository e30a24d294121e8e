#include "host/bitmap.h"

#include <memory>
#include <new>
#include <vector>

namespace {

// Bitmaps larger than this many pixels are refused: the system's bitmaps are screen-sized at
// most, and the refusal keeps a bad size from asking for gigabytes.
constexpr int64_t kMaxPixels = int64_t(1) << 26;

struct HostBitmap {
    int width = 0;
    int height = 0;
    bool mask = false;
    std::unique_ptr<uint32_t[]> pixels;
};

std::vector<HostBitmap> bitmaps;  // index = id - 1
std::vector<uint32_t> free_ids;
int live_count = 0;

HostBitmap* Find(uint32_t id) {
    if (id == 0 || id > bitmaps.size()) return nullptr;
    HostBitmap& b = bitmaps[id - 1];
    return b.pixels ? &b : nullptr;
}

uint32_t Create(int width, int height, bool mask, bool clear) {
    if (width <= 0 || height <= 0 || int64_t(width) * height > kMaxPixels) return 0;
    const size_t count = size_t(width) * height;
    std::unique_ptr<uint32_t[]> pixels(clear ? new (std::nothrow) uint32_t[count]()
                                             : new (std::nothrow) uint32_t[count]);
    if (!pixels) return 0;
    uint32_t id;
    if (!free_ids.empty()) {
        id = free_ids.back();
        free_ids.pop_back();
    } else {
        bitmaps.emplace_back();
        id = uint32_t(bitmaps.size());
    }
    HostBitmap& b = bitmaps[id - 1];
    b.width = width;
    b.height = height;
    b.mask = mask;
    b.pixels = std::move(pixels);
    ++live_count;
    return id;
}

}  // namespace

uint32_t HostCreateBitmap(int width, int height) {
    return Create(width, height, false, true);
}
uint32_t HostCreateBitmapUncleared(int width, int height) {
    return Create(width, height, false, false);
}
uint32_t HostCreateMask(int width, int height) {
    return Create(width, height, true, true);
}

bool HostDeleteBitmap(uint32_t id) {
    HostBitmap* b = Find(id);
    if (!b) return false;
    *b = HostBitmap{};
    free_ids.push_back(id);
    --live_count;
    return true;
}

bool HostBitmapExists(uint32_t id) {
    return Find(id) != nullptr;
}

bool HostBitmapIsMask(uint32_t id) {
    const HostBitmap* b = Find(id);
    return b && b->mask;
}

bool HostBitmapSize(uint32_t id, int* width, int* height) {
    const HostBitmap* b = Find(id);
    *width = b ? b->width : 0;
    *height = b ? b->height : 0;
    return b != nullptr;
}

RasterTarget HostBitmapTarget(uint32_t id) {
    const HostBitmap* b = Find(id);
    if (!b) return RasterTarget{nullptr, 0, 0};
    return RasterTarget{b->pixels.get(), b->width, b->height};
}

int HostBitmapCount() {
    return live_count;
}
