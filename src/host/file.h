// Every file the system opens goes through HostFileOpen: Windows paths and modes on Linux.
#pragma once

#include <cstdio>
#include <string>

// Opens `name` (Shift-JIS, "\" or "/" separated) with a C `mode`. A mode without "b" is a
// Windows text mode: reading turns CR LF into LF and stops at Ctrl-Z, writing turns LF into
// CR LF. Returns nullptr when the file cannot be opened. Close with HostFileClose.
FILE* HostFileOpen(const char* name, const char* mode);
// Closes a stream HostFileOpen opened; returns what fclose returns.
int HostFileClose(FILE* stream);

// The Linux path a Shift-JIS system path names: "\" becomes "/", the name is converted to
// UTF-8, and each component that does not exist is matched case-insensitively.
std::string HostResolvePath(const char* name);
