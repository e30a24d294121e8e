// The window definition reader. Line words are matched as prefixes of the line, as the
// original did: "MessageButtonX 1 2 3 t" still makes a text button. Sizes from the file are
// checked before anything reaches the window tree, so a damaged file cannot make a window of
// an absurd size.
#include "window/window_file.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/lines.h"
#include "core/log.h"
#include "window/object.h"
#include "window/window.h"

namespace {

// Client sides above this are refused (no screen is larger).
constexpr int kMaxWindowSide = 4096;

struct Decoration {
    const char* key;
    uint32_t mode;
};
constexpr Decoration kDecorations[] = {
    {"Controlbar", WIN_CONTROLBAR},
    {"Frame", WIN_FRAME},
    {"ResizeBox", WIN_RESIZEBOX},
    {"CloseBox", WIN_CLOSEBOX},
};

// Field n of a line: field 0 is the text up to the first space, field n the text after the
// n-th run of spaces up to the next space.
std::string field(const std::string& line, int n) {
    size_t pos = 0;
    for (int i = 0; i < n; ++i) {
        pos = line.find(' ', pos);
        if (pos == std::string::npos) return "";
        pos = line.find_first_not_of(' ', pos);
        if (pos == std::string::npos) return "";
    }
    size_t end = line.find(' ', pos);
    return line.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
}

// A decimal integer as atoi reads it, kept within 16 bits (positions and counts of objects).
int number(const std::string& line, int n) {
    long value = std::strtol(field(line, n).c_str(), nullptr, 10);
    return int(std::clamp<long>(value, SHRT_MIN, SHRT_MAX));
}

bool starts(const std::string& line, const char* word) {
    return line.compare(0, std::strlen(word), word) == 0;
}

void make_object(Handle window, Handle task, const std::string& line) {
    uint16_t id = uint16_t(number(line, 1));
    int x = number(line, 2), y = number(line, 3);
    if (starts(line, "MessageButton")) {
        LogLinef("num %d x/y %d/%d", int(id), x, y);
        LogLine(line.c_str());
        MessageButton(window, id, x, y, field(line, 4).c_str());
    } else if (starts(line, "CheckButton")) {
        CheckButton(window, id, x, y);
    } else if (starts(line, "InputMessage")) {
        CreateMessageLine(window, id, x, y, number(line, 4), task);
    } else if (starts(line, "InputNumeric")) {
        CreateNumericLine(window, id, x, y, number(line, 4), task);
    } else if (starts(line, "InputByte")) {
        CreateByteLine(window, id, x, y, number(line, 4), task);
    }
}

// The file's lines as the line reader gives them: without line ends, a line longer than
// kLineFileMaxLine read as several.
std::vector<std::string> read_lines(const char* file) {
    std::vector<std::string> lines;
    long size = FileSize(file);
    if (size <= 0) return lines;
    std::vector<char> buffer(size_t(size) + 1);
    if (!ReadWholeFile(file, buffer.data(), long(buffer.size()))) return lines;
    std::string text(buffer.data(), size_t(size));
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        do {
            lines.push_back(line.substr(0, kLineFileMaxLine));
            line.erase(0, std::min<size_t>(line.size(), kLineFileMaxLine));
        } while (!line.empty());
        pos = end + 1;
    }
    return lines;
}

}  // namespace

Handle ReadWindowFile(Handle task, const char* file) {
    int width = GetIniNumber("Width", file);
    int height = GetIniNumber("Height", file);
    if (width == -1 || height == -1) return 0;
    if (width < 1 || height < 1 || width > kMaxWindowSide || height > kMaxWindowSide) {
        LogLinef("window file %s: client size %d x %d refused", file, width, height);
        return 0;
    }
    uint32_t mode = 0;
    for (const Decoration& d : kDecorations)
        if (GetIniBool(d.key, file) == 1) mode |= d.mode;

    std::vector<std::string> lines = read_lines(file);
    if (lines.empty()) return 0;
    Handle window = create_window(task, 0, uint16_t(width), uint16_t(height), mode);
    if (!window) return 0;
    for (const std::string& line : lines)
        make_object(window, task, line);
    return window;
}
