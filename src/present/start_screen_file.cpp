#include "present/start_screen_file.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "text/str.h"

namespace {

void copy_cut(char* to, size_t size, const char* from) {
    size_t n = strnlen(from, size - 1);
    std::memcpy(to, from, n);
    to[n] = 0;
}

void read_key(const char* key, const char* file, char* out, size_t size) {
    char value[kIniValueSize];
    out[0] = 0;
    if (GetIniString(key, value, file)) copy_cut(out, size, value);
}

}  // namespace

StartScreenButton ParseStartScreenButton(const char* value) {
    StartScreenButton b{};
    copy_cut(b.value, sizeof b.value, value);
    // A word is never longer than the value, which GetIniString keeps below kIniValueSize.
    char word[kIniValueSize];
    const char* p = b.value;
    int16_t* numbers[] = {nullptr, &b.x, &b.y};
    for (int i = 0; i < 3; ++i) {
        p = NextWord(p, word);
        long v = std::strtol(word, nullptr, 10);
        if (i == 0)
            b.number = uint16_t(v);
        else
            *numbers[i] = int16_t(v);
    }
    NextWord(p, b.text);
    return b;
}

StartScreenFile ReadStartScreenFile(const char* file) {
    StartScreenFile f{};
    read_key("LOGO_TITLE", file, f.logo, sizeof f.logo);
    read_key("BackGraphic", file, f.background, sizeof f.background);
    read_key("START_PROGRAM", file, f.program, sizeof f.program);
    for (int n = 1; n <= kStartScreenButtons; ++n) {
        char key[16], value[kIniValueSize];
        std::snprintf(key, sizeof key, "Button%d", n);
        if (!GetIniString(key, value, file)) break;
        f.buttons[f.button_count++] = ParseStartScreenButton(value);
    }
    return f;
}
