#include "host/box_in_window.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "host/clock.h"
#include "host/input.h"
#include "host/raster.h"
#include "host/surface.h"
#include "host/text_out.h"
#include "host/window.h"

namespace {

constexpr int kTextSize = 16;
constexpr int kLineHeight = 20;
constexpr int kTitleHeight = 20;
constexpr int kMargin = 12;
constexpr uint32_t kFace = 0xC0C0C0;
constexpr uint32_t kTitleBar = 0x800000;  // dark blue (0x00BBGGRR)
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

bool lead_byte(uint8_t c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The text's lines, each cut at a whole character to fit `columns` half-width cells.
std::vector<std::string> lay_out(const char* text, int columns) {
    std::vector<std::string> lines(1);
    for (const char* p = text; *p;) {
        int bytes = lead_byte(uint8_t(*p)) && p[1] ? 2 : 1;
        if (*p == '\n') {
            lines.emplace_back();
            ++p;
            continue;
        }
        if (int(lines.back().size()) + bytes > columns) lines.emplace_back();
        lines.back().append(p, size_t(bytes));
        p += bytes;
    }
    return lines;
}

struct Area {
    int x, y, width, height;
};

std::vector<uint32_t> save(const Area& a) {
    std::lock_guard lock(HostSurfaceLock());
    std::vector<uint32_t> saved(size_t(a.width) * size_t(a.height));
    const uint32_t* pixels = HostSurfacePixels();
    for (int row = 0; row < a.height; ++row)
        std::memcpy(&saved[size_t(row) * a.width],
                    pixels + size_t(a.y + row) * HostSurfaceWidth() + a.x,
                    size_t(a.width) * sizeof(uint32_t));
    return saved;
}

void restore(const Area& a, const std::vector<uint32_t>& saved) {
    std::lock_guard lock(HostSurfaceLock());
    uint32_t* pixels = HostSurfacePixels();
    for (int row = 0; row < a.height; ++row)
        std::memcpy(pixels + size_t(a.y + row) * HostSurfaceWidth() + a.x,
                    &saved[size_t(row) * a.width], size_t(a.width) * sizeof(uint32_t));
}

void draw(const Area& a, const std::vector<std::string>& lines) {
    uint32_t text_colour = HostScreenTextColor();
    HostFillRect(a.x, a.y, a.width, a.height, kFace);
    HostRectangle(a.x, a.y, a.width, a.height, kBlack);
    HostFillRect(a.x + 1, a.y + 1, a.width - 2, kTitleHeight, kTitleBar);
    HostTextOut(a.x + 6, a.y + 3, "TUVO", kWhite, kTextSize, 0);
    int y = a.y + kTitleHeight + kMargin;
    for (const std::string& line : lines) {
        HostTextOut(a.x + kMargin, y, line.c_str(), kBlack, kTextSize, 0);
        y += kLineHeight;
    }
    int button_x = a.x + a.width / 2 - 30;
    HostRectangle(button_x, y + 4, 60, 22, kBlack);
    HostTextOut(button_x + 22, y + 7, "OK", kBlack, kTextSize, 0);
    HostSetScreenTextColor(text_colour);
}

// The main thread answers its own events: a key or a click ends the box, a close too.
void wait_on_main_thread() {
    for (;;) {
        HostPresent(true);
        SDL_Event event;
        if (!SDL_WaitEventTimeout(&event, 16)) continue;
        if (event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONUP || event.type == SDL_QUIT)
            return;
        if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE) return;
    }
}

// The program thread reads the input the main thread stores, which goes on presenting.
void wait_on_program_thread() {
    while (HostMouseButtons())
        HostClockSleep(10);
    for (;;) {
        if (HostReadKey()) return;
        if (HostMouseButtons()) {
            while (HostMouseButtons())
                HostClockSleep(10);
            return;
        }
        HostClockSleep(10);
    }
}

}  // namespace

bool HostBoxesInWindowForced() {
    return std::getenv("NOMA_BOX_IN_WINDOW") != nullptr;
}

bool HostBoxInWindow(const char* text) {
    if (!HostMainWindow() || !HostSurfacePixels()) return false;
    const int screen_width = HostSurfaceWidth(), screen_height = HostSurfaceHeight();
    const int columns = std::max(8, (screen_width - 2 * kMargin - 8) / (kTextSize / 2));
    std::vector<std::string> lines = lay_out(text ? text : "", columns);
    int widest = 4;
    for (const std::string& line : lines)
        widest = std::max(widest, int(line.size()));
    Area a;
    a.width = std::min(screen_width, std::max(200, widest * kTextSize / 2 + 2 * kMargin));
    a.height =
        std::min(screen_height, kTitleHeight + 2 * kMargin + int(lines.size()) * kLineHeight + 30);
    a.x = (screen_width - a.width) / 2;
    a.y = (screen_height - a.height) / 2;
    std::vector<uint32_t> saved = save(a);
    draw(a, lines);
    if (HostOnMainThread())
        wait_on_main_thread();
    else
        wait_on_program_thread();
    restore(a, saved);
    if (HostOnMainThread()) HostPresent(true);
    return true;
}
