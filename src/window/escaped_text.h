// Message texts with backslash escapes: "\n" separates lines, and a line may start with "\c"
// and a colour letter (R red, B blue, G the default green), "\w" (typewriter) and "\l" (a
// rule instead of text).
#pragma once

#include <cstdint>

#include "core/pool.h"

// Pause between the characters of a typewriter line, in hundredths of a second.
constexpr int kSlowTextWait = 30;

// Draws the message text from (x, y), one line height of the GC's font per line. Returns 1.
int DrawEscapedText(Handle window, int x, int y, const char* text, Handle gc);
// Draws one line a character at a time, pausing `wait` hundredths of a second after each; a
// key or mouse button cuts the pauses for the rest of the line. Ends at a newline.
void DrawSlowText(Handle window, int x, int y, const char* text, int wait, uint32_t color);
