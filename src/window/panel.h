// Panels (a filled rectangle with light top-left and dark bottom-right edges) and gradient
// bands in a GC's colours.
#pragma once

#include <cstdint>

#include "core/pool.h"

// Absolute coordinates: fills with the GC's fill colour, then `edge`-wide strips, top and
// left in edge1, bottom and right in edge2.
void Panel(int x, int y, int width, int height, int edge, Handle gc);
// The panel over the window's client area.
void WinPanel(Handle window, int edge, Handle gc);
// 16 vertical bands of width / 16 pixels from client x, `height` high: band i in entry i of
// the window GC's ramp. `ramp_index` is taken and not used.
void GradationBand(Handle window, int x, int width, int ramp_index, int height);
