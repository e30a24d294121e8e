// Drawing into windows: points, lines, rectangles, ellipses, arcs and darkening. Coordinates
// are relative to the window's client origin. A null window or one without WIN_DRAWABLE draws
// nothing; a start point beyond the client area is refused (logged while tracing). The GC
// forms draw in the GC's text colour.
#pragma once

#include <cstdint>

#include "core/pool.h"

// The colour of a pixel, or 0xFFFFFFFF for a null or covered window or a point outside.
uint32_t Point(Handle window, int x, int y);
void Point(Handle window, int x, int y, uint32_t color);
void PointGC(Handle window, int x, int y, Handle gc);
// A 1-pixel line; each endpoint is clamped into the client rectangle.
void Line(Handle window, int x1, int y1, int x2, int y2, uint32_t color);
void LineGC(Handle window, int x1, int y1, int x2, int y2, Handle gc);
// Outline; clipped at the right and bottom; a negative start is refused.
void Rectangle(Handle window, int x, int y, uint16_t width, uint16_t height, uint32_t color);
void RectangleGC(Handle window, int x, int y, uint16_t width, uint16_t height, Handle gc);
// Filled; clipped on every side.
void FillRectangle(Handle window, int x, int y, uint16_t width, uint16_t height, uint32_t color);
void FillRectangleGC(Handle window, int x, int y, uint16_t width, uint16_t height, Handle gc);
// Filled and outlined ellipse in the rectangle; not clipped; a negative start is refused.
void Circle(Handle window, int x, int y, uint16_t width, uint16_t height, uint32_t color);
void CircleGC(Handle window, int x, int y, uint16_t width, uint16_t height, Handle gc);
// The arc of that ellipse from the direction of (x3, y3) to that of (x4, y4).
void Circle(Handle window, int x, int y, uint16_t width, uint16_t height, int x3, int y3, int x4,
            int y4, uint32_t color);
void CircleGC(Handle window, int x, int y, uint16_t width, uint16_t height, int x3, int y3, int x4,
              int y4, Handle gc);
// Darkens the area by a signed 16-bit value: its low byte comes off red, its high byte off
// green, and blue loses 0xFF when it is negative. Clipped at the right and bottom only.
void WinSemitransRectangle(Handle window, int x, int y, uint16_t width, uint16_t height,
                           uint32_t color);
// The same with the GC's text colour as the darkening value.
void WinSemitransRectangleGC(Handle window, int x, int y, uint16_t width, uint16_t height,
                             Handle gc);

// True when drawing into the window is allowed.
bool window_drawable(Handle window);
