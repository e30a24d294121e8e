// The start-up on the main window's first paint: the system's initialisation, the host's own
// log lines, the application task "Ilvane", the debug monitor's banner and checks, and last the
// started flag that lets the program thread run its cycles.
#pragma once

#include <string>

// Version of the host layer.
constexpr const char* kHostVersion = "0.605";

void HostStartUp();
// True once HostStartUp has begun (a paint that finds it set does not start again).
bool HostStartUpBegun();

// Parts of the host log lines: "<major>.<minor>" and the system name from uname, the computer
// and the user name ("NON" when it cannot be read).
struct HostIdentity {
    int major = 0, minor = 0;
    std::string system;
    std::string computer;
    std::string user;
};
HostIdentity ReadHostIdentity();
