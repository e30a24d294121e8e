#include "host/raster_script.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "host/bitmap_draw.h"
#include "host/bmp.h"
#include "host/raster.h"
#include "host/sjis.h"
#include "host/surface.h"
#include "host/text_out.h"

namespace {

bool ParseNumber(const std::string& word, long long* out) {
    size_t i = 0;
    bool negative = false;
    if (i < word.size() && (word[i] == '-' || word[i] == '+')) negative = word[i++] == '-';
    int base = 10;
    if (word.size() > i + 1 && word[i] == '0' && (word[i + 1] == 'x' || word[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= word.size()) return false;
    char* end = nullptr;
    const long long v = std::strtoll(word.c_str() + i, &end, base);
    if (*end != '\0' || word[i] == '-' || word[i] == '+') return false;
    *out = negative ? -v : v;
    return true;
}

struct Line {
    std::string op;
    std::vector<std::string> words;  // after the operation
    std::string rest;                // the text after the first five words (text operation)
};

// A file named in the operations file, as a system (Shift-JIS) path.
std::string InFolder(const std::string& folder, const std::string& file) {
    return Utf8ToSjis(!file.empty() && file[0] == '/' ? file : folder + file);
}

// A BMP of the operations file, loaded for one operation and then freed.
class LoadedBmp {
public:
    LoadedBmp(const std::string& folder, const std::string& file) {
        bitmap_ = HostLoadBmp(InFolder(folder, file).c_str());
    }
    ~LoadedBmp() { HostFreeBmpState(); }
    uint32_t bitmap() const { return bitmap_; }

private:
    uint32_t bitmap_;
};

}  // namespace

bool RunRasterScript(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = path + ": cannot open";
        return false;
    }
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    bool sized = false;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        std::istringstream words(text);
        Line line;
        if (!(words >> line.op) || line.op[0] == '#') continue;
        for (std::string w; words >> w;)
            line.words.push_back(w);
        auto fail = [&](const std::string& why) {
            *error = path + ":" + std::to_string(number) + ": " + why;
            return false;
        };
        // Numbers at the given positions of the words; `files` marks positions that are not.
        std::vector<long long> n(line.words.size(), 0);
        auto expect = [&](size_t count, std::initializer_list<size_t> files) {
            if (line.words.size() != count) return false;
            for (size_t i = 0; i < count; ++i) {
                bool is_file = false;
                for (size_t f : files)
                    is_file |= f == i;
                if (!is_file && !ParseNumber(line.words[i], &n[i])) return false;
            }
            return true;
        };
        const std::string& op = line.op;
        if (!sized && op != "size") return fail("the first operation must be size W H");
        auto i = [&](size_t k) { return int(n[k]); };
        auto c = [&](size_t k) { return uint32_t(n[k]); };
        if (op == "size") {
            if (!expect(2, {}) || !HostCreateSurface(i(0), i(1))) return fail("bad size");
            HostResetScreenContext();
            sized = true;
        } else if (op == "fill" && expect(5, {})) {
            HostFillRect(i(0), i(1), i(2), i(3), c(4));
        } else if (op == "rect" && expect(5, {})) {
            HostRectangle(i(0), i(1), i(2), i(3), c(4));
        } else if (op == "line" && expect(5, {})) {
            HostLine(i(0), i(1), i(2), i(3), c(4));
        } else if (op == "pixel" && expect(3, {})) {
            HostSetPixel(i(0), i(1), c(2));
        } else if (op == "ellipse" && expect(5, {})) {
            HostEllipse(i(0), i(1), i(2), i(3), c(4));
        } else if (op == "arc" && expect(9, {})) {
            HostArc(i(0), i(1), i(2), i(3), i(4), i(5), i(6), i(7), c(8));
        } else if (op == "focus" && expect(4, {})) {
            HostFocusRect(i(0), i(1), i(2), i(3));
        } else if (op == "darken" && expect(5, {})) {
            HostDarken(i(0), i(1), i(2), i(3), int16_t(n[4]));
        } else if (op == "bmp" && expect(3, {2})) {
            HostDrawBmpFile(i(0), i(1), InFolder(folder, line.words[2]).c_str());
        } else if (op == "stretch" && expect(9, {4})) {
            LoadedBmp bmp(folder, line.words[4]);
            HostDrawBitmapStretched(i(0), i(1), i(2), i(3), bmp.bitmap(), i(5), i(6), i(7), i(8));
        } else if (op == "magenta" && expect(3, {2})) {
            LoadedBmp bmp(folder, line.words[2]);
            HostDrawMagenta(i(0), i(1), bmp.bitmap());
        } else if (op == "tint" && expect(6, {4})) {
            LoadedBmp bmp(folder, line.words[4]);
            HostTint(i(0), i(1), i(2), i(3), bmp.bitmap(), c(5));
        } else if (op == "text" && line.words.size() >= 6) {
            // The text is everything after the fifth number, spaces included.
            std::istringstream again(text);
            std::string skip;
            for (int k = 0; k < 6; ++k)
                again >> skip;
            std::getline(again >> std::ws, line.rest);
            line.words.resize(5);
            n.resize(5);
            if (!expect(5, {})) return fail("bad numbers for text");
            HostTextOut(i(0), i(1), Utf8ToSjis(line.rest).c_str(), c(4), i(2), uint16_t(n[3]));
        } else {
            return fail("unknown or malformed operation: " + text);
        }
    }
    if (!sized) {
        *error = path + ": no size operation";
        return false;
    }
    return true;
}
