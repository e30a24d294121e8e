// The start-screen file: a key file naming the logo (LOGO_TITLE), the title screen's background
// (BackGraphic), its buttons ("Button1" to "Button10", each "number, x, y, text", read up to
// the first missing one) and the program task started by a button (START_PROGRAM).
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/config.h"

constexpr int kStartScreenButtons = 10;
constexpr size_t kStartScreenName = 80;     // file names: 79 bytes at most
constexpr size_t kStartScreenProgram = 20;  // task names: 19 bytes at most

struct StartScreenButton {
    uint16_t number;
    int16_t x, y;
    char text[kIniValueSize];
    char value[kIniValueSize];  // the key's whole value, for the log
};

struct StartScreenFile {
    char logo[kStartScreenName];
    char background[kStartScreenName];
    char program[kStartScreenProgram];
    int button_count;
    StartScreenButton buttons[kStartScreenButtons];
};

// The words of one button value; missing numbers are 0, a missing text is empty.
StartScreenButton ParseStartScreenButton(const char* value);
// Reads the keys of `file`; a missing file or key leaves its field empty.
StartScreenFile ReadStartScreenFile(const char* file);
