#include "host/screenshot.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "host/png.h"
#include "host/surface.h"

namespace {

// More pictures than this within one second: the key is held down; the rest are not taken.
constexpr int kMostPerSecond = 99;

}  // namespace

std::string ScreenshotName(const HostTime& t, int n) {
    char name[96];
    std::snprintf(name, sizeof name, "%s/%04d-%02d-%02d_%02d-%02d-%02d", kScreenshotFolder, t.year,
                  t.month, t.day, t.hour, t.minute, t.second);
    std::string path = name;
    if (n > 1) path += "-" + std::to_string(n);
    return path + ".png";
}

std::string HostTakeScreenshot() {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    {
        std::lock_guard<std::mutex> hold(HostSurfaceLock());
        width = HostSurfaceWidth();
        height = HostSurfaceHeight();
        const uint32_t* p = HostSurfacePixels();
        if (p && width > 0 && height > 0) pixels.assign(p, p + size_t(width) * size_t(height));
    }
    if (pixels.empty()) return "";
    if (mkdir(kScreenshotFolder, 0755) != 0 && errno != EEXIST) {
        std::fprintf(stderr, "noma: cannot make the folder %s for screenshots: %s\n",
                     kScreenshotFolder, std::strerror(errno));
        return "";
    }
    HostTime now = HostClockNow();
    for (int n = 1; n <= kMostPerSecond; ++n) {
        std::string path = ScreenshotName(now, n);
        if (access(path.c_str(), F_OK) == 0) continue;
        if (!HostWritePng(path.c_str(), pixels.data(), width, height)) break;
        std::fprintf(stderr, "noma: screenshot %s\n", path.c_str());
        return path;
    }
    std::fprintf(stderr, "noma: the screenshot could not be written\n");
    return "";
}
