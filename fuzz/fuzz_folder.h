// The common start of the fuzz targets: a fresh temporary working folder holding NOMA.ini, the
// error log open (to wherever NOMA.ini points it), and the folder, log and pool cleaned up when
// the fuzzer exits. Targets make their path arguments absolute first (fuzz_args.h).
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "fuzz_args.h"
#include "resource/resource.h"

inline void WriteFuzzFile(const char* name, const void* data, size_t size) {
    FILE* f = std::fopen(name, "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

// Makes /tmp/fuzz-<tag>-XXXXXX the working folder with `ini` as its NOMA.ini.
inline void EnterFuzzFolder(const char* tag, const std::string& ini) {
    std::string pattern = std::string("/tmp/fuzz-") + tag + "-XXXXXX";
    static std::string created;
    created = pattern;
    if (!mkdtemp(created.data()) || chdir(created.c_str()) != 0) std::abort();
    WriteFuzzFile("NOMA.ini", ini.data(), ini.size());
    g_system.phase = PHASE_INIT;
    OpenErrorLog();
    std::atexit([] {
        CloseErrorLog();
        ResetResources();
        DestroyPool();
        std::error_code ignored;
        std::filesystem::remove_all(created, ignored);
    });
}
