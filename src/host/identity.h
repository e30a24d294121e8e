// What the host tells about itself and its machine: its version, the system's release and
// names, and the debug monitor's start-up banner with its display checks.
#pragma once

#include <string>

// Version of the host layer.
constexpr const char* kHostVersion = "0.605";

// Parts of the host log lines: "<major>.<minor>" and the system name from uname, the computer
// and the user name ("NON" when it cannot be read).
struct HostIdentity {
    int major = 0, minor = 0;
    std::string system;
    std::string computer;
    std::string user;
};
HostIdentity ReadHostIdentity();

// The debug monitor's banner (with `program`, the configured start program, when there is one),
// its log lines and the boxes for a display of fewer than 256 colours or under 800 x 500.
void HostMonitorBanner(const char* program);
