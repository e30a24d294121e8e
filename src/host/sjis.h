// Conversion between Shift-JIS (CP932) and UTF-8 at run time, through a table built once from
// iconv. Invalid bytes become U+FFFD on the way to UTF-8 and "?" on the way back.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

inline bool IsSjisLead(uint8_t byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}
inline bool IsSjisTrail(uint8_t byte) {
    return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
}

// Unicode code point of one CP932 character (single byte or lead << 8 | trail); 0xFFFD if none.
uint32_t SjisToUnicode(uint16_t code);
std::string SjisToUtf8(std::string_view sjis);
std::string Utf8ToSjis(std::string_view utf8);
