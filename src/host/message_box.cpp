#include "host/message_box.h"

#include <SDL2/SDL.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "host/sjis.h"

namespace {
std::atomic<bool> headless{false};
}

void HostSetHeadless(bool on) { headless = on; }
bool HostIsHeadless() { return headless; }

void HostMessageBox(const char* text) {
    std::string utf8 = SjisToUtf8(text ? text : "");
    if (headless || SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "TUVO", utf8.c_str(),
                                             nullptr) != 0)
        std::fprintf(stderr, "TUVO: %s\n", utf8.c_str());
}
