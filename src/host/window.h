// The main window "TUVO" and the optional debug monitor window: creation by the screen rule,
// presentation of the screen surface (scaled, letterboxed), fullscreen, title. Main thread only.
#pragma once

#include <SDL2/SDL_video.h>

#include <cstdint>
#include <string>
#include <vector>

#include "host/present_layout.h"
#include "host/raster_target.h"

// The screen rule: a display of exactly 800 x 600 gets a captionless window filling it and
// the display's size as the screen size; any other display a captioned window of the size
// NOMA.ini gives (SCREEN_SIZEX / SCREEN_SIZEY; -1 when missing keeps `fallback`).
struct ScreenChoice {
    int width, height;
    bool captionless;
};
ScreenChoice ChooseScreen(int display_width, int display_height, int ini_width, int ini_height,
                          int fallback_width, int fallback_height);

// The largest whole factor by which a screen of width x height fits into the usable area of
// the display; at least 1.
int DefaultWindowScale(int width, int height, int usable_width, int usable_height);

// Where and how large the captioned main window is made: the requested scale (0 = the
// default) shrunk to the largest that fits the usable area (at least 1; an area of unknown size
// keeps the request), and the position left to the window manager except along a side that
// still does not fit, where the window starts at the usable area's edge instead of off-screen.
struct WindowPlacement {
    int scale;
    int x, y;  // SDL_WINDOWPOS_UNDEFINED or a position in screen coordinates
};
WindowPlacement PlaceMainWindow(int width, int height, int requested_scale, const SDL_Rect& usable);

// One side of a remembered window size as the window is made again: at least the smallest
// window, at most the usable area's side (when known).
int RememberedWindowSide(int remembered, int usable);

// Creates the main window for a screen of g_screen_width x g_screen_height: captionless at
// 0,0 or captioned and resizable; `scale` 0 picks the remembered size when there is one, else
// DefaultWindowScale. The window asks for the display's full pixel density. False when no
// window can be made. The calling thread is the main thread from then on.
bool HostCreateMainWindow(bool captionless, int scale, bool fullscreen, bool headless,
                          int remembered_width = 0, int remembered_height = 0);
bool HostOnMainThread();
SDL_Window* HostMainWindow();
uint32_t HostMainWindowId();

// Shows the screen surface in the main window: at most every 16 ms unless `force`, and only
// when the picture changed since the last time (or `force`).
void HostPresent(bool force);
// Milliseconds until the next look at the surface (0: due now).
uint32_t HostPresentDueIn();
// True once a present has shown a picture of the surface.
bool HostPresentedOnce();

// The layout the last present used and output pixels per window point, for the mouse.
const PresentLayout& HostPresentLayout();
float HostOutputScale();

// Whole factors only (sharp, black bars around) or the picture filling the window (filtered;
// the default). Takes effect at the next present.
void HostSetIntegerScaling(bool on);
// Remembers the window's size after a change, unless it is fullscreen or minimised.
void HostNoteWindowSize();
// The window's last size outside fullscreen, in window points; false before the window.
bool HostWindowedSize(int* width, int* height);

void HostToggleFullscreen();
// Applies a title the system set since the last call.
void HostApplyTitle();

// The debug monitor window: 600 x 400 at 0,0, titled "TUVO", closing it does nothing.
bool HostCreateDebugMonitor();
bool HostHasDebugMonitor();
uint32_t HostDebugMonitorId();
// The debug monitor's picture (600 x 400, black at first) for the start-up banner, and its
// showing after a change or an expose.
RasterTarget HostDebugMonitorTarget();
void HostPresentDebugMonitor();
// Draws the start-up banner lines into the debug monitor and shows it.
void DrawMonitorBanner(const std::vector<std::string>& lines);

void HostDestroyWindows();
