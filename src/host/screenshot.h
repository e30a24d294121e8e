// F12: the screen as a PNG file in the "screenshots" folder of the game's folder, named by the
// date and time of the clock (the virtual clock's in headless runs).
#pragma once

#include <string>

#include "host/clock.h"

constexpr const char* kScreenshotFolder = "screenshots";

// "screenshots/YYYY-MM-DD_HH-MM-SS.png"; `n` above 1 adds "-n" for a second picture taken in
// the same second.
std::string ScreenshotName(const HostTime& time, int n);

// Writes the screen surface into the first free name of the clock's present second (making the
// folder when needed) and returns that name; "" when nothing could be written. The player is
// told on stderr either way.
std::string HostTakeScreenshot();
