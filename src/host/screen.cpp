#include "host/screen.h"

#include <atomic>

#include "host/surface.h"

int16_t g_screen_width = 800;
int16_t g_screen_height = 600;

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
