// Text output on the screen surface: Shift-JIS text drawn with the three host fonts of a font
// record's size and flags, anti-aliased in the text colour over a transparent background.
// The fonts themselves are made once; their glyphs are cached (host/font.h), so a change of
// font record costs nothing.
#pragma once

#include <cstdint>

// Font record flag bits.
constexpr uint16_t FONT_ONE_PIECE = 0x02;  // the whole text in one piece with the Mincho font
constexpr uint16_t FONT_ITALIC = 0x04;

// Draws `text` (Shift-JIS, ended by NUL) with the top of its character cells at y. Unless
// FONT_ONE_PIECE is set, it goes character by character from x: a valid double-byte pair with
// the Mincho font, advancing by `size`; any other byte advancing by size / 2, a half-width
// katakana byte (0xA1-0xDF) with the narrow Mincho font and the rest with the narrow Gothic
// font (whose bytes read as the Western code page). A character whose width is less than its
// advance minus an eighth of it is centred in its advance. Sets the screen's text colour.
// Takes the surface lock itself.
void HostTextOut(int x, int y, const char* text, uint32_t colour, int size, uint16_t flags);
