#include "host/clock.h"

#include "host/cycle.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

namespace {

using SteadyClock = std::chrono::steady_clock;

std::atomic<bool> virtual_clock{false};
std::atomic<uint64_t> virtual_ms{0};
const SteadyClock::time_point real_start = SteadyClock::now();

// The virtual clock's calendar starts at 2000-01-01 12:00:00.000 local time.
constexpr std::time_t kVirtualEpoch = 946728000;  // 2000-01-01 12:00:00 UTC

}  // namespace

void HostUseVirtualClock(bool on) {
    virtual_clock = on;
    virtual_ms = 0;
    HostRestartCyclePace();
}

bool HostClockIsVirtual() {
    return virtual_clock;
}

uint32_t HostTickCount() {
    if (virtual_clock) return uint32_t(virtual_ms.load());
    auto elapsed = SteadyClock::now() - real_start;
    return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

HostTime HostClockNow() {
    std::time_t seconds;
    int millisecond;
    std::tm tm{};
    if (virtual_clock) {
        uint64_t ms = virtual_ms.load();
        seconds = kVirtualEpoch + std::time_t(ms / 1000);
        millisecond = int(ms % 1000);
        gmtime_r(&seconds, &tm);
    } else {
        auto now = std::chrono::system_clock::now();
        auto since = now.time_since_epoch();
        seconds = std::time_t(std::chrono::duration_cast<std::chrono::seconds>(since).count());
        millisecond =
            int(std::chrono::duration_cast<std::chrono::milliseconds>(since).count() % 1000);
        localtime_r(&seconds, &tm);
    }
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
            tm.tm_min,         tm.tm_sec,     millisecond};
}

void HostClockSleep(uint32_t ms) {
    if (virtual_clock)
        virtual_ms += ms;
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void HostAdvanceClock(uint32_t ms) {
    if (virtual_clock) virtual_ms += ms;
}
