#include "core/lines.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>

#include "core/log.h"
#include "host/file.h"
#include "host/sjis_literal.h"

void line_copy(const char* src, char* dst) {
    if (!src || !src[0]) {
        LogLine("line_copy()で改行がみつかりませんでした"_sj);
        if (dst) dst[0] = '\0';
        return;
    }
    size_t i = 0;
    for (; src[i] && src[i] != '\n'; ++i)
        dst[i] = src[i];
    dst[i] = '\0';
}

char* read_line_file(const char* file, char* out, int n) {
    if (n <= 0 || !file || !out) return nullptr;
    FILE* f = HostFileOpen(file, "rt");
    if (!f) return nullptr;
    char line[kLineFileMaxLine + 1];
    int read = 0;
    // The last line is handed out even without a final newline: fgets returns it whole.
    while (read < n && std::fgets(line, sizeof line, f))
        ++read;
    HostFileClose(f);
    if (read < n) {
        LogLinef("read_line_file() error! %s (line %d req %d)", file, read, n);
        return nullptr;
    }
    line_copy(line, out);
    return out;
}

long FileSize(const char* file) {
    FILE* f = HostFileOpen(file, "rb");
    if (!f) return 0;
    long size = 0;
    if (std::fseek(f, 0, SEEK_END) == 0) size = std::ftell(f);
    HostFileClose(f);
    return size < 0 ? 0 : size;
}

int ReadWholeFile(const char* file, char* buffer, long buffer_size) {
    if (!buffer || buffer_size < 1) return 0;
    FILE* f = HostFileOpen(file, "rb");
    if (!f) return 0;
    size_t read = std::fread(buffer, 1, size_t(buffer_size - 1), f);
    buffer[read] = char(0xFF);
    HostFileClose(f);
    return 1;
}

int ReadWholeFile(const char* file, char* buffer) {
    FILE* f = HostFileOpen(file, "rb");
    if (!f || !buffer) {
        if (f) HostFileClose(f);
        return 0;
    }
    struct stat st;
    size_t size = fstat(fileno(f), &st) == 0 ? size_t(st.st_size) : 0;
    size_t read = std::fread(buffer, 1, size, f);
    buffer[read] = char(0xFF);
    HostFileClose(f);
    return 1;
}

int FindListEntry(const char* key, const char* list, char* out) {
    if (!key || !list || !out) return 0;
    size_t key_length = std::strlen(key);
    for (const char* entry = list;;) {
        const char* comma = std::strchr(entry, ',');
        if (!comma) return 0;
        size_t length = size_t(comma - entry);
        if (length && length <= key_length && std::memcmp(key, entry, length) == 0) {
            std::memcpy(out, entry, length);
            out[length] = '\0';
            return 1;
        }
        entry = comma + 1;
    }
}
