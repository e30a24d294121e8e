// The install record NOMArev.dat: version, install date and the start count, kept across runs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/system.h"

struct InstallRecord {
    char version[7];
    char revision[9];
    ClockRecord install_date;
    ClockRecord stamp2;
    ClockRecord stamp3;
    uint32_t counters[3];
    uint32_t start_count;
};
static_assert(sizeof(InstallRecord) == 56);
static_assert(offsetof(InstallRecord, revision) == 7);
static_assert(offsetof(InstallRecord, install_date) == 16);
static_assert(offsetof(InstallRecord, counters) == 40);
static_assert(offsetof(InstallRecord, start_count) == 52);

constexpr const char* kInstallRecordFile = "NOMArev.dat";

// Start-up: reads (or creates) the record, counts the start, brings version and revision up to
// date, loads the counters into the system data block and writes the record back. 0, or -1
// when the record cannot be written.
int UpdateInstallRecord();
// Shutdown: writes the system data block's three counters into the record. 0, or -1 after
// logging "save loging error!".
int SaveInstallRecord();
