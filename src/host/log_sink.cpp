#include "host/log_sink.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {
std::atomic<HostLogSink> sink{nullptr};
}  // namespace

void HostSetLogSink(HostLogSink new_sink) {
    sink.store(new_sink);
}

void HostLog(const char* line) {
    if (HostLogSink s = sink.load()) s(line);
}

void HostLogf(const char* format, ...) {
    char line[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    HostLog(line);
}
