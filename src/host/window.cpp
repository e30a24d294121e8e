#include "host/window.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "host/screen.h"
#include "host/services.h"
#include "host/surface.h"

namespace {

// The surface is looked at every frame while it changes; after a quiet half second, every
// third frame (a change then shows within 48 ms).
constexpr uint32_t kPresentIntervalMs = 16;
constexpr uint32_t kQuietIntervalMs = 48;
constexpr uint32_t kQuietAfterMs = 500;
constexpr int kMonitorWidth = 600;
constexpr int kMonitorHeight = 400;
constexpr int kMinimumWindowSide = 120;

struct Presenter {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int texture_width = 0, texture_height = 0;
};

Presenter main_window;
Presenter monitor;
std::vector<uint32_t> staging;  // the surface as last presented
std::vector<uint32_t> monitor_pixels;
uint32_t last_present = 0;
uint32_t last_change = 0;
bool presented = false;
PresentLayout layout{};
float output_scale = 1.0f;
bool integer_scaling = false;
int windowed_width = 0, windowed_height = 0;  // the last size of the window outside fullscreen
std::thread::id main_thread;

bool make_renderer(Presenter* p, bool headless) {
    p->renderer = SDL_CreateRenderer(p->window, -1, headless ? SDL_RENDERER_SOFTWARE : 0);
    if (!p->renderer) p->renderer = SDL_CreateRenderer(p->window, -1, SDL_RENDERER_SOFTWARE);
    return p->renderer != nullptr;
}

bool fit_texture(Presenter* p, int width, int height) {
    if (p->texture && p->texture_width == width && p->texture_height == height) return true;
    if (p->texture) SDL_DestroyTexture(p->texture);
    p->texture = SDL_CreateTexture(p->renderer, SDL_PIXELFORMAT_XBGR8888,
                                   SDL_TEXTUREACCESS_STREAMING, width, height);
    p->texture_width = width;
    p->texture_height = height;
    return p->texture != nullptr;
}

void update_layout(int surface_width, int surface_height) {
    int out_w = 0, out_h = 0, win_w = 0, win_h = 0;
    SDL_GetRendererOutputSize(main_window.renderer, &out_w, &out_h);
    SDL_GetWindowSize(main_window.window, &win_w, &win_h);
    output_scale = win_w > 0 ? float(out_w) / float(win_w) : 1.0f;
    layout = ComputePresentLayout(surface_width, surface_height, out_w, out_h, integer_scaling);
    // Whole factors keep their sharp pixels; any other size is filtered, so the picture stays
    // even instead of repeating some rows and columns.
    bool whole = layout.width % surface_width == 0 && layout.height % surface_height == 0 &&
                 layout.width / surface_width == layout.height / surface_height;
    SDL_SetTextureScaleMode(main_window.texture,
                            whole ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
}

void destroy(Presenter* p) {
    if (p->texture) SDL_DestroyTexture(p->texture);
    if (p->renderer) SDL_DestroyRenderer(p->renderer);
    if (p->window) SDL_DestroyWindow(p->window);
    *p = Presenter{};
}

}  // namespace

ScreenChoice ChooseScreen(int display_width, int display_height, int ini_width, int ini_height,
                          int fallback_width, int fallback_height) {
    if (display_width == 800 && display_height == 600) return {800, 600, true};
    return {ini_width > 0 ? ini_width : fallback_width,
            ini_height > 0 ? ini_height : fallback_height, false};
}

int RememberedWindowSide(int remembered, int usable) {
    int side = std::max(remembered, kMinimumWindowSide);
    return usable > 0 ? std::min(side, usable) : side;
}

int DefaultWindowScale(int width, int height, int usable_width, int usable_height) {
    if (width <= 0 || height <= 0) return 1;
    return std::max(1, std::min(usable_width / width, usable_height / height));
}

WindowPlacement PlaceMainWindow(int width, int height, int requested_scale,
                                const SDL_Rect& usable) {
    WindowPlacement place{std::max(1, requested_scale), int(SDL_WINDOWPOS_UNDEFINED),
                          int(SDL_WINDOWPOS_UNDEFINED)};
    bool known = usable.w > 0 && usable.h > 0;
    if (!known) return place;
    int fitting = DefaultWindowScale(width, height, usable.w, usable.h);
    if (requested_scale <= 0 || requested_scale > fitting) place.scale = fitting;
    if (width * place.scale > usable.w) place.x = usable.x;
    if (height * place.scale > usable.h) place.y = usable.y;
    return place;
}

bool HostCreateMainWindow(bool captionless, int scale, bool fullscreen, bool headless,
                          int remembered_width, int remembered_height) {
    main_thread = std::this_thread::get_id();
    SDL_Rect usable{0, 0, 0, 0};
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) usable = {0, 0, 0, 0};
    WindowPlacement place = PlaceMainWindow(g_screen_width, g_screen_height, scale, usable);
    if (captionless) place = {1, 0, 0};
    int width = g_screen_width * place.scale, height = g_screen_height * place.scale;
    if (!captionless && scale <= 0 && remembered_width > 0 && remembered_height > 0) {
        width = RememberedWindowSide(remembered_width, usable.w);
        height = RememberedWindowSide(remembered_height, usable.h);
    }
    uint32_t flags = captionless ? SDL_WINDOW_BORDERLESS : SDL_WINDOW_RESIZABLE;
    flags |= SDL_WINDOW_ALLOW_HIGHDPI;
    if (fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    main_window.window = SDL_CreateWindow("TUVO", place.x, place.y, width, height, flags);
    windowed_width = width;
    windowed_height = height;
    if (!main_window.window) {
        SDL_Log("noma: cannot create the window: %s", SDL_GetError());
        return false;
    }
    SDL_SetWindowMinimumSize(main_window.window, kMinimumWindowSide * 4 / 3, kMinimumWindowSide);
    if (make_renderer(&main_window, headless)) {
        SDL_SetRenderDrawColor(main_window.renderer, 0, 0, 0, 255);
        SDL_RenderClear(main_window.renderer);
        SDL_RenderPresent(main_window.renderer);
    }
    return true;
}

bool HostOnMainThread() {
    return std::this_thread::get_id() == main_thread;
}

SDL_Window* HostMainWindow() {
    return main_window.window;
}
uint32_t HostMainWindowId() {
    return main_window.window ? SDL_GetWindowID(main_window.window) : 0;
}

namespace {
uint32_t present_interval(uint32_t now) {
    return now - last_change > kQuietAfterMs ? kQuietIntervalMs : kPresentIntervalMs;
}
}  // namespace

uint32_t HostPresentDueIn() {
    if (!main_window.renderer) return kQuietIntervalMs;
    uint32_t now = SDL_GetTicks();
    uint32_t since = now - last_present, interval = present_interval(now);
    return since >= interval ? 0 : interval - since;
}

void HostPresent(bool force) {
    if (!main_window.renderer) return;
    uint32_t now = SDL_GetTicks();
    if (!force && now - last_present < present_interval(now)) return;
    last_present = now;
    bool changed = false;
    int width, height;
    {
        std::lock_guard<std::mutex> hold(HostSurfaceLock());
        width = HostSurfaceWidth();
        height = HostSurfaceHeight();
        const uint32_t* pixels = HostSurfacePixels();
        if (!pixels) return;
        size_t count = size_t(width) * size_t(height);
        if (staging.size() != count) {
            staging.assign(pixels, pixels + count);
            changed = true;
        } else if (std::memcmp(staging.data(), pixels, count * sizeof(uint32_t)) != 0) {
            std::memcpy(staging.data(), pixels, count * sizeof(uint32_t));
            changed = true;
        }
    }
    if (changed) last_change = now;
    if (!changed && !force && presented) return;
    if (!fit_texture(&main_window, width, height)) return;
    SDL_UpdateTexture(main_window.texture, nullptr, staging.data(), width * 4);
    update_layout(width, height);
    SDL_Rect to{layout.x, layout.y, layout.width, layout.height};
    SDL_SetRenderDrawColor(main_window.renderer, 0, 0, 0, 255);
    SDL_RenderClear(main_window.renderer);
    SDL_RenderCopy(main_window.renderer, main_window.texture, nullptr, &to);
    SDL_RenderPresent(main_window.renderer);
    presented = true;
}

bool HostPresentedOnce() {
    return presented;
}

const PresentLayout& HostPresentLayout() {
    return layout;
}
float HostOutputScale() {
    return output_scale;
}

void HostSetIntegerScaling(bool on) {
    integer_scaling = on;
}

void HostNoteWindowSize() {
    if (!main_window.window) return;
    uint32_t flags = SDL_GetWindowFlags(main_window.window);
    if (flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_MINIMIZED))
        return;
    SDL_GetWindowSize(main_window.window, &windowed_width, &windowed_height);
}

