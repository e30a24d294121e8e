#include "host/log_sink.h"

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

namespace {

// Lines that come before a sink is installed (the message loop's own lines before the start-up
// opens the log) wait here and are handed to the first sink, up to a bound.
constexpr size_t kMaxWaitingLines = 64;

std::mutex mutex;
HostLogSink sink = nullptr;
std::vector<std::string> waiting;

}  // namespace

void HostSetLogSink(HostLogSink new_sink) {
    std::vector<std::string> lines;
    {
        std::lock_guard lock(mutex);
        sink = new_sink;
        if (sink) lines.swap(waiting);
    }
    for (const std::string& line : lines)
        new_sink(line.c_str());
}

void HostLog(const char* line) {
    if (!line) return;
    HostLogSink current;
    {
        std::lock_guard lock(mutex);
        current = sink;
        if (!current) {
            if (waiting.size() < kMaxWaitingLines) waiting.emplace_back(line);
            return;
        }
    }
    current(line);
}

void HostLogf(const char* format, ...) {
    char line[4096];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    HostLog(line);
}
