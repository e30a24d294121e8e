#include "host/options.h"

#include <cstdlib>
#include <cstring>

const char* const kHostUsage =
    "usage: noma [--data DIR] [--headless] [--input FILE] [--scale N] [--fullscreen] [--help]\n"
    "            [--windowed] [--integer-scaling | --smooth-scaling] [--mute | --no-mute]\n"
    "            [--music-volume N] [--effect-volume N] [--mincho FAMILY] [--gothic FAMILY]\n"
    "            [--soundfont FILE] [--report SECONDS]\n"
    "  --data DIR     run the game in DIR (the folder that holds NOMA.ini)\n"
    "  --headless     no window: offscreen video, virtual clock, deterministic runs\n"
    "  --input FILE   scripted input, one event a line:\n"
    "                   <t> key <code> | char <byte> | down <x> <y> [left|right] | up |\n"
    "                   move <x> <y> | mod <bits> | shot <file.png> | close\n"
    "                 (<t> in milliseconds of the clock since start-up)\n"
    "  --scale N      window size in whole multiples of the screen\n"
    "  --fullscreen   start in fullscreen (Alt+Enter or F11 toggles it); --windowed: not\n"
    "  --integer-scaling  enlarge the picture by whole factors only (sharp pixels);\n"
    "  --smooth-scaling   fill the window, filtered (the default)\n"
    "  --mute, --no-mute  start with the sound off or on (Ctrl+M toggles it)\n"
    "  --music-volume N, --effect-volume N   volumes from 0 to 100\n"
    "  --mincho FAMILY, --gothic FAMILY      fontconfig families for the Japanese text\n"
    "  --soundfont FILE                      the General MIDI soundfont for music\n"
    "  --report SECONDS   headless: a line on stderr every SECONDS of the clock with the\n"
    "                     resident memory and the pool's use (for long test runs)\n"
    "The player's settings are kept in player.ini in the game's folder; options given here\n"
    "override it for this run.\n";

namespace {

bool whole_number(const char* text, long low, long high, long* out) {
    char* end = nullptr;
    long n = std::strtol(text, &end, 10);
    if (end == text || *end || n < low || n > high) return false;
    *out = n;
    return true;
}

}  // namespace

bool ParseHostOptions(int argc, const char* const* argv, HostOptions* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        auto value = [&](const char** out) {
            if (i + 1 >= argc) {
                *error = std::string(arg) + " needs a value";
                return false;
            }
            *out = argv[++i];
            return true;
        };
        auto volume = [&](std::optional<int>* out) {
            const char* v = nullptr;
            long n = 0;
            if (!value(&v)) return false;
            if (!whole_number(v, 0, 100, &n)) {
                *error = std::string(arg) + " wants a whole number from 0 to 100, not " + v;
                return false;
            }
            *out = int(n);
            return true;
        };
        auto text = [&](std::optional<std::string>* out) {
            const char* v = nullptr;
            if (!value(&v)) return false;
            *out = v;
            return true;
        };
        const char* v = nullptr;
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
            options->help = true;
        } else if (!std::strcmp(arg, "--headless")) {
            options->headless = true;
        } else if (!std::strcmp(arg, "--fullscreen")) {
            options->fullscreen = true;
        } else if (!std::strcmp(arg, "--windowed")) {
            options->fullscreen = false;
        } else if (!std::strcmp(arg, "--integer-scaling")) {
            options->integer_scaling = true;
        } else if (!std::strcmp(arg, "--smooth-scaling")) {
            options->integer_scaling = false;
        } else if (!std::strcmp(arg, "--mute")) {
            options->mute = true;
        } else if (!std::strcmp(arg, "--no-mute")) {
            options->mute = false;
        } else if (!std::strcmp(arg, "--music-volume")) {
            if (!volume(&options->music_volume)) return false;
        } else if (!std::strcmp(arg, "--effect-volume")) {
            if (!volume(&options->effect_volume)) return false;
        } else if (!std::strcmp(arg, "--mincho")) {
            if (!text(&options->mincho_font)) return false;
        } else if (!std::strcmp(arg, "--gothic")) {
            if (!text(&options->gothic_font)) return false;
        } else if (!std::strcmp(arg, "--soundfont")) {
            if (!text(&options->soundfont)) return false;
        } else if (!std::strcmp(arg, "--data")) {
            if (!value(&v)) return false;
            options->data = v;
        } else if (!std::strcmp(arg, "--input")) {
            if (!value(&v)) return false;
            options->input = v;
        } else if (!std::strcmp(arg, "--scale")) {
            if (!value(&v)) return false;
            long n = 0;
            if (!whole_number(v, 1, 16, &n)) {
                *error = std::string("--scale wants a whole number from 1 to 16, not ") + v;
                return false;
            }
            options->scale = int(n);
        } else if (!std::strcmp(arg, "--report")) {
            if (!value(&v)) return false;
            long n = 0;
            if (!whole_number(v, 1, 86400, &n)) {
                *error = std::string("--report wants a whole number of seconds, not ") + v;
                return false;
            }
            options->report = int(n);
        } else {
            *error = std::string("unknown option ") + arg;
            return false;
        }
    }
    return true;
}
