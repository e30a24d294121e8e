// A sheet shows entries from s x 10 + 1 on, as many lines as the window's height allows,
// whatever the entries-per-sheet count used to count the sheets: the small window therefore
// shows six lines of a ten-entry sheet.
#include "game/status_sheet.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/background_name.h"
#include "game/calendar.h"
#include "host/sjis_literal.h"
#include "kernel/key_task.h"
#include "resource/resource.h"
#include "window/colors.h"
#include "window/draw.h"
#include "window/gc.h"
#include "window/win_text.h"
#include "window/window.h"

namespace {

constexpr int kLineHeight = 20;
constexpr int kHighlightEntries = 12;

bool is_lead_byte(char c) {
    auto b = uint8_t(c);
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// The end of the name starting at `p`: the first separator in `separators`, the end of the
// text or `limit`. A double-byte character is taken whole, whatever its trail byte.
const char* name_end(const char* p, const char* limit, const char* separators) {
    while (p < limit && *p) {
        if (is_lead_byte(*p) && p + 1 < limit && p[1]) {
            p += 2;
            continue;
        }
        if (std::strchr(separators, *p)) break;
        ++p;
    }
    return p;
}

// An item name as a parameter ends at these.
constexpr const char* kParameterSeparators = " ;,=+-/*";
// A name inside an expression also ends at brackets, relations and connectives.
constexpr const char* kExpressionSeparators = " ;,=+-/*()<>!&|%";

const char* entry_text(const IlvaneGame& game, int index) {
    if (index < 1 || index > game.display_count) return "";
    return game.display[index - 1];
}

bool is_mode(const IlvaneGame& game, const char* name) {
    for (int k = 0; k < game.modes.count; ++k)
        if (std::strcmp(game.modes.words[k][0], name) == 0) return true;
    return false;
}

uint32_t fill_of(Handle gc) {
    const GCRecord* g = gc_record(gc);
    return g ? g->fill : 0;
}

void value_line(IlvaneGame& game, Handle window, const char* entry, int y) {
    const WindowRecord* w = window_record(window);
    Handle gc = w ? w->gc : 0;
    FillRectangle(window, 50, y, 120, kLineHeight, fill_of(gc));
    int value;
    if (entry[0] == '.') {
        char text[kDisplayTextSize * 4];
        ReplaceGsysReferences(game, entry, text, sizeof text);
        value = int(std::strtol(text, nullptr, 10));
    } else {
        value = GetNum(game.player, entry);
    }
    WinMessage(window, 5, y, entry);
    char number[32];
    int upper = entry[0] == '.' ? 0 : GetUpperLimit(game.player, entry);
    if (upper > 1)
        std::snprintf(number, sizeof number, "%3d/%3d", value, upper);
    else
        std::snprintf(number, sizeof number, "%3d", value);
    WinMessage(window, 60, y, number);
}

void draw_entry(IlvaneGame& game, Handle window, const char* entry, int y) {
    if (!entry[0] || std::strcmp(entry, "blank") == 0) return;
    char text[kGameTextSize];
    if (std::strcmp(entry, "時刻"_sj) == 0) {
        int shown = game.date_sts == 2 ? time_text(game.player, text, sizeof text)
                                       : date_text(game.calendar, text, sizeof text);
        if (shown) WinGCMessage(window, 5, y, text, game.screen.gc_standard);
        return;
    }
    if (ItemType(game.characters, entry) == ITEMstring) {
        const char* value = GetStr(game.player, entry);
        std::snprintf(text, sizeof text, "%s　%s"_sj, entry, value ? value : "");
        WinColorMessage(window, 5, y, text, ColorByName("pink"));
        return;
    }
    if (is_mode(game, entry)) {
        std::snprintf(text, sizeof text, "%s:%s", entry, mode_label(game, entry));
        WinColorMessage(window, 5, y, text, ColorByName("pink"));
        return;
    }
    value_line(game, window, entry, y);
}

}  // namespace

void ReplaceGsysReferences(const IlvaneGame& game, const char* text, char* out, size_t size) {
    if (!size) return;
    size_t at = 0;
    auto put = [&](char c) {
        if (at + 1 < size) out[at++] = c;
    };
    for (const char* p = text; *p;) {
        if (std::strncmp(p, ".gsys", 5) == 0 && p[5]) {
            const char* name = p + 6;
            const char* end = name_end(name, name + std::strlen(name), kExpressionSeparators);
            char item[kModeWordSize * 2];
            size_t n = size_t(end - name) < sizeof item - 1 ? size_t(end - name) : sizeof item - 1;
            std::memcpy(item, name, n);
            item[n] = '\0';
            char number[16];
            std::snprintf(number, sizeof number, "%d", game.gsys ? GetNum(game.gsys, item) : -1);
            for (const char* q = number; *q; ++q)
                put(*q);
            p = end;
        } else {
            put(*p++);
        }
    }
    out[at] = '\0';
}

int draw_status_sheet(IlvaneGame& game) {
    Handle window = game.status_window;
    const WindowRecord* w = window_record(window);
    if (!w || !(w->mode & WIN_OPEN)) return 0;
    int height = w->height;
    FillRectangle(window, 0, 0, w->width, w->height, fill_of(game.screen.gc_standard));
    for (int i = 1; (i - 1) * kLineHeight < height; ++i)
        draw_entry(game, window, entry_text(game, game.now_sheet * 10 + i),
                   10 + (i - 1) * kLineHeight);
    return 1;
}

int highlight_changes(IlvaneGame& game, const char* expression) {
    Handle window = game.status_window;
    const WindowRecord* w = window_record(window);
    if (!w || !(w->mode & WIN_OPEN) || !expression) return 0;
    Handle gc = game.screen.gc_standard;
    int highlighted = 0;
    const int first = game.now_sheet * 10 + 1;
    for (const char* p = expression; *p;) {
        const char* statement = p;
        const char* end = std::strchr(statement, ';');
        if (!end) end = statement + std::strlen(statement);
        p = *end ? end + 1 : end;
        const char* name_stop = name_end(statement, end, kParameterSeparators);
        size_t name_length = size_t(name_stop - statement);
        if (name_length == 0) continue;
        for (int c = 0; c < kHighlightEntries; ++c) {
            const char* entry = entry_text(game, first + c);
            if (!entry[0]) break;
            if (std::strlen(entry) != name_length ||
                std::strncmp(entry, statement, name_length) != 0)
                continue;
            if (game.highlight_countdown > 0 && !highlighted) draw_status_sheet(game);
            char change[kGameTextSize];
            size_t n = size_t(end - name_stop) < sizeof change - 1 ? size_t(end - name_stop)
                                                                   : sizeof change - 1;
            std::memcpy(change, name_stop, n);
            change[n] = '\0';
            const char* color = change[0] == '+' ? "blue" : change[0] == '-' ? "red" : "darkgray";
            SetGCFont(gc, game.screen.font_tiny);
            FillRectangle(window, 90, 20 * c + 9, 100, kLineHeight, ColorByName("gray"));
            WinColorMessage(window, 91, 20 * c + 11, change, ColorByName("darkgray"));
            WinColorMessage(window, 90, 20 * c + 10, change, ColorByName(color));
            Delay(3);
            SetGCFont(gc, game.screen.font_standard);
            highlighted = 1;
            break;
        }
    }
    return highlighted;
}
