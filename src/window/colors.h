// The system colour table (39 entries) and the colour names. Configuration values such as
// BACKSCREEN_COLOR are indexes into the table; colour names give entries of it.
#pragma once

#include <cstdint>

constexpr int kSystemColorCount = 39;
// Entry given to a colour name that matches nothing.
constexpr int kDefaultColorIndex = 5;

// Fills the table with the colours the screen can show.
void PrepareSystemColors();
// Entry `index`, or `fallback` outside the table.
uint32_t SystemColor(int index, uint32_t fallback = 0);
// The colour a name stands for: "black" is 0, the other names their entry, anything else
// entry 5. A name beginning with "P" is compared from its sixth character.
uint32_t ColorByName(const char* name);
// The nearest colour the screen can show (the screen shows every 24-bit colour).
uint32_t NearestColor(uint32_t color);
inline uint32_t RGBColor(int red, int green, int blue) {
    return uint32_t(red & 0xFF) | uint32_t(green & 0xFF) << 8 | uint32_t(blue & 0xFF) << 16;
}
