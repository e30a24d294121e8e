#include "host/display_loss.h"

#include <SDL2/SDL.h>
#include <dlfcn.h>

#include <cstring>

#include "host/log_sink.h"
#include "host/program_thread.h"

namespace {

// Xlib's own types, without its headers: the library is the one SDL has loaded already.
using IoErrorHandler = int (*)(void* display);
using SetIoErrorHandler = IoErrorHandler (*)(IoErrorHandler handler);

constexpr uint32_t kShutdownWaitMs = 3000;

IoErrorHandler previous = nullptr;

// Runs on the thread that found the connection gone, just before Xlib ends the process.
int display_lost(void* display) {
    HostLog("TUVO the display connection is lost");
    HostEndBeforeExit(kShutdownWaitMs);
    return previous ? previous(display) : 0;
}

}  // namespace

void HostWatchDisplayLoss() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || std::strcmp(driver, "x11") != 0) return;
    void* xlib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!xlib) return;
    auto set = reinterpret_cast<SetIoErrorHandler>(dlsym(xlib, "XSetIOErrorHandler"));
    if (set) previous = set(display_lost);
    dlclose(xlib);
}
