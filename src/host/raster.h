// Shapes on the screen surface with the original platform's pixel rules. Coordinates are
// absolute screen pixels, colours 0x00BBGGRR. Each call takes the surface lock itself, so
// callers must not hold it. Drawing outside the surface is clipped silently.
#pragma once

#include <cstdint>

// red + green * 256 + blue * 65536.
uint32_t HostColor(int red, int green, int blue);
// The colour the surface shows for `colour` (every 24-bit colour: the value itself).
uint32_t HostNearestColor(uint32_t colour);

// A 1-pixel outline through (x, y), (x + width, y), (x + width, y + height), (x, y + height):
// four lines without their last pixels, so the outline covers x .. x + width inclusive.
void HostRectangle(int x, int y, int width, int height, uint32_t colour);
// Fills x .. x + width - 1 by y .. y + height - 1 (the right and bottom edges excluded).
void HostFillRect(int x, int y, int width, int height, uint32_t colour);
// The ellipse inscribed in (x, y)-(x + width, y + height), filled and outlined in `colour`.
void HostEllipse(int x, int y, int width, int height, uint32_t colour);
// The arc of that ellipse from the direction of (x3, y3) to that of (x4, y4), counter-clockwise.
void HostArc(int x, int y, int width, int height, int x3, int y3, int x4, int y4, uint32_t colour);
// A line from (x1, y1) to (x2, y2) without its last pixel.
void HostLine(int x1, int y1, int x2, int y2, uint32_t colour);
void HostSetPixel(int x, int y, uint32_t colour);
// The colour of a pixel; 0xFFFFFFFF outside the surface.
uint32_t HostGetPixel(int x, int y);

// The dotted XOR focus rectangle (x, y)-(x + width, y + height); it is remembered, and
// HostEraseFocusRect draws it once more, which restores the screen.
void HostFocusRect(int x, int y, int width, int height);
void HostEraseFocusRect();

// Darkens the area: `value` is a signed 16-bit value whose low byte is subtracted from red and
// whose high byte from green; blue loses 0xFF when it is negative. Channels stop at 0.
void HostDarken(int x, int y, int width, int height, int16_t value);
// One pass of a mosaic fade over the area (see RasterMosaicPass in host/raster_core.h).
void HostMosaicPass(int x, int y, int width, int height, int step, int spacing, int side,
                    int amount);

// The text colour of the screen context: text output sets it; the focus rectangle's brush
// takes it for its "0" dots (the "1" dots invert).
void HostSetScreenTextColor(uint32_t colour);
uint32_t HostScreenTextColor();
// A fresh screen context: black text colour, no focus rectangle remembered.
void HostResetScreenContext();
