#include "host/sjis.h"

#include <iconv.h>

#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

struct Tables {
    std::vector<uint32_t> to_unicode;  // indexed by the single byte or lead << 8 | trail
    std::unordered_map<uint32_t, uint16_t> to_sjis;
};

uint32_t convert_one(iconv_t cd, const char* bytes, size_t length) {
    char in[2] = {bytes[0], length > 1 ? bytes[1] : '\0'};
    char out[8];
    char* inp = in;
    char* outp = out;
    size_t inleft = length, outleft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inp, &inleft, &outp, &outleft) == size_t(-1) || inleft != 0 ||
        sizeof out - outleft != 4)
        return kReplacement;
    return uint32_t(uint8_t(out[0])) | uint32_t(uint8_t(out[1])) << 8 |
           uint32_t(uint8_t(out[2])) << 16 | uint32_t(uint8_t(out[3])) << 24;
}

const Tables& tables() {
    static Tables t;
    static std::once_flag once;
    std::call_once(once, [] {
        t.to_unicode.assign(0x10000, kReplacement);
        iconv_t cd = iconv_open("UTF-32LE", "CP932");
        for (uint32_t b = 0; b < 0x100; ++b) {
            if (IsSjisLead(uint8_t(b))) continue;
            char c = char(b);
            t.to_unicode[b] = b < 0x80 ? b : convert_one(cd, &c, 1);
        }
        for (uint32_t lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsSjisLead(uint8_t(lead))) continue;
            for (uint32_t trail = 0x40; trail <= 0xFC; ++trail) {
                if (!IsSjisTrail(uint8_t(trail))) continue;
                char pair[2] = {char(lead), char(trail)};
                t.to_unicode[lead << 8 | trail] = convert_one(cd, pair, 2);
            }
        }
        iconv_close(cd);
        // The reverse map keeps the first code of characters that CP932 holds twice.
        for (uint32_t code = 0; code < 0x10000; ++code) {
            uint32_t u = t.to_unicode[code];
            if (u != kReplacement && (code < 0x100 || (code >> 8) >= 0x81))
                t.to_sjis.emplace(u, uint16_t(code));
        }
        // iconv maps 0x5C and 0x7E to themselves in CP932; keep ASCII as ASCII.
        for (uint32_t b = 0; b < 0x80; ++b) t.to_sjis[b] = uint16_t(b);
    });
    return t;
}

void append_utf8(std::string& out, uint32_t u) {
    if (u < 0x80) {
        out += char(u);
    } else if (u < 0x800) {
        out += char(0xC0 | u >> 6);
        out += char(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        out += char(0xE0 | u >> 12);
        out += char(0x80 | ((u >> 6) & 0x3F));
        out += char(0x80 | (u & 0x3F));
    } else {
        out += char(0xF0 | u >> 18);
        out += char(0x80 | ((u >> 12) & 0x3F));
        out += char(0x80 | ((u >> 6) & 0x3F));
        out += char(0x80 | (u & 0x3F));
    }
}

}  // namespace

uint32_t SjisToUnicode(uint16_t code) { return tables().to_unicode[code]; }

std::string SjisToUtf8(std::string_view sjis) {
    const Tables& t = tables();
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    for (size_t i = 0; i < sjis.size(); ++i) {
        uint8_t b = uint8_t(sjis[i]);
        if (IsSjisLead(b) && i + 1 < sjis.size()) {
            append_utf8(out, t.to_unicode[uint32_t(b) << 8 | uint8_t(sjis[i + 1])]);
            ++i;
        } else {
            append_utf8(out, t.to_unicode[b]);
        }
    }
    return out;
}

std::string Utf8ToSjis(std::string_view utf8) {
    const Tables& t = tables();
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        uint8_t b = uint8_t(utf8[i]);
        uint32_t u;
        size_t n;
        if (b < 0x80) {
            u = b, n = 1;
        } else if ((b & 0xE0) == 0xC0) {
            u = b & 0x1F, n = 2;
        } else if ((b & 0xF0) == 0xE0) {
            u = b & 0x0F, n = 3;
        } else if ((b & 0xF8) == 0xF0) {
            u = b & 0x07, n = 4;
        } else {
            out += '?';
            ++i;
            continue;
        }
        if (i + n > utf8.size()) {
            out += '?';
            break;
        }
        for (size_t k = 1; k < n; ++k) u = u << 6 | (uint8_t(utf8[i + k]) & 0x3F);
        i += n;
        auto it = t.to_sjis.find(u);
        if (it == t.to_sjis.end()) {
            out += '?';
        } else if (it->second > 0xFF) {
            out += char(it->second >> 8);
            out += char(it->second & 0xFF);
        } else {
            out += char(it->second);
        }
    }
    return out;
}
