// The command line of noma.
#pragma once

#include <string>

struct HostOptions {
    std::string data;  // --data DIR: the working folder (the folder that holds NOMA.ini)
    bool headless = false;
    std::string input;  // --input FILE: scripted input
    int scale = 0;      // --scale N: window size in multiples of the screen; 0 = largest that fits
    bool fullscreen = false;
    bool help = false;
};

extern const char* const kHostUsage;

// False with a message in `error` for an unknown option or a bad value.
bool ParseHostOptions(int argc, const char* const* argv, HostOptions* options, std::string* error);
