// The typewriter: a message object's text drawn one character per step inside margins of a
// sixteenth of the width and a fourteenth of the height, with font_color, font_size and wait
// tags, outlined (a dark shadow on six sides) or plain, wrapped at the right margin and
// stopped when the page is full. RedrawEffect draws a page again at once.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/log.h"
#include "host/services.h"
#include "host/sjis_literal.h"
#include "kernel/key_task.h"
#include "present/effect_data.h"
#include "present/effect_task.h"
#include "text/str.h"
#include "window/draw.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/win_text.h"
#include "window/window.h"

namespace {

constexpr int kLineGap = 8;  // between lines, besides the font's line height
// The longest wait a tag asks for, in 10 ms ticks: the whole system stands still meanwhile.
constexpr int kMaxWaitTicks = 3000;

bool sjis_lead(uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool sjis_trail(uint8_t b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}
// Bytes of the character at `p`: 2 for a lead byte followed by a valid trail byte.
int char_bytes(const char* p) {
    return sjis_lead(uint8_t(p[0])) && sjis_trail(uint8_t(p[1])) ? 2 : 1;
}

// "。", "、" and "」" may stand past the right margin.
bool may_pass_margin(const char* p) {
    static const std::string kMarks[] = {"。"_sj, "、"_sj, "」"_sj};
    for (const std::string& m : kMarks)
        if (std::strncmp(p, m.c_str(), m.size()) == 0) return true;
    return false;
}

void font_size_tag(Handle gc, int size) {
    GCRecord* g = gc_record(gc);
    if (!g) return;
    if (size == 2 || size == 3) {
        if (!g_effect.font_remembered) {
            g_effect.previous_font = g->font;
            g_effect.font_remembered = true;
        }
        g->font = size == 3 ? g_effect.font36 : g_effect.font28;
    } else if (size == 1 && g_effect.font_remembered) {
        g->font = g_effect.previous_font;
    }
}

// The tag text between "<" and ">": its name is the first word, the parameter the rest
// without blanks.
void run_tag(const std::string& tag, Handle gc) {
    std::string name_buffer(tag.size() + 1, '\0');
    const char* rest = NextWord(tag.c_str(), name_buffer.data());
    std::string name(name_buffer.c_str());
    std::string param(rest);
    RemoveBlanks(param.data());
    param.resize(std::strlen(param.c_str()));
    if (name == "font_color") {
        SetGCColorName(gc, param.c_str());
    } else if (name == "font_size") {
        font_size_tag(gc, std::atoi(param.c_str()));
    } else if (name == "wait") {
        long ticks = std::strtol(param.c_str(), nullptr, 10);
        Delay(uint32_t(std::clamp<long>(ticks, 0, kMaxWaitTicks)));
    } else {
        LogLine("EffectTask unknow code");
        LogLine(name.c_str());
    }
}

void draw_char(Handle window, int x, int y, const char* ch, Handle gc, const EffectData& r) {
    if (r.mode == EFFECT_PLAIN) {
        WinColorMessage(window, x, y, ch, r.color);
        return;
    }
    GCRecord* g = gc_record(gc);
    if (!g) return;
    uint32_t text = g->text;
    uint32_t shadow = HostMix(HostMix(text, 0), 0);
    static constexpr int kOffsets[6][2] = {{1, 1}, {-1, -1}, {-1, 0}, {0, -1}, {0, 1}, {1, 0}};
    SetGCTextColor(gc, shadow);
    for (const auto& o : kOffsets)
        WinGCMessage(window, x + o[0], y + o[1], ch, gc);
    SetGCTextColor(gc, text);
    WinGCMessage(window, x, y, ch, gc);
}

Handle message_gc(const EffectMessage& m) {
    if (gc_record(m.gc)) return m.gc;
    WindowRecord* w = window_record(m.window);
    return w ? w->gc : 0;
}

}  // namespace

int text_draw(Handle record) {
    EffectData* r = effect_data(record);
    EffectMessage m;
    if (!r || !ReadEffectMessage(r->object, &m)) return 1;
    if (r->position == 0) r->x = r->y = 0;
    WindowRecord* w = window_record(m.window);
    if (!(w->mode & WIN_DRAWABLE)) return window_drawable(w->parent) ? 0 : 1;
    const int width = w->width, height = w->height;
    const int left_margin = width / 16, top_margin = height / 14;
    const Handle window = m.window;
    const Handle gc = message_gc(m);

    // Page full. Only a page that has drawn something can be full (y is 0 on a fresh page), so
    // every page moves the text on and a long text always ends.
    if (r->y + 2 * top_margin > height) {
        if (r->page_start != 0) LogLine("text_draw() 二枚目表示"_sj);
        r->flags |= EFFECT_PAGE_DONE | EFFECT_PAGE_FULL;
        return 2;
    }

    size_t length = std::strlen(m.text);
    if (size_t(r->page_start) + r->position > length) return 1;
    const char* p = m.text + r->page_start + r->position;
    while (*p == '<') {
        const char* close = std::strchr(p + 1, '>');
        if (!close) {  // a tag cut by the end of the text ends the text
            r->position = uint32_t(length - r->page_start);
            return 1;
        }
        std::string tag(p + 1, close);
        run_tag(tag, gc);
        r = effect_data(record);
        if (!r) return 1;
        r->position += uint32_t(tag.size() + 2);
        p = close + 1;
    }
    if (*p == '\0') return 1;

    const Handle font = gc_record(gc) ? gc_record(gc)->font : 0;
    const int line_step = FontLineHeight(font) + kLineGap;
    if (p[0] == '\\' && p[1] == 'n') {
        r->y = int16_t(r->y + line_step);
        r->x = 0;
        r->position += 2;
        return 0;
    }
    if (p[0] == '\n') {
        if (p[1] == '\0') return 1;
        r->y = int16_t(r->y + line_step);
        r->x = 0;
        r->position += 1;
        return 0;
    }

    const int n = char_bytes(p);
    char ch[3] = {p[0], n == 2 ? p[1] : '\0', '\0'};
    const int cell = FontSize(font);
    EffectData before = *r;
    draw_char(window, left_margin + before.x, top_margin + before.y, ch, gc, before);
    r = effect_data(record);
    if (!r) return 1;
    r->position += uint32_t(n);
    r->x = int16_t(r->x + (n == 2 ? cell : cell / 2));
    const char* next = p + n;
    if (!may_pass_margin(next) && 2 * left_margin + r->x + cell > width) {
        r->x = 0;
        r->y = int16_t(r->y + line_step);
    }
    return 0;
}

bool TextEffectStep(Handle record) {
    EffectData* r = effect_data(record);
    if (!r || (r->flags & EFFECT_PAGE_DONE)) return false;
    if (r->position == 0) {
        EffectMessage m;
        if (ReadEffectMessage(r->object, &m) && window_record(m.window)->backing_store)
            RepaintEffectBackground(m.window);
    }
    if (text_draw(record) != 0) return true;
    r = effect_data(record);
    if (r && r->mode == EFFECT_PLAIN) RedrawEffect(0, r->object, 0);
    return false;
}

int RedrawEffect(Handle task, Handle object, int mode) {
    (void)task;
    EffectMessage m;
    if (!ReadEffectMessage(object, &m)) return 1;
    if (!window_drawable(window_record(m.window)->parent)) return 1;
    // Nothing can be drawn into the message window now: the page stays as it got.
    if (!window_drawable(m.window)) return 0;
    Handle record = FindEffectByObject(object, EFFECT_TEXT);
    EffectData* r = effect_data(record);
    if (!r) return 0;
    if (mode == 1) {
        if (!(r->flags & EFFECT_PAGE_FULL)) {
            SendEffectNotice(record, EFFECT_STOPPED);
            return 0;
        }
        LogLine("続きﾃﾞｰﾀ見つけた"_sj);
        r->page_start += r->position;
        r->position = 0;
        r->flags &= ~EFFECT_PAGE_FULL;
    }
    RepaintEffectBackground(m.window);
    r = effect_data(record);
    const uint32_t reached = r->position;
    r->position = 0;
    // The page is drawn again as it was typed: in the requested colour and, when a size tag
    // changed the GC's font, in the font it had before.
    SetGCTextColor(message_gc(m), r->base_color);
    if (g_effect.font_remembered) SetGCFont(message_gc(m), g_effect.previous_font);
    uint32_t target = UINT32_MAX;
    if (mode == 2) {
        target = reached;
        LogLinef("RedrawEffect() mode 2 %d", int(reached));
    }
    const bool was_done = r->flags & EFFECT_PAGE_DONE;
    if (mode == 0) r->flags &= ~EFFECT_PAGE_DONE;

    bool ended = false;
    while (r->position < target) {
        uint32_t before = r->position;
        int result = text_draw(record);
        r = effect_data(record);
        if (!r) return 0;
        if (result == 1) ended = true;
        if (result != 0 || r->position == before) break;  // page full, end, or no progress
    }
    if (mode == 0 && was_done) r->flags |= EFFECT_PAGE_DONE;
    if (ended) {
        if (mode == 2)
            RemoveEffect(record);
        else if (!was_done)
            SendEffectNotice(record, EFFECT_STOPPED);
    }
    return 0;
}
