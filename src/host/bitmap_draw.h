// Bitmap operations on the screen surface: saving and restoring screen areas, drawing whole
// bitmaps, parts of them, stretched, through transparency masks and tinted. Each screen
// operation takes the surface lock itself; callers must not hold it.
#pragma once

#include <cstdint>

// Copies the screen area (x, y, width, height) into `bitmap` at (0, 0). False when the bitmap
// does not exist.
bool HostSaveScreenArea(uint32_t bitmap, int x, int y, int width, int height);
// Copies `bitmap` from (0, 0) onto the screen area. When the bitmap does not exist, logs
// "Error GraphicLoad() BitBlt() ret 6" (the platform's invalid-handle error) and returns false.
bool HostPutScreenArea(uint32_t bitmap, int x, int y, int width, int height);
// Saves the area into a screen-sized bitmap and puts it back.
void HostCopyScreenArea(int x, int y, int width, int height);
// Draws `bitmap` at (x, y), the size cut to the bitmap's own.
bool HostDrawBitmap(int x, int y, int width, int height, uint32_t bitmap);
// Combines the block of `bitmap` at (src_x, src_y) with the screen at (x, y) through the raster
// operation `rop` (host/raster_blit.h); the screen's brush is the white stock brush.
bool HostDrawBitmapPart(int x, int y, int width, int height, uint32_t bitmap, int src_x, int src_y,
                        uint32_t rop);
// Stretches the block (src_x, src_y, src_width, src_height) of `bitmap` onto the screen block;
// a source width or height of -1 means the bitmap's own.
bool HostDrawBitmapStretched(int x, int y, int width, int height, uint32_t bitmap, int src_x,
                             int src_y, int src_width, int src_height);

// Makes a mask of the bitmap's size that is 1 where the bitmap has `colour` and 0 elsewhere,
// and sets those pixels of the bitmap to black (the bitmap itself is changed). Returns the new
// mask, or 0 when the bitmap does not exist or the mask cannot be made.
uint32_t HostMakeTransparencyMask(uint32_t bitmap, uint32_t colour);
// Draws the whole bitmap at (x, y) through `mask`: where the mask is 1 the bitmap is ORed onto
// the screen (its black pixels leave the screen alone), elsewhere it is copied.
bool HostDrawMasked(int x, int y, uint32_t bitmap, uint32_t mask);
// Makes the transparency mask for magenta (0xFF00FF), replacing the previous one, and draws
// the bitmap through it. A second call on the same bitmap finds no magenta left.
bool HostDrawMagenta(int x, int y, uint32_t bitmap);
// The last mask made by HostDrawMagenta (0 when none); it lives until the next one.
uint32_t HostLastTransparencyMask();
// Screen OR (bitmap AND NOT colour) over the block (x, y, width, height), the bitmap from (0, 0).
bool HostTint(int x, int y, int width, int height, uint32_t bitmap, uint32_t colour);
// Loads a BMP file (host/bmp.h), draws it at (x, y) and frees the loader state.
bool HostDrawBmpFile(int x, int y, const char* name);
