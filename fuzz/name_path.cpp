// Fuzz target: arbitrary name paths and texts against the item functions. The input is a path,
// a NUL, then a text; the first byte of the path also picks a number to store. Every record
// that holds data is followed in the pool by a canary record that no path can reach (its
// resource has no items): whatever the path, the canaries keep their bytes and the chains stay
// whole. Arbitrary names also go to CreateResource, which must find them again.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>

#include "fuzz_args.h"
#endif
#endif

namespace {

constexpr uint8_t kCanaryByte = 0xC5;
constexpr uint32_t kCanarySize = 15;  // a block of 16: no alignment gap after it

struct World {
    Handle chars = 0;
    Handle canaries = 0;
    std::vector<Handle> records;
    std::vector<Handle> canary_records;
    int runs = 0;

    World() {
        char pattern[] = "/tmp/noma-fuzz-XXXXXX";
        if (!mkdtemp(pattern) || chdir(pattern) != 0) std::abort();
        if (FILE* f = std::fopen("NOMA.ini", "wb")) {
            std::fputs("Sys.error.elogfile /dev/null\nUSER_NAME fuzz\n", f);
            std::fclose(f);
        }
        StoreSystemFlags(FLAG_TRACE | FLAG_RESOUCE_TEST);
        g_system.phase = PHASE_INIT;
        // The log stays open for the whole run: LeakSanitizer, which cannot follow the text
        // stream's cookie, must not count it against the inputs.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
        __lsan_disable();
#endif
#endif
        OpenErrorLog();
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
        __lsan_enable();
#endif
#endif
        Build();
    }

    void Build() {
        ResetResources();
        if (!CreatePoolSized(8u << 20, 1024) || !CreateSystemResources()) std::abort();
        chars = CreateResource(0, "CHARS", "Chars");
        // 39 bytes of items: with the spare byte a block of 40, so nothing pads it.
        CreateItem(chars, "number", ITEMlong, 0);
        CreateItem(chars, "名前"_sj, ITEMstring, 12);
        CreateItem(chars, "hp", ITEMlong, 0);
        CreateItem(chars, "arr", ITEMlongArray, 2);
        CreateItem(chars, "code", 2, 0);
        CreateItem(chars, "raw", 8, 7);
        SetLimit(chars, "hp", 100, -100);
        canaries = CreateResource(0, "CANARY", "Canary");
        records.clear();
        canary_records.clear();
        const char* names[] = {"アリス"_sj, "bob", "", "x"};
        for (int i = 0; i < 4; ++i) {
            Handle r = CreateRecord(chars, -1, 0);
            Handle c = CreateRecord(canaries, -1, kCanarySize);
            std::memset(record_body(c), kCanaryByte, kCanarySize + 1);
            SetNum(r, "number", i);
            SetStr(r, "名前"_sj, names[i]);
            records.push_back(r);
            canary_records.push_back(c);
        }
    }

    void Check() {
        for (Handle c : canary_records) {
            const uint8_t* body = record_body(c);
            for (uint32_t k = 0; k <= kCanarySize; ++k)
                if (body[k] != kCanaryByte) std::abort();
        }
        if (CheckRecordChain(chars) != 0 || CheckRecordChain(canaries) != 0) std::abort();
    }
};

World* world_ptr = nullptr;

}  // namespace

// The world is built before the first input, so its lasting allocations (the open log stream)
// are not taken for leaks of an input.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);  // before the world changes the working folder
    world_ptr = new World();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    World& world = *world_ptr;
    if (++world.runs % 2048 == 0) world.Build();  // keep the pool from filling up
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t nul = input.find('\0');
    std::string path = input.substr(0, nul);
    std::string text = nul == std::string::npos ? std::string() : input.substr(nul + 1);
    text = text.substr(0, text.find('\0'));
    int32_t value = size ? int32_t(int8_t(data[0])) * 3 : 0;

    for (Handle r : world.records) {
        SetNum(r, path.c_str(), value);
        SetStr(r, path.c_str(), text.c_str());
        GetNum(r, path.c_str());
        GetStr(r, path.c_str());
        get_adr2(r, path.c_str(), int(value & 15));
        GetUpperLimit(r, path.c_str());
    }
    Handle r0 = world.records[0];
    CopyRecord(world.records[1], r0);
    ItemType(world.chars, path.c_str());
    FindItem(world.chars, path.c_str());
    dimension(path.c_str());
    SearchRecordStr(world.chars, path.c_str(), text.c_str());
    SearchRecordNum(world.chars, path.c_str(), value & 3, value);
    Handle made = CreateResource(0, path.c_str(), text.c_str());
    if (made && FindResource(resource_attr(made)->name, resource_attr(made)->data_name) == 0)
        std::abort();
    world.Check();
    return 0;
}
