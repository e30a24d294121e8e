// The command line of noma.
#pragma once

#include <optional>
#include <string>

struct HostOptions {
    std::string data;  // --data DIR: the working folder (the folder that holds NOMA.ini)
    bool headless = false;
    std::string input;  // --input FILE: scripted input
    int scale = 0;      // --scale N: window size in multiples of the screen; 0 = not given
    int report = 0;     // --report SECONDS: headless use report on stderr; 0 = none
    bool help = false;
    // Player settings given on the command line; each one overrides player.ini.
    std::optional<bool> fullscreen;          // --fullscreen / --windowed
    std::optional<bool> integer_scaling;     // --integer-scaling / --smooth-scaling
    std::optional<bool> mute;                // --mute / --no-mute
    std::optional<int> music_volume;         // --music-volume 0..100
    std::optional<int> effect_volume;        // --effect-volume 0..100
    std::optional<std::string> mincho_font;  // --mincho FAMILY (any fontconfig family)
    std::optional<std::string> gothic_font;  // --gothic FAMILY
    std::optional<std::string> soundfont;    // --soundfont FILE (a General MIDI soundfont)
};

extern const char* const kHostUsage;

// False with a message in `error` for an unknown option or a bad value.
bool ParseHostOptions(int argc, const char* const* argv, HostOptions* options, std::string* error);