bool HostWindowedSize(int* width, int* height) {
    if (windowed_width <= 0 || windowed_height <= 0) return false;
    *width = windowed_width;
    *height = windowed_height;
    return true;
}

void HostToggleFullscreen() {
    if (!main_window.window) return;
    bool on = SDL_GetWindowFlags(main_window.window) & SDL_WINDOW_FULLSCREEN_DESKTOP;
    SDL_SetWindowFullscreen(main_window.window, on ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void HostApplyTitle() {
    std::string title;
    if (HostTakeTitle(&title) && main_window.window)
        SDL_SetWindowTitle(main_window.window, title.c_str());
}

bool HostCreateDebugMonitor() {
    monitor.window = SDL_CreateWindow("TUVO", 0, 0, kMonitorWidth, kMonitorHeight, 0);
    if (!monitor.window) return false;
    monitor_pixels.assign(size_t(kMonitorWidth) * kMonitorHeight, 0);
    make_renderer(&monitor, false);
    HostPresentDebugMonitor();
    return true;
}

bool HostHasDebugMonitor() {
    return monitor.window != nullptr;
}
uint32_t HostDebugMonitorId() {
    return monitor.window ? SDL_GetWindowID(monitor.window) : 0;
}

RasterTarget HostDebugMonitorTarget() {
    if (monitor_pixels.empty()) return RasterTarget{nullptr, 0, 0};
    return RasterTarget{monitor_pixels.data(), kMonitorWidth, kMonitorHeight};
}

void HostPresentDebugMonitor() {
    if (!monitor.renderer || !fit_texture(&monitor, kMonitorWidth, kMonitorHeight)) return;
    SDL_UpdateTexture(monitor.texture, nullptr, monitor_pixels.data(), kMonitorWidth * 4);
    SDL_RenderClear(monitor.renderer);
    SDL_RenderCopy(monitor.renderer, monitor.texture, nullptr, nullptr);
    SDL_RenderPresent(monitor.renderer);
}

void HostDestroyWindows() {
    destroy(&monitor);
    destroy(&main_window);
    staging.clear();
    monitor_pixels.clear();
    presented = false;
}
