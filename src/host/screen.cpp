#include "host/screen.h"

#include <atomic>

#include "host/surface.h"

namespace {
constexpr int16_t kDefaultWidth = 800;
constexpr int16_t kDefaultHeight = 600;
}  // namespace

int16_t g_screen_width = kDefaultWidth;
int16_t g_screen_height = kDefaultHeight;

namespace {
std::atomic<bool> screen_closed{false};
std::atomic<bool> close_waiting{false};
}  // namespace

void HostOpenScreen() {
    screen_closed.store(false);
    if (HostSurfaceWidth() != g_screen_width || HostSurfaceHeight() != g_screen_height)
        HostCreateSurface(g_screen_width, g_screen_height);
}

void HostCloseScreen() {
    screen_closed.store(true);
}

bool HostScreenClosed() {
    return screen_closed.load();
}

void HostSetCloseWaiting(bool waiting) {
    close_waiting.store(waiting);
}

bool HostCloseWaiting() {
    return close_waiting.load();
}

void HostResetScreen() {
    g_screen_width = kDefaultWidth;
    g_screen_height = kDefaultHeight;
    HostDestroySurface();
    screen_closed.store(false);
    close_waiting.store(false);
}
