// The streams HostFileOpen handed out that are still open. The manager counts and closes them
// when the system shuts down.
#pragma once

#include <cstdio>

// Remembers a stream HostFileOpen opened; `fd` is the descriptor of the file under it.
void HostTrackFile(FILE* stream, int fd);
// Streams opened through HostFileOpen and not closed yet.
int HostOpenFileCount();
// Closes them all; returns how many were closed.
int HostCloseAllFiles();
