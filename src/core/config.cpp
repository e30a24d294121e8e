#include "core/config.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/log.h"
#include "core/system.h"
#include "host/file.h"
#include "host/sjis_literal.h"

namespace {

constexpr int kMaxLineLength = 255;

// The key matcher: a partial match that fails restarts after the failing character, which is
// not itself tried as the start of a new match.
bool line_holds_key(const char* line, const char* key) {
    size_t matched = 0;
    if (!key[0]) return true;
    for (const char* p = line; *p; ++p) {
        if (*p == key[matched]) {
            if (!key[++matched]) return true;
        } else {
            matched = 0;
        }
    }
    return false;
}

// Reads the next line (at most 255 characters kept); false at the end of the file, including
// a last line that has no line feed.
bool read_key_line(FILE* file, char* line) {
    int length = 0;
    for (;;) {
        int c = std::fgetc(file);
        if (c == EOF) return false;
        if (c == '\n') break;
        if (length < kMaxLineLength) line[length++] = char(c);
    }
    line[length] = '\0';
    return true;
}

// Key files are opened for reading and update; a file the user may only read (an installed
// game folder) is still read rather than reported missing. Every reader of key files opens
// them here, so they all see the same files.
FILE* open_key_file(const char* file) {
    FILE* f = HostFileOpen(file, "r+t");
    if (!f && (errno == EACCES || errno == EROFS || errno == EPERM)) f = HostFileOpen(file, "rt");
    return f;
}

}  // namespace

char* GetIniString(const char* key, char* value, const char* file) {
    if (!key || !value || !file) return nullptr;
    FILE* f = open_key_file(file);
    if (!f) {
        LogLinef("Inifile open error ! %s", file);
        return nullptr;
    }
    char line[kMaxLineLength + 1];
    size_t key_length = std::strlen(key);
    while (read_key_line(f, line)) {
        if (line[0] == '/' || !line_holds_key(line, key)) continue;
        char* out = value;
        if (key_length < std::strlen(line))
            for (const char* p = line + key_length; *p; ++p)
                if (*p != ' ' && *p != '\t') *out++ = *p;
        *out = '\0';
        HostFileClose(f);
        return value;
    }
    HostFileClose(f);
    LogLinef("指定文字列 %sが ｼｽﾃﾑ･ﾘｿｰｽﾌｧｲﾙ(%s)に存在しません"_sj, key, file);
    return nullptr;
}

int GetIniNumber(const char* key, const char* file) {
    char value[kIniValueSize];
    if (!GetIniString(key, value, file)) return -1;
    const char* p = value;
    while (*p && (*p < '0' || *p > '9'))
        ++p;
    if (!*p) return -1;
    int64_t number = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        number = number * 10 + (*p - '0');
        if (number > INT32_MAX) number = INT32_MAX;  // saturate rather than overflow
    }
    return int(number);
}

int GetIniBool(const char* key, const char* file) {
    char value[kIniValueSize];
    if (!GetIniString(key, value, file)) return -1;
    for (char* p = value; *p; ++p)
        if (*p >= 'A' && *p <= 'Z') *p = char(*p + 32);
    if (std::strstr(value, "on")) return 1;
    if (std::strstr(value, "off")) return 0;
    if (std::strstr(value, "yes")) return 1;
    if (std::strstr(value, "no")) return 0;
    return -1;
}

char* SysString(const char* key, char* value) {
    return GetIniString(key, value, kSystemIniFile);
}

int16_t SysNumber(const char* key) {
    return int16_t(GetIniNumber(key, kSystemIniFile));
}

int ReadSystemFlags() {
    struct FlagKey {
        const char* key;
        uint32_t bit;
    };
    // The first of these a line contains decides which bit the line sets or clears.
    static constexpr FlagKey kFlagKeys[] = {
        {"EVENT_TEST", FLAG_EVENT_TEST},
        {"RESOUCE_TEST", FLAG_RESOUCE_TEST},
        {"PASSWORD", FLAG_PASSWORD},
        {"LOOP_EXIT", FLAG_LOOP_EXIT},
        {"TEST_RUN", FLAG_TEST_RUN},
        {"TITLE", FLAG_TITLE},
        {"TRACE", FLAG_TRACE},
        {"DEBAG", FLAG_DEBAG},
        {"TASK", FLAG_TASK},
    };
    FILE* f = open_key_file(kSystemIniFile);
    if (!f) {
        LogLinef("File OpenError ! %s", kSystemIniFile);
        return 6;
    }
    char line[kMaxLineLength + 1];
    while (read_key_line(f, line)) {
        if (line[0] == '/') continue;
        for (const FlagKey& flag : kFlagKeys) {
            if (!std::strstr(line, flag.key)) continue;
            if (std::strstr(line, "ON"))
                SetSystemFlag(flag.bit);
            else if (std::strstr(line, "OFF"))
                ClearSystemFlag(flag.bit);
            else
                LogSystemMessage(100, nullptr);
            break;
        }
    }
    HostFileClose(f);
    return 0;
}
