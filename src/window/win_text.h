// Text in windows. Texts are Shift-JIS; positions are relative to the client origin. A text
// that would run past the client area's right edge is cut at a character boundary.
#pragma once

#include <cstdint>

#include "core/pool.h"

// Longest text the window text operations accept.
constexpr int kMaxWindowText = 1024;

// In the window GC's font and text colour.
void WinMessage(Handle window, int x, int y, const char* text);
// In the window GC's font and `color`.
void WinColorMessage(Handle window, int x, int y, const char* text, uint32_t color);
// In the font and text colour of `gc`.
void WinGCMessage(Handle window, int x, int y, const char* text, Handle gc);
// Fills the text's box with the GC's fill colour, then draws it in the GC's text colour.
void WinBoxMessage(Handle window, int x, int y, const char* text, Handle gc);
// Centred horizontally in the GC's fill colour (and an offset copy in edge1 when the GC asks).
void WinCenterMessage(Handle window, int y, const char* text, Handle gc);

// Number of characters, a double-byte pair counting as one.
int SjisCharCount(const char* text);
// How many bytes of `text` fit in `cells` half-width cells without splitting a pair.
int SjisFitBytes(const char* text, int cells);
