// Graphic records: a host bitmap (and optionally its mask) with its size and the file it came
// from, kept as a 64-byte record of a resource, by default the system resource "Graphic VRAM".
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"

struct GraphicRecord {
    uint16_t width;
    uint16_t height;
    uint32_t bitmap;  // host bitmap id (host/bitmap.h)
    uint32_t mask;    // host mask id, 0 = none
    char name[44];    // the file the graphic was loaded from, NUL-terminated
    uint32_t reserved[2];
};
static_assert(sizeof(GraphicRecord) == 64);
static_assert(offsetof(GraphicRecord, bitmap) == 4);
static_assert(offsetof(GraphicRecord, name) == 12);

// The body of a graphic record, or nullptr. Valid until the next pool allocation.
GraphicRecord* graphic_record(Handle graphic);

// A graphic of `width` x `height` holding a black screen-compatible bitmap, in `resource`
// (0 = "Graphic VRAM"). 0 when the record or the bitmap cannot be made.
Handle CreateGraphic(Handle owner, Handle resource, int width, int height);
// Loads a BMP file into a new graphic: the record takes the file name (cut to 43 bytes), the
// image's size and the bitmap, no mask. 0 when the file does not load (the loader logs why).
Handle LoadGraphic(Handle owner, Handle resource, const char* name);
// The first graphic of the resource loaded from exactly `name`, otherwise LoadGraphic. A name
// longer than the record holds never matches, so such a file is loaded each time.
Handle FindOrLoadGraphic(Handle owner, Handle resource, const char* name);
// Deletes the graphic's bitmap and mask and removes its record.
void FreeGraphic(Handle owner, Handle resource, Handle graphic);
