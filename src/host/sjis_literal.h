// Shift-JIS string literals written in UTF-8 source: "メモリ"_sj is a const char* to the CP932
// bytes, converted at compile time with the table generated from iconv. A character without a
// CP932 form stops the compilation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "cp932_table.h"

namespace sjis_literal {

template <std::size_t N>
struct Utf8Text {
    char bytes[N];
    constexpr Utf8Text(const char (&s)[N]) {
        for (std::size_t i = 0; i < N; ++i) bytes[i] = s[i];
    }
};

struct Decoded {
    uint32_t code;
    std::size_t length;
};

constexpr Decoded DecodeUtf8(const char* s, std::size_t i) {
    auto b = [&](std::size_t k) { return uint32_t(uint8_t(s[i + k])); };
    uint32_t c = b(0);
    if (c < 0x80) return {c, 1};
    if ((c & 0xE0) == 0xC0) return {(c & 0x1F) << 6 | (b(1) & 0x3F), 2};
    if ((c & 0xF0) == 0xE0) return {(c & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F), 3};
    return {(c & 0x07) << 18 | (b(1) & 0x3F) << 12 | (b(2) & 0x3F) << 6 | (b(3) & 0x3F), 4};
}

constexpr uint16_t ToSjis(uint32_t code) {
    if (code < 0x80) return uint16_t(code);
    std::size_t lo = 0, hi = std::size(cp932_table::kEntries);
    while (lo < hi) {
        std::size_t mid = (lo + hi) / 2;
        if (cp932_table::kEntries[mid].code < code)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == std::size(cp932_table::kEntries) || cp932_table::kEntries[lo].code != code)
        throw "character without a CP932 form in a Shift-JIS literal";
    return cp932_table::kEntries[lo].sjis;
}

template <std::size_t N>
constexpr std::size_t SjisLength(const Utf8Text<N>& t) {
    std::size_t n = 0;
    for (std::size_t i = 0; i + 1 < N;) {
        Decoded d = DecodeUtf8(t.bytes, i);
        n += ToSjis(d.code) > 0xFF ? 2 : 1;
        i += d.length;
    }
    return n;
}

template <Utf8Text T>
struct Converted {
    static constexpr auto bytes = [] {
        std::array<char, SjisLength(T) + 1> out{};
        std::size_t o = 0;
        for (std::size_t i = 0; i + 1 < sizeof(T.bytes);) {
            Decoded d = DecodeUtf8(T.bytes, i);
            uint16_t s = ToSjis(d.code);
            if (s > 0xFF) out[o++] = char(s >> 8);
            out[o++] = char(s & 0xFF);
            i += d.length;
        }
        return out;
    }();
};

}  // namespace sjis_literal

template <sjis_literal::Utf8Text T>
constexpr const char* operator""_sj() {
    return sjis_literal::Converted<T>::bytes.data();
}
