#include "window/escaped_text.h"

#include <cstring>
#include <string>

#include "host/input.h"
#include "host/sjis.h"
#include "kernel/key_task.h"
#include "window/colors.h"
#include "window/draw.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/win_text.h"
#include "window/window.h"

namespace {

// Colour of the "\cG" escape: the system's default green.
constexpr int kGreenIndex = 5;

uint32_t escape_color(char letter, uint32_t current) {
    switch (letter) {
        case 'R':
        case 'r':
            return ColorByName("red");
        case 'B':
        case 'b':
            return ColorByName("blue");
        case 'G':
        case 'g':
            return SystemColor(kGreenIndex);
        default:
            return current;
    }
}

// Skips up to `n` characters of `s` without passing its end.
size_t skip(const std::string& s, size_t at, size_t n) {
    return std::min(s.size(), at + n);
}

}  // namespace

int DrawEscapedText(Handle window, int x, int y, const char* text, Handle gc) {
    if (!text) return 1;
    for (const char* p = text;;) {
        const char* escape = std::strstr(p, "\\n");
        size_t length = escape ? size_t(escape - p) : std::strlen(p);
        if (const void* newline = std::memchr(p, '\n', length))
            length = size_t(static_cast<const char*>(newline) - p);
        std::string line(p, length);

        GCRecord* g = gc_record(gc);
        uint32_t color = g ? g->text : 0;
        size_t at = 0;
        if (line.find("\\c") != std::string::npos) {
            at = skip(line, at, 2);
            if (at < line.size()) color = escape_color(line[at], color);
            at = skip(line, at, 1);
        }
        bool slow = false;
        if (line.find("\\w", at) != std::string::npos) {
            at = skip(line, at, 2);
            slow = true;
        }
        std::string rest = line.substr(at);
        if (rest.find("\\l") != std::string::npos) {
            int right = window_record(window) ? window_record(window)->width - 10 : 0;
            g = gc_record(gc);
            uint32_t edge1 = g ? g->edge1 : 0, edge2 = g ? g->edge2 : 0;
            Line(window, x, y + 10, right, y + 10, edge1);
            Line(window, x, y + 9, right, y + 9, edge2);
        } else if (slow) {
            DrawSlowText(window, x, y, rest.c_str(), kSlowTextWait, color);
        } else {
            WinColorMessage(window, x, y, rest.c_str(), color);
        }
        if (!escape) break;
        g = gc_record(gc);
        y += FontLineHeight(g ? g->font : 0);
        p = escape + 2;
    }
    return 1;
}

void DrawSlowText(Handle window, int x, int y, const char* text, int wait, uint32_t color) {
    if (!text) return;
    WindowRecord* w = window_record(window);
    GCRecord* g = w ? gc_record(w->gc) : nullptr;
    int advance = FontSize(g ? g->font : 0);
    for (const char* p = text; *p && *p != '\n';) {
        char character[3] = {p[0], 0, 0};
        if (IsSjisLead(uint8_t(p[0])) && p[1]) character[1] = p[1];
        p += character[1] ? 2 : 1;
        WinColorMessage(window, x, y, character, color);
        x += advance;
        if (wait == 0) continue;
        Delay(uint32_t(wait));
        if (HostKeyPending() || HostMouseButtons() != 0) wait = 0;
    }
}
