// The host's way to the error log. The host knows no log file of its own: the layer that owns
// the error log installs a sink, and until then the host's lines are dropped.
#pragma once

using HostLogSink = void (*)(const char* line);

void HostSetLogSink(HostLogSink sink);
// Hands one line to the installed sink.
void HostLog(const char* line);
void HostLogf(const char* format, ...) __attribute__((format(printf, 1, 2)));
