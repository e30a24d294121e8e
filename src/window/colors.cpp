#include "window/colors.h"

#include <cstring>

namespace {

// Values asked of the screen; 0 marks the entries that are never filled.
constexpr uint32_t kValues[kSystemColorCount] = {
    0x000000, 0xFFFFFF, 0x0000C8, 0xDC0000, 0x00C8C8, 0x28961E, 0x6E6EF0, 0xFA7878,
    0x50A0C8, 0,        0,        0,        0,        0,        0x144614, 0x1E1E78,
    0x781E1E, 0x787878, 0xC8C8C8, 0x323232, 0x0A0A32, 0xB4B4FF, 0xB496E6, 0x8CFAFA,
    0x64BE78, 0x566D00, 0x91CE58, 0xBBB8B3, 0,        0xEE82EE, 0x800000, 0xDDA0DD,
    0x701919, 0x000080, 0x9314FF, 0x00D7FF, 0x20A5DA, 0xC0C0C0, 0x800080};

struct ColorName {
    const char* name;
    int index;  // -1: the value 0 itself
};

// Compared in this order.
constexpr ColorName kNames[] = {
    {"black", -1},   {"white", 1},    {"gray", 17},     {"darkgray", 19},  {"lightgray", 18},
    {"red", 2},      {"blue", 3},     {"mint", 26},     {"yellow", 4},     {"pink", 6},
    {"scarlet", 21}, {"remon", 23},   {"viridian", 25}, {"darkbrown", 20}, {"purple", 38},
    {"plum", 31},    {"skygray", 27}, {"deeppink", 34}, {"gold", 35},      {"maron", 33},
    {"magenta", 22}, {"brown", 15}};

uint32_t table[kSystemColorCount];

}  // namespace

uint32_t NearestColor(uint32_t color) {
    return color & 0xFFFFFF;
}

void PrepareSystemColors() {
    for (int i = 0; i < kSystemColorCount; ++i)
        table[i] = kValues[i] ? NearestColor(kValues[i]) : 0;
    // Two entries are taken as they are, without asking the screen.
    table[6] = kValues[6];
    table[7] = kValues[7];
}

uint32_t SystemColor(int index, uint32_t fallback) {
    if (index < 0 || index >= kSystemColorCount) return fallback;
    return table[index];
}

uint32_t ColorByName(const char* name) {
    if (!name) return table[kDefaultColorIndex];
    if (name[0] == 'P') {
        // The prefix of five characters is skipped; a shorter name has nothing left.
        size_t length = std::strlen(name);
        name += length < 5 ? length : 5;
    }
    for (const ColorName& c : kNames)
        if (!std::strcmp(name, c.name)) return c.index < 0 ? 0 : table[c.index];
    return table[kDefaultColorIndex];
}
