// Bitmaps through windows: saving and restoring screen areas, drawing bitmaps plain,
// stretched, masked or tiled, and BMP files. Positions are relative to the client origin; a
// null or covered window draws nothing.
#pragma once

#include <cstdint>

#include "core/pool.h"

// Copies the screen area into `bitmap` (a host bitmap); false when nothing was copied.
bool WinSaveArea(Handle window, int x, int y, int width, int height, uint32_t bitmap);
// Copies `bitmap` onto the area.
bool WinPutBitmap(Handle window, int x, int y, int width, int height, uint32_t bitmap);
void WinDrawBitmap(Handle window, int x, int y, uint32_t bitmap);
void WinStretchBitmap(Handle window, int x, int y, int width, int height, uint32_t bitmap);
// Stretches the block (src_x, src_y, src_width, src_height) of `bitmap` to the area.
void WinStretchBitmapPart(Handle window, int x, int y, int width, int height, uint32_t bitmap,
                          int src_x, int src_y, int src_width, int src_height);
void WinMaskedBitmap(Handle window, int x, int y, uint32_t bitmap, uint32_t mask);
// Loads a BMP file, draws it at (x, y) and frees it.
bool WinDrawBMPFile(Handle window, int x, int y, const char* file);
// Repeats `bitmap` over the client area from its origin, partial last row and column included.
void WinTile(Handle window, uint32_t bitmap);
