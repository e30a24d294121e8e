// Fuzz target: arbitrary Compute text against a record with long, string and limited items
// and name paths into another resource. The first byte picks the entry: in-place compute or
// compare on a buffer of exactly the text's size, compute into a buffer cut short with no
// terminator, or compare on a copy. Nothing may be written outside the buffers, a string item
// stays terminated, and a limited item named plainly stays within its limits (name paths
// beginning with "." and element names with "[" store without limits, by their rules).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "fuzz_args.h"
#include "host/sjis_literal.h"
#include "resource/compute.h"
#include "resource/resource.h"

namespace {

struct World {
    Handle player = 0;
    std::vector<Handle> records;
    std::vector<std::vector<uint8_t>> bodies;

    World() {
        char pattern[] = "/tmp/noma-fuzz-XXXXXX";
        if (!mkdtemp(pattern) || chdir(pattern) != 0) std::abort();
        static std::string made = pattern;
        std::atexit([] {
            CloseErrorLog();
            ResetResources();
            DestroyPool();
            std::error_code ignored;
            std::filesystem::remove_all(made, ignored);
        });
        if (FILE* f = std::fopen("NOMA.ini", "wb")) {
            std::fputs("Sys.error.elogfile /dev/null\n", f);
            std::fclose(f);
        }
        if (!std::freopen("/dev/null", "w", stdout)) std::abort();  // "Compute error!" lines
        StoreSystemFlags(FLAG_TRACE);
        g_system.phase = PHASE_INIT;
        OpenErrorLog();
        if (!CreatePoolSized(16u << 20, 4096) || !CreateSystemResources()) std::abort();

        Handle p = CreateResource(0, "P", "Player");
        for (const char* name : {"a", "b", "n", "x", "ポ"_sj})
            CreateItem(p, name, ITEMlong, 0);
        CreateItem(p, "s", ITEMstring, 8);
        CreateItem(p, "lim", ITEMlong, 0);
        SetLimit(p, "lim", 10, -10);
        player = CreateRecord(p, 1, 0);
        SetNum(player, "a", 3);
        SetNum(player, "b", -7);
        SetStr(player, "s", "abc");
        Handle other = CreateRecord(p, 2, 0);
        SetNum(other, "n", 2);

        Handle c = CreateResource(0, "CHARS", "Chars");
        CreateItem(c, "number", ITEMlong, 0);
        CreateItem(c, "名前"_sj, ITEMstring, 12);
        CreateItem(c, "hp", ITEMlong, 0);
        for (int i = 3; i <= 4; ++i) {
            Handle r = CreateRecord(c, -1, 0);
            SetNum(r, "number", i);
            SetStr(r, "名前"_sj, i == 3 ? "太郎"_sj : "花子"_sj);
            SetNum(r, "hp", 10 * i);
        }
        for (Handle r : {player, other, FirstRecord(c), NextRecord(FirstRecord(c))}) {
            records.push_back(r);
            const uint8_t* body = record_body(r);
            bodies.emplace_back(body, body + handle_entry(r)->size + 1);
        }
    }

    // Every record as it was made, so each input starts from the same state.
    void reset() {
        for (size_t i = 0; i < records.size(); ++i)
            std::memcpy(record_body(records[i]), bodies[i].data(), bodies[i].size());
    }
};

}  // namespace

// Corpus and other path arguments stay valid after the target changes its working folder.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World world;
    if (size == 0) return 0;
    world.reset();
    const char* text = reinterpret_cast<const char*>(data + 1);
    size_t length = size - 1;
    std::vector<char> exact(text, text + length);
    exact.push_back('\0');
    switch (data[0] % 4) {
        case 0:
            ComputeRecord(world.player, exact.data());
            break;
        case 1:
            if (CompareRecord(world.player, exact.data()) > 1) std::abort();
            break;
        case 2: {
            size_t room = length / 2 + 1 > length ? length : length / 2 + 1;
            std::vector<char> cut(text, text + room);
            if (cut.empty()) break;
            ComputeRecord(world.player, cut.data(), cut.size());
            if (!std::memchr(cut.data(), '\0', cut.size())) std::abort();
            break;
        }
        default:
            if (CompareRecordCopy(world.player, exact.data()) > 1) std::abort();
            break;
    }
    if (!std::memchr(exact.data(), '\0', exact.size())) std::abort();
    int32_t lim = GetNum(world.player, "lim");
    bool plain_names = !std::memchr(text, '.', length) && !std::memchr(text, '[', length);
    if (plain_names && (lim < -10 || lim > 10)) std::abort();
    if (!std::memchr(GetStr(world.player, "s"), '\0', 8)) std::abort();
    return 0;
}
