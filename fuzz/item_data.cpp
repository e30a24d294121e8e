// Arbitrary bytes as an item data definition file: CreateItemData builds the resource, then
// LoadItemData reads the same file's blocks into it once more. Nothing may crash or read out
// of bounds, whatever the keywords, numbers, quotes and line lengths.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/config.h"
#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "fuzz_folder.h"
#include "resource/resource.h"
#include "text/item_data.h"

namespace {

bool set_up() {
    EnterFuzzFolder("item-data", "Sys.error.elogfile /dev/null\n");
    // Every log line is formatted, so the formats meet the fuzzed names and values.
    StoreSystemFlags(FLAG_TRACE | FLAG_RESOUCE_TEST);
    return true;
}

// A resource name may name any file; only names inside the working folder are followed, so a
// run never reads a device or another program's files.
bool names_inside_folder() {
    char name[kIniValueSize];
    if (!GetIniString("ResourceName", name, "def.txt")) return true;
    return name[0] != '/' && name[0] != '\\' && !std::strstr(name, "..");
}

}  // namespace

// Paths made absolute first, then the set-up (its folder, log and pool are made before the
// first input, so the leak check of each input does not count them).
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);
    set_up();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteFuzzFile("def.txt", data, size);
    if (!names_inside_folder()) return 0;
    ResetResources();
    DestroyPool();
    if (!CreatePoolSized(32u << 20, 4096) || !CreateSystemResources()) std::abort();
    Handle resource = CreateItemData(0, "def.txt");
    if (resource) LoadItemData(0, resource, "def.txt");
    return 0;
}
