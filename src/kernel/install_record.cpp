#include "kernel/install_record.h"

#include <cstdio>
#include <cstring>

#include "core/log.h"
#include "host/file.h"

namespace {

constexpr const char* kVersion = "0.4";
constexpr const char* kRevision = "17";

// Reads the record; false when the file is missing. A short file leaves the rest zero.
bool read_record(InstallRecord& record) {
    record = {};
    FILE* f = HostFileOpen(kInstallRecordFile, "rb");
    if (!f) return false;
    size_t n = std::fread(&record, 1, sizeof record, f);
    (void)n;
    HostFileClose(f);
    // Texts from the file may lack their terminator.
    record.version[sizeof record.version - 1] = '\0';
    record.revision[sizeof record.revision - 1] = '\0';
    return true;
}

bool write_record(const InstallRecord& record) {
    FILE* f = HostFileOpen(kInstallRecordFile, "wb");
    if (!f) return false;
    bool ok = std::fwrite(&record, sizeof record, 1, f) == 1;
    ok = HostFileClose(f) == 0 && ok;
    return ok;
}

void store(char* field, size_t size, const char* text) {
    std::memset(field, 0, size);
    std::memcpy(field, text, strnlen(text, size - 1));
}

}  // namespace

int UpdateInstallRecord() {
    InstallRecord record;
    if (!read_record(record)) {
        record = {};
        record.install_date = ClockNow();
        LogLine("\tinstall NOMA.");
    }
    ++record.start_count;
    if (std::strcmp(record.version, kVersion)) {
        LogLinef("\tversion up %s(old version %s)", kVersion, record.version);
        store(record.version, sizeof record.version, kVersion);
        record.start_count = 0;
    }
    if (std::strcmp(record.revision, kRevision)) {
        LogLinef("\trevision up %s(old revision %s)", kRevision, record.revision);
        store(record.revision, sizeof record.revision, kRevision);
    }
    std::memcpy(g_system.counters, record.counters, sizeof g_system.counters);
    g_system.start_count = record.start_count;
    if (!write_record(record)) return -1;
    const ClockRecord& d = record.install_date;
    LogLinef("\tinstall date %d/%d/%d %d:%d start count %d", ClockYear(d), ClockMonth(d),
             ClockDay(d), ClockHour(d), ClockMinute(d), int(record.start_count));
    return 0;
}

int SaveInstallRecord() {
    InstallRecord record;
    if (!read_record(record)) {
        // Removed while running: write it again as this start left it.
        store(record.version, sizeof record.version, kVersion);
        store(record.revision, sizeof record.revision, kRevision);
        record.install_date = ClockNow();
        record.start_count = g_system.start_count;
    }
    std::memcpy(record.counters, g_system.counters, sizeof record.counters);
    if (!write_record(record)) {
        LogLine("save loging error!");
        return -1;
    }
    return 0;
}
