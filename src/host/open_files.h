// The streams HostFileOpen handed out that are still open. The manager counts and closes them
// when the system shuts down. Every such stream is closed through HostFileClose (host/file.h),
// which is how the list learns that it is gone.
#pragma once

#include <cstdio>

// Remembers a stream HostFileOpen opened, with the state object behind a cookie stream: the C
// library keeps a cookie where a leak checker cannot see it, so the list holds it in sight.
void HostTrackFile(FILE* stream, const void* cookie = nullptr);
// Streams opened through HostFileOpen and not closed yet.
int HostOpenFileCount();
// Closes them all; returns how many were closed.
int HostCloseAllFiles();
