// The pixel rules of the original platform's 2D interface, as plain loops over a raster target.
// These are the building blocks of host/raster.h (which draws on the screen surface under its
// lock); they can also draw into host bitmaps. Everything is clipped to the target.
//
// Rectangles named left/top/right/bottom exclude the right column and the bottom row.
#pragma once

#include <cstdint>
#include <vector>

#include "host/raster_target.h"

struct RasterPoint {
    int x;
    int y;
};

// Fills the pixels left <= x < right, top <= y < bottom; nothing when the rectangle is empty.
void RasterFill(const RasterTarget& target, int left, int top, int right, int bottom,
                uint32_t colour);

// The rectangle a block transfer of (x, y, width, height) touches: a negative width covers
// x + width + 1 .. x (likewise the height). Returns the exclusive rectangle.
void RasterBlockRect(int x, int y, int width, int height, int* left, int* top, int* right,
                     int* bottom);

// A 1-pixel solid line from (x1, y1) to (x2, y2) without its last pixel (LineTo). Diagonal
// lines step like the platform's Bresenham: ties go towards the minor axis only in the
// octants that take a bias.
void RasterLine(const RasterTarget& target, int x1, int y1, int x2, int y2, uint32_t colour);
// Consecutive lines through the points, each without its last pixel; `close` adds the line
// from the last point back to the first.
void RasterPolyline(const RasterTarget& target, const RasterPoint* points, size_t count, bool close,
                    uint32_t colour);

// The outline points of the arc of the ellipse inscribed in the ordered rectangle, walked
// counter-clockwise from the direction of (start_x, start_y) to that of (end_x, end_y), both
// relative to the rectangle's centre (left + width / 2, top + height / 2).
std::vector<RasterPoint> RasterArcPoints(int left, int top, int right, int bottom, int start_x,
                                         int start_y, int end_x, int end_y);

// Ellipse(left, top, right, bottom) with a 1-pixel pen and a solid brush of the same colour.
void RasterEllipse(const RasterTarget& target, int left, int top, int right, int bottom,
                   uint32_t colour);
// Arc(left, top, right, bottom, x3, y3, x4, y4) with a 1-pixel pen, counter-clockwise.
void RasterArc(const RasterTarget& target, int left, int top, int right, int bottom, int x3, int y3,
               int x4, int y4, uint32_t colour);

// DrawFocusRect of (left, top, right, bottom): four one-pixel strips inverted through the 8x8
// checkerboard brush. Pixels with x + y even are XORed with `back_colour`, the others with
// `text_colour` (a monochrome brush takes the context's background and text colours).
void RasterFocusRect(const RasterTarget& target, int left, int top, int right, int bottom,
                     uint32_t text_colour, uint32_t back_colour);

// Subtracts `value` from every pixel of the area, each channel floored at 0: the low byte from
// red, the high byte from green, and 0xFF from blue when the 16-bit value is negative.
void RasterDarken(const RasterTarget& target, int x, int y, int width, int height, int16_t value);

// One pass of a mosaic fade over the area (x, y, width, height), which also clips it: for
// px = step, step + spacing, ... below width and, for each, py = step, step + spacing, ...
// below height, the pixel at (x + px, y + py) is read, each of its colour bytes moved by
// `amount` (kept within 0..255), and the square of side `side` at (x + px - step, y + py -
// step) filled with the result. The reads see the squares already filled, in that order. A
// pixel outside the target reads as white when brightening and black when darkening.
void RasterMosaicPass(const RasterTarget& target, int x, int y, int width, int height, int step,
                      int spacing, int side, int amount);
