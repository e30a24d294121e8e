#include "text/str.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/log.h"
#include "host/sjis.h"

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// The Shift-JIS codes of the full-width forms of the printable ASCII characters 0x20-0x7E,
// in ASCII order.
constexpr uint16_t kFullWidthForms[95] = {
    0x8140, 0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166,  //  !"#$%&'
    0x8169, 0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E,  // ()*+,-./
    0x824F, 0x8250, 0x8251, 0x8252, 0x8253, 0x8254, 0x8255, 0x8256,  // 01234567
    0x8257, 0x8258, 0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148,  // 89:;<=>?
    0x8197, 0x8260, 0x8261, 0x8262, 0x8263, 0x8264, 0x8265, 0x8266,  // @ABCDEFG
    0x8267, 0x8268, 0x8269, 0x826A, 0x826B, 0x826C, 0x826D, 0x826E,  // HIJKLMNO
    0x826F, 0x8270, 0x8271, 0x8272, 0x8273, 0x8274, 0x8275, 0x8276,  // PQRSTUVW
    0x8277, 0x8278, 0x8279, 0x816D, 0x818F, 0x816E, 0x814F, 0x8151,  // XYZ[\]^_
    0x8165, 0x8281, 0x8282, 0x8283, 0x8284, 0x8285, 0x8286, 0x8287,  // `abcdefg
    0x8288, 0x8289, 0x828A, 0x828B, 0x828C, 0x828D, 0x828E, 0x828F,  // hijklmno
    0x8290, 0x8291, 0x8292, 0x8293, 0x8294, 0x8295, 0x8296, 0x8297,  // pqrstuvw
    0x8298, 0x8299, 0x829A, 0x816F, 0x8162, 0x8170, 0x8150,          // xyz{|}~
};

// The start of the word after the n-th run of blanks, or nullptr when the text ends first.
const char* nth_param(const char* p, int n) {
    if (n < 1) return nullptr;
    int runs = 0;
    while (*p) {
        if (!is_blank(*p)) {
            ++p;
            continue;
        }
        while (is_blank(*p))
            ++p;
        if (++runs == n) break;
    }
    return runs == n && *p ? p : nullptr;
}

}  // namespace

const char* SkipSeparators(const char* p) {
    const char* s = p;
    while (IsSeparator(*s))
        ++s;
    return *s ? s : p;
}

char* SkipSeparators(char* p) {
    return const_cast<char*>(SkipSeparators(static_cast<const char*>(p)));
}

const char* NextWord(const char* p, char* out) {
    if (IsSeparator(*p)) p = SkipSeparators(p);
    while (*p && !IsSeparator(*p))
        *out++ = *p++;
    *out = '\0';
    return p;
}

char* NextWord(char* p, char* out) {
    return const_cast<char*>(NextWord(static_cast<const char*>(p), out));
}

int NthParam(const char* p, int n, char* out) {
    const char* s = nth_param(p, n);
    char* o = out;
    if (s)
        while (*s && !is_blank(*s) && *s != '\n' && *s != '\r')
            *o++ = *s++;
    *o = '\0';
    return s ? 1 : 0;
}

int NthParamNum(const char* p, int n) {
    const char* s = nth_param(p, n);
    if (!s) return 0;
    long value = std::strtol(s, nullptr, 10);
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return int(value);
}

int RemoveBlanks(char* p) {
    char* out = p;
    for (; *p; ++p)
        if (!is_blank(*p)) *out++ = *p;
    *out = '\0';
    return 0;
}

int FindText(const char* text, const char* word) {
    if (!text || !word || !word[0]) return 0;
    size_t matched = 0;
    for (size_t i = 0; text[i]; ++i) {
        if (text[i] == word[matched]) {
            if (!word[++matched]) return int(i + 2 - matched);
        } else {
            matched = 0;
        }
    }
    return 0;
}

char* InsertText(const char* src, char* dst, int n) {
    size_t count = std::strlen(src);
    if (n > 0 && size_t(n) < count) count = size_t(n);
    std::memmove(dst + count, dst, std::strlen(dst) + 1);
    std::memmove(dst, src, count);
    return dst;
}

char* ReplaceSection(char* whole, char* from, char* to, const char* replacement) {
    if (to < from) to = from;
    size_t old_length = size_t(to - from);
    size_t new_length = std::strlen(replacement);
    std::memmove(from + new_length, to, std::strlen(to) + 1);
    std::memmove(from, replacement, new_length);
    if (new_length > old_length) LogLinef("out swap:-%s-", whole);
    return from + new_length;
}

int CharCount(const char* p) {
    int count = 0;
    for (const auto* s = reinterpret_cast<const uint8_t*>(p); *s; ++count)
        s += IsSjisLead(*s) && s[1] ? 2 : 1;
    return count;
}

int ToHalfWidth(char* p) {
    uint16_t code = uint16_t(uint8_t(p[0]) << 8 | uint8_t(p[1]));
    for (int i = 0; i < 95; ++i) {
        if (kFullWidthForms[i] != code) continue;
        p[0] = char(0x20 + i);
        p[1] = '\0';
        return 1;
    }
    return 0;
}
