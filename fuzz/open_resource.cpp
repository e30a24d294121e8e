// Fuzz target: arbitrary bytes as a resource file. Loading must stay inside the file and the
// pool whatever the counts, sizes and names say; whatever loads must save, and saving what
// that save loads must give the same bytes again. The last input byte also picks the trace
// flags (bit 0: TEST_RUN and RESOUCE_TEST, bit 1: MOTOROLA).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "fuzz_args.h"
#include "resource/resource.h"
#include "resource/resource_file.h"

namespace {

void write_file(const char* name, const void* data, size_t size) {
    FILE* f = std::fopen(name, "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

std::string read_file(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A working folder on tmpfs where it exists (saves sync every file), a log that goes nowhere
// but is still formatted, and a message file.
struct Setup {
    Setup() {
        char pattern[] = "/dev/shm/noma-fuzz-XXXXXX";
        char fallback[] = "/tmp/noma-fuzz-XXXXXX";
        const char* folder = mkdtemp(pattern);
        if (!folder) folder = mkdtemp(fallback);
        if (!folder || chdir(folder) != 0) std::abort();
        static std::string made = folder;
        std::atexit([] {
            CloseErrorLog();
            ResetResources();
            DestroyPool();
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        const char ini[] = "Sys.error.elogfile /dev/null\n";
        write_file("NOMA.ini", ini, sizeof ini - 1);
        std::string messages;
        for (int i = 1; i <= 100; ++i)
            messages += "message " + std::to_string(i) + "\n";
        write_file("SYSTEM.msg", messages.data(), messages.size());
        StoreSystemFlags(FLAG_TRACE);
        g_system.phase = PHASE_INIT;
        OpenErrorLog();
    }
};

void fresh_system() {
    ResetResources();
    if (!CreatePoolSized(32u << 20, 16384) || !CreateSystemResources()) std::abort();
}

void check_loaded(Handle resource) {
    const ResourceAttr* attr = resource_attr(resource);
    if (!attr || CheckRecordChain(resource) != 0) std::abort();
    if (attr->record_count != attr->active_count) std::abort();
    // Every record body holds the whole item area.
    for (Handle r = FirstRecord(resource); r; r = NextRecord(r))
        if (attr->record_size && handle_entry(r)->size < attr->record_size) std::abort();
}

}  // namespace

// Corpus and other path arguments stay valid after the target changes its working folder.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Setup setup;
    fresh_system();
    uint32_t flags = FLAG_TRACE;
    if (size && (data[size - 1] & 1)) flags |= FLAG_TEST_RUN | FLAG_RESOUCE_TEST;
    if (size && (data[size - 1] & 2)) flags |= FLAG_MOTOROLA;
    StoreSystemFlags(flags);

    write_file("in.res", data, size);
    Handle resource = OpenResource(0, "in.res", "FUZZ");
    if (!resource) return 0;
    check_loaded(resource);

    // Save under a fixed name only: the stored name could point anywhere.
    ResourceAttr* attr = resource_attr(resource);
    std::memset(attr->name, 0, sizeof attr->name);
    std::strcpy(attr->name, "out.res");
    ForgetRecordIndex(resource);
    if (SaveResource(0, resource) != 0) std::abort();
    std::string first = read_file("out.res");

    Handle again = OpenResource(0, "out.res", "FUZZ");
    if (!again) std::abort();
    check_loaded(again);
    if (RecordCount(again) != RecordCount(resource)) std::abort();
    if (SaveResource(0, again) != 0) std::abort();
    if (read_file("out.res") != first) std::abort();
    return 0;
}
