// Host bitmaps: colour bitmaps in the screen's pixel format (0x00BBGGRR) and monochrome masks
// (pixels 0 or 1), kept in a host table. A bitmap is named by a small id; 0 is "none". Records
// hold these ids where they hold a host bitmap handle. Bitmaps belong to the program thread.
#pragma once

#include <cstdint>

#include "host/raster_target.h"

// A colour bitmap compatible with the screen, cleared to black; 0 when it cannot be made
// (an empty or absurd size, or no memory).
uint32_t HostCreateBitmap(int width, int height);
// The same with undefined pixels, for a caller that writes every one of them at once.
uint32_t HostCreateBitmapUncleared(int width, int height);
// A monochrome bitmap (mask), all 0; 0 when it cannot be made.
uint32_t HostCreateMask(int width, int height);
// Deletes a bitmap; false when `id` names none.
bool HostDeleteBitmap(uint32_t id);

bool HostBitmapExists(uint32_t id);
bool HostBitmapIsMask(uint32_t id);
// The size of a bitmap; false (and 0 x 0) when `id` names none.
bool HostBitmapSize(uint32_t id, int* width, int* height);
// The pixels of a bitmap as a raster target; an empty target (no pixels) when `id` names none.
// Valid until the bitmap is deleted.
RasterTarget HostBitmapTarget(uint32_t id);
// Number of live bitmaps (for leak checks).
int HostBitmapCount();
