// The host's way to the error log. The host knows no log file of its own: the layer that owns
// the error log installs a sink. Lines that come before it are kept (up to 64) and handed to
// the sink when it is installed.
#pragma once

using HostLogSink = void (*)(const char* line);

void HostSetLogSink(HostLogSink sink);
// Hands one line to the installed sink.
void HostLog(const char* line);
void HostLogf(const char* format, ...) __attribute__((format(printf, 1, 2)));
