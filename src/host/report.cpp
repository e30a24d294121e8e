#include "host/report.h"

#include <cstdio>
#include <cstring>

#include "host/clock.h"

namespace {
uint32_t period = 0;
uint32_t next_due = 0;
PoolUseReader pool_reader = nullptr;
}  // namespace

void HostStartUseReport(uint32_t period_ms, PoolUseReader reader) {
    period = period_ms;
    pool_reader = reader;
    next_due = HostTickCount() + period_ms;
}

void HostUseReportTick() {
    if (!period) return;
    uint32_t now = HostTickCount();
    if (int32_t(now - next_due) < 0) return;
    next_due += period;
    // Behind by more than a period (a stall of the real clock): one line, then a period on.
    if (int32_t(now - next_due) >= 0) next_due = now + period;
    PoolUse use = pool_reader ? pool_reader() : PoolUse{};
    std::fprintf(stderr,
                 "noma use: clock %u ms rss %ld kB pool %llu bytes %u handles %u used %llu "
                 "active\n",
                 now, HostResidentKb(), static_cast<unsigned long long>(use.live_bytes),
                 use.live_handles, use.data_used,
                 static_cast<unsigned long long>(use.active_bytes));
    std::fflush(stderr);
}

long HostResidentKb() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, "VmRSS:", 6) == 0) {
            std::sscanf(line + 6, "%ld", &kb);
            break;
        }
    std::fclose(f);
    return kb;
}
