#include "host/options.h"

#include <cstdlib>
#include <cstring>

const char* const kHostUsage =
    "usage: noma [--data DIR] [--headless] [--input FILE] [--scale N] [--fullscreen] [--help]\n"
    "  --data DIR     run the game in DIR (the folder that holds NOMA.ini)\n"
    "  --headless     no window: offscreen video, virtual clock, deterministic runs\n"
    "  --input FILE   scripted input, one event a line:\n"
    "                   <t> key <code> | char <byte> | down <x> <y> [left|right] | up |\n"
    "                   move <x> <y> | mod <bits> | shot <file.png> | close\n"
    "                 (<t> in milliseconds of the clock since start-up)\n"
    "  --scale N      window size in whole multiples of the screen\n"
    "  --fullscreen   start in fullscreen (Alt+Enter or F11 toggles it)\n";

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
        const char* v = nullptr;
        if (!std::strcmp(arg, "--help") || !std::strcmp(arg, "-h")) {
            options->help = true;
        } else if (!std::strcmp(arg, "--headless")) {
            options->headless = true;
        } else if (!std::strcmp(arg, "--fullscreen")) {
            options->fullscreen = true;
        } else if (!std::strcmp(arg, "--data")) {
            if (!value(&v)) return false;
            options->data = v;
        } else if (!std::strcmp(arg, "--input")) {
            if (!value(&v)) return false;
            options->input = v;
        } else if (!std::strcmp(arg, "--scale")) {
            if (!value(&v)) return false;
            char* end = nullptr;
            long n = std::strtol(v, &end, 10);
            if (*end || n < 1 || n > 16) {
                *error = std::string("--scale wants a whole number from 1 to 16, not ") + v;
                return false;
            }
            options->scale = int(n);
        } else {
            *error = std::string("unknown option ") + arg;
            return false;
        }
    }
    return true;
}
