// Tagged text drawing: text with <font_color NAME>, <font_size N>, <div> and <img FILE> tags,
// drawn character by character into a window.
#pragma once

#include "core/pool.h"

// Longest tag (the text between "<" and ">") that is read whole; the rest of a longer tag is
// skipped.
constexpr int kMaxTagLength = 2047;

// Draws `text` from (x, y) in the window with the GC's colour and font. font_color and
// font_size change the GC for good. Returns 0.
int tag_draw(Handle window, int x, int y, const char* text, Handle gc);
