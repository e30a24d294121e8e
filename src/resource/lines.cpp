#include "resource/lines.h"

#include <cstdio>
#include <cstring>

#include "host/file.h"
#include "host/sjis_literal.h"
#include "kernel/log.h"

void line_copy(const char* src, char* dst) {
    if (!src || !src[0]) {
        LogLine("line_copy()で改行がみつかりませんでした"_sj);
        if (dst) dst[0] = '\0';
        return;
    }
    size_t i = 0;
    for (; src[i] && src[i] != '\n'; ++i) dst[i] = src[i];
    dst[i] = '\0';
}

char* read_line_file(const char* file, char* out, int n) {
    if (n <= 0 || !file || !out) return nullptr;
    FILE* f = HostFileOpen(file, "rt");
    if (!f) return nullptr;
    char line[kLineFileMaxLine + 1];
    int read = 0;
    // The last line is handed out even without a final newline: fgets returns it whole.
    while (read < n && std::fgets(line, sizeof line, f)) ++read;
    std::fclose(f);
    if (read < n) {
        LogLinef("read_line_file() error! %s (line %d req %d)", file, read, n);
        return nullptr;
    }
    line_copy(line, out);
    return out;
}
