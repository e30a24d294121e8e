// Font records: size, line height and style of the text drawn in windows. Fonts are 44-byte
// records of the system resource "Font"; the six system fonts carry the numbers 1 to 6.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"
#include "host/text_out.h"  // the flag bits FONT_ONE_PIECE and FONT_ITALIC

// Number of the system font used by new GCs and the system dialogs.
constexpr int kSystemFontNumber = 3;

struct FontRecord {
    uint16_t flags;
    uint16_t attribute;
    char face[22];
    int16_t size;  // a half-width cell is size / 2 pixels wide
    int16_t line_height;
    uint16_t reserved0[3];
    uint32_t reserved1[2];
};
static_assert(sizeof(FontRecord) == 44);
static_assert(offsetof(FontRecord, size) == 26);
static_assert(offsetof(FontRecord, reserved1) == 36);

FontRecord* font_record(Handle font);

// A font record with record number `number`; logs and returns 0 when it cannot be made.
Handle CreateSystemFont(int size, int line_height, int number);
// An unnumbered font record; `name` (may be null) is its face name.
Handle CreateFont(int size, int line_height, int attribute, const char* name);
// Font record `number` of the Font resource selected for `task` (its last opened resource and
// last selected record follow, as for any record a task selects), or 0.
Handle FindFont(Handle task, int number);
void DeleteFont(Handle font);
// Creates the six system fonts (sizes 8, 12, 18, 22, 24, 16 as numbers 1, 2, 4, 5, 6, 3).
void CreateSystemFonts();
// The system font (number 3), or 0 before the system fonts exist.
Handle SystemFont();

// Draws `text` (Shift-JIS) at absolute (x, y) in the font's size and style; nothing for a
// missing font.
void DrawFontText(int x, int y, const char* text, uint32_t color, Handle font);

// Width of a half-width cell and line height of a font; 8 and 16 for a missing font.
int FontCellWidth(Handle font);
int FontSize(Handle font);
int FontLineHeight(Handle font);
