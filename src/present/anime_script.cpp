// Script lines into commands, and the file names of picture sequences. The sequence format
// comes from the script, so it is expanded here by hand instead of being handed to printf.
#include "present/anime_script.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "present/anime_data.h"
#include "text/str.h"

namespace {

struct CommandName {
    const char* word;
    AnimeCommandKind kind;
};
constexpr CommandName kCommands[] = {
    {"pic", ANIME_CMD_PIC},
    {"wait", ANIME_CMD_WAIT},
    {"jump", ANIME_CMD_JUMP},
    {"press_jump_line", ANIME_CMD_PRESS_JUMP},
    {"add_loop", ANIME_CMD_ADD_LOOP},
    {"sub_loop", ANIME_CMD_SUB_LOOP},
    {"endmotion", ANIME_CMD_ENDMOTION},
};

struct FlagName {
    const char* word;
    uint32_t flag;
};
constexpr FlagName kEndFlags[] = {
    {"loop", ANIME_LOOP}, {"stop", ANIME_STOP_FLAG}, {"cash", ANIME_KEEP}, {"exit", ANIME_EXIT}};

// Walks the words of a line, each cut to kAnimeWordSize - 1 bytes.
class Words {
public:
    explicit Words(const char* line) : p_(line) {}
    bool next(char* out) {
        // Not SkipSeparators: it stays put before trailing separators, and a line ending in
        // blanks would then give empty words for ever.
        while (*p_ && IsSeparator(*p_))
            ++p_;
        if (!*p_) {
            out[0] = 0;
            return false;
        }
        size_t n = 0;
        for (; *p_ && !IsSeparator(*p_); ++p_)
            if (n + 1 < kAnimeWordSize) out[n++] = *p_;
        out[n] = 0;
        return true;
    }
    int32_t number() {
        char word[kAnimeWordSize];
        if (!next(word)) return 0;
        long v = std::strtol(word, nullptr, 10);
        if (v > INT32_MAX) return INT32_MAX;
        if (v < INT32_MIN) return INT32_MIN;
        return int32_t(v);
    }

private:
    const char* p_;
};

}  // namespace

AnimeCommand ParseAnimeLine(const char* line) {
    AnimeCommand c;
    Words words(line);
    char word[kAnimeWordSize];
    if (!words.next(word)) return c;
    for (const CommandName& name : kCommands)
        if (std::strcmp(word, name.word) == 0) c.kind = name.kind;
    switch (c.kind) {
        case ANIME_CMD_PIC:
            words.next(c.text);
            break;
        case ANIME_CMD_WAIT:
        case ANIME_CMD_JUMP:
        case ANIME_CMD_PRESS_JUMP:
            c.a = words.number();
            break;
        case ANIME_CMD_ADD_LOOP:
        case ANIME_CMD_SUB_LOOP:
            c.a = words.number();
            c.b = words.number();
            words.next(c.text);
            break;
        case ANIME_CMD_ENDMOTION:
            while (words.next(word))
                for (const FlagName& f : kEndFlags)
                    if (std::strcmp(word, f.word) == 0) c.flags |= f.flag;
            break;
        case ANIME_CMD_NONE:
            break;
    }
    return c;
}

void FormatSequenceName(const char* format, int32_t counter, char* out, size_t size) {
    if (!size) return;
    size_t n = 0;
    auto put = [&](const char* s, size_t len) {
        for (size_t i = 0; i < len && n + 1 < size; ++i)
            out[n++] = s[i];
    };
    bool used = false;
    for (const char* p = format; *p;) {
        if (p[0] == '%' && p[1] == '%') {
            put("%", 1);
            p += 2;
            continue;
        }
        if (p[0] == '%' && !used) {
            const char* q = p + 1;
            bool zero = *q == '0';
            while (*q == '0')
                ++q;
            int width = 0;
            while (*q >= '0' && *q <= '9' && width < 64)
                width = width * 10 + (*q++ - '0');
            if (*q == 'd') {
                char number[96];
                int len = std::snprintf(number, sizeof number, zero ? "%0*d" : "%*d", width,
                                        int(counter));
                put(number, size_t(len));
                used = true;
                p = q + 1;
                continue;
            }
        }
        put(p, 1);
        ++p;
    }
    out[n] = 0;
}
