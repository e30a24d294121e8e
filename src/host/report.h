// The use report of headless runs (`--report SECONDS`): every SECONDS of the virtual clock one
// line on standard error with the clock, the resident memory and the pool's use, for runs that
// watch a long play for growth and stalls. It never goes into the system's log.
#pragma once

#include <cstdint>

// What the pool holds: bytes in live blocks, live handles, the end of the used data area, and
// the bytes of the blocks still in use (records not deactivated or removed: the pool never
// frees a block, so the live bytes grow with every record removed).
struct PoolUse {
    uint64_t live_bytes = 0;
    uint32_t live_handles = 0;
    uint32_t data_used = 0;
    uint64_t active_bytes = 0;
};
using PoolUseReader = PoolUse (*)();

// Starts the report: one line every `period_ms` of the clock (0: none). `reader` gives the
// pool's use (nullptr: reported as 0).
void HostStartUseReport(uint32_t period_ms, PoolUseReader reader);
// Writes the line when the clock has passed the next report time; the cycle end calls it.
void HostUseReportTick();
// The process's resident set in kB, from /proc (0 when it cannot be read).
long HostResidentKb();
