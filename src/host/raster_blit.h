// Block transfers between raster targets: the ternary raster operations, the stretch that
// deletes eliminated lines, and the masked transfer. Plain loops over memory.
#pragma once

#include <cstdint>
#include <vector>

#include "host/raster_target.h"

// Raster operation codes used by the system.
constexpr uint32_t ROP_SRCCOPY = 0x00CC0020;
constexpr uint32_t ROP_SRCPAINT = 0x00EE0086;
constexpr uint32_t ROP_SRCAND = 0x008800C6;
constexpr uint32_t ROP_SRCINVERT = 0x00660046;
constexpr uint32_t ROP_NOTSRCCOPY = 0x00330008;
constexpr uint32_t ROP_DSTINVERT = 0x00550009;
constexpr uint32_t ROP_PATCOPY = 0x00F00021;
constexpr uint32_t ROP_PATINVERT = 0x005A0049;
constexpr uint32_t ROP_TINT = 0x00AE0B06;  // destination OR (source AND NOT pattern)
// MaskBlt: SRCPAINT where the mask is 1, SRCCOPY where it is 0.
constexpr uint32_t ROP_MASKED = 0xCCEE0086;

// Result of the raster operation `rop` (its third byte selects the function) on one pixel.
uint32_t RasterRop3(uint32_t rop, uint32_t pattern, uint32_t source, uint32_t destination);

// BitBlt: combines the block of `width` x `height` at (src_x, src_y) of `source` with the one
// at (x, y) of `destination` through `rop`; `pattern` is the colour of the selected solid
// brush. A negative size covers the block to the left of / above the point (the same block in
// both targets). Parts outside either target are left alone. `source` may be null for
// operations that do not read it. Source and destination may be the same target.
void RasterBlit(const RasterTarget& destination, int x, int y, int width, int height,
                const RasterTarget* source, int src_x, int src_y, uint32_t rop, uint32_t pattern);

// StretchBlt with SRCCOPY in the mode that deletes eliminated lines: the source block is
// mapped onto the destination block by a Bresenham walk along each axis (negative sizes
// mirror). When the destination is larger, source pixels repeat; when it is smaller, a row
// keeps the first source row of those that fall on it and a column the last source column.
// Destination pixels whose source lies outside the source target are left alone.
void RasterStretch(const RasterTarget& destination, int x, int y, int width, int height,
                   const RasterTarget& source, int src_x, int src_y, int src_width, int src_height);

// One axis of the stretch: for each destination index 0 .. dst_limit - 1 the source index it
// takes, or -1. `keep_first` selects the first source index of a group that shrinks onto one
// destination index (rows) instead of the last (columns).
std::vector<int> RasterStretchAxis(int dst_start, int dst_length, int dst_limit, int src_start,
                                   int src_length, int src_limit, bool keep_first);

// MaskBlt with ROP_MASKED of the whole `source` at (x, y): where `mask` (same origin) is 1 the
// source is ORed onto the destination, elsewhere it is copied. Mask pixels beyond the mask's
// size count as 0.
void RasterMaskBlit(const RasterTarget& destination, int x, int y, const RasterTarget& source,
                    const RasterTarget& mask);
