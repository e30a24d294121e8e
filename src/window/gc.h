// Graphics contexts: the colours, font and tile a window is drawn with. GCs are records of
// the system resource "GC".
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"

constexpr uint16_t GC_SHADOW_TEXT = 0x20;  // WinCenterMessage draws an offset second copy

struct GCRecord {
    uint16_t flags;
    uint8_t pad0[2];
    uint32_t fill;  // windows are filled and cleared with it
    uint32_t reserved0;
    uint32_t edge1;  // top and left edges of panels
    uint32_t edge2;  // bottom and right edges of panels
    uint32_t text;   // text, lines and shapes
    Handle font;
    uint32_t reserved1[2];
    uint16_t reserved2;
    uint8_t pad1[2];
    uint32_t reserved3;  // 0xFFFF
    uint16_t reserved4;  // 1
    uint16_t reserved5[4];
    uint8_t pad2[2];
    uint32_t tile;  // host bitmap repeated by WIN_TILED windows, 0 = none
    uint32_t ramp[16];
};
static_assert(sizeof(GCRecord) == 124);
static_assert(offsetof(GCRecord, text) == 20);
static_assert(offsetof(GCRecord, font) == 24);
static_assert(offsetof(GCRecord, tile) == 56);
static_assert(offsetof(GCRecord, ramp) == 60);

GCRecord* gc_record(Handle gc);

// A new GC with the colours, the system font, no tile and the standard colour ramp; 0 when
// the record cannot be made.
Handle CreateGC(uint32_t fill, uint32_t edge1, uint32_t edge2, uint32_t text);
// A field-by-field copy of `gc`; 0 when it cannot be made.
Handle CopyGC(Handle gc);
// The serial number given to the last GC created (a byte counter).
uint8_t LastGCSerial();

void SetGCColors(Handle gc, uint32_t fill, uint32_t edge1, uint32_t edge2);
void SetGCTextColor(Handle gc, uint32_t color);
void SetGCFont(Handle gc, Handle font);
void SetGCTile(Handle gc, uint32_t bitmap);
void SwapGCEdges(Handle gc);
// Sets the text colour to the named colour of the system colour table.
void SetGCColorName(Handle gc, const char* name);
