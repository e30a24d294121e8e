#include "host/message_box.h"

#include <SDL2/SDL.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "host/box_in_window.h"
#include "host/log_sink.h"
#include "host/sjis.h"
#include "host/window.h"

namespace {
std::atomic<bool> headless{false};
}

void HostSetHeadless(bool on) {
    headless = on;
}
bool HostIsHeadless() {
    return headless;
}

void HostMessageBox(const char* text) {
    HostShowBox(text, BoxIcon::Exclamation);
}

void HostShowBox(const char* text, BoxIcon icon) {
    std::string utf8 = SjisToUtf8(text ? text : "");
    uint32_t flags = icon == BoxIcon::Stop ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_WARNING;
    // Owned by the main window when shown on the main thread; a box of the program thread
    // stands alone, so it never touches the window from a second thread.
    SDL_Window* owner = HostOnMainThread() ? HostMainWindow() : nullptr;
    if (!headless && !HostBoxesInWindowForced() &&
        SDL_ShowSimpleMessageBox(flags, "TUVO", utf8.c_str(), owner) == 0)
        return;
    // Headless, or the desktop could not show the box: the message goes to stderr and the log,
    // and a windowed run shows it inside its own window.
    std::fprintf(stderr, "TUVO: %s\n", utf8.c_str());
    HostLogf("TUVO: %s", text ? text : "");
    if (!headless) HostBoxInWindow(text);
}
