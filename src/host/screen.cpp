#include "host/screen.h"

#include <atomic>

namespace {
std::atomic<bool> g_screen_open{false};
}

void HostOpenScreen() {
    g_screen_open.store(true);
}

void HostCloseScreen() {
    g_screen_open.store(false);
}
