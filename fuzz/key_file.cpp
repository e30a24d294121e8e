// The key file reader over arbitrary file bytes and keys: GetIniString and its typed getters on
// a key file, and the flag reader on NOMA.ini. Input: one byte giving the key length (mod 32),
// the key, then the file's bytes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/config.h"
#include "core/system.h"
#include "fuzz_args.h"

namespace {

bool enter_work_folder() {
    char pattern[] = "/tmp/noma-fuzz-keys-XXXXXX";
    return mkdtemp(pattern) && chdir(pattern) == 0;
}

void write_file(const char* name, const uint8_t* data, size_t size) {
    FILE* f = std::fopen(name, "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

}  // namespace

// Corpus and other path arguments stay valid after the target changes its working folder.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = enter_work_folder();
    if (!ready || size == 0) return 0;
    size_t key_length = data[0] % 32;
    if (key_length + 1 > size) return 0;
    std::string key(reinterpret_cast<const char*>(data + 1), key_length);
    const uint8_t* file = data + 1 + key_length;
    size_t file_size = size - 1 - key_length;

    write_file("keys.ini", file, file_size);
    char value[kIniValueSize];
    std::memset(value, 0x5A, sizeof value);
    if (char* found = GetIniString(key.c_str(), value, "keys.ini")) {
        // The value is a terminated string inside the caller's room.
        if (!std::memchr(found, 0, kIniValueSize)) std::abort();
        if (std::strchr(found, ' ') || std::strchr(found, '\t')) std::abort();
    }
    GetIniNumber(key.c_str(), "keys.ini");
    int b = GetIniBool(key.c_str(), "keys.ini");
    if (b < -1 || b > 1) std::abort();

    write_file("NOMA.ini", file, file_size);
    StoreSystemFlags(FLAG_TRACE);
    ReadSystemFlags();
    SysNumber(key.c_str());
    return 0;
}
