// Finding lines and columns in a text object, and reading lines out of it.
#include <cstring>

#include "core/log.h"
#include "host/sjis_literal.h"
#include "text/text.h"
#include "text/text_block.h"

namespace {

using text_internal::TextPos;

// The start of the line found last, so that reading a text line by line in increasing order
// goes on from there instead of from the start of the cache block. Any edit of the text drops
// it (text_edited).
struct LastLine {
    Handle text = 0;
    int y = 0;
    TextPos pos;
};
LastLine last_line;

void log_refused(const TextHeader* h, Handle text, int y) {
    LogLinef("TextPoint() request is error! Y %d top adr0x%x", y, h->first_block);
    char mark[4] = {};
    if (HandleEntry* e = handle_entry(text)) std::memcpy(mark, e->mark, 3);
    LogLinef("      Text obj ID %d   mode %x  type %s", int(h->id), h->flags, mark);
}

}  // namespace

namespace text_internal {

TextPos locate_line(Handle text, int y) {
    TextHeader* h = text_header(text);
    if (!h) return {};
    if (y < 0 || !block_text(h->first_block)) {
        log_refused(h, text, y);
        return {};
    }
    if (uint32_t(y) > h->lines) {
        LogLinef("TextPoint()でmax_line(%d)over  %dline."_sj, int(h->lines), y);
        return {};
    }
    if (y == 0) return {h->first_block, 0};

    TextPos pos;
    uint32_t line;
    if (last_line.text == text && last_line.y <= y && block_text(last_line.pos.block)) {
        pos = last_line.pos;
        line = uint32_t(last_line.y);
    } else {
        if (h->cache_line >= uint32_t(y) || !block_text(h->cache_block)) {
            h->cache_block = h->first_block;
            h->cache_line = 0;
        }
        pos = {h->cache_block, 0};
        line = h->cache_line;
    }
    while (line < uint32_t(y)) {
        const char* b = block_text(pos.block);
        uint32_t length = block_length(b);
        const void* newline =
            pos.offset < length ? std::memchr(b + pos.offset, '\n', length - pos.offset) : nullptr;
        if (newline) {
            pos.offset = uint32_t(static_cast<const char*>(newline) - b) + 1;
            ++line;
            continue;
        }
        Handle next = next_block(pos.block);
        if (!next) {
            LogLine("TextPoint() next block error!");
            return {};
        }
        pos = {next, 0};
        h->cache_block = next;
        h->cache_line = line;
    }
    last_line = {text, y, pos};
    return pos;
}

TextPos locate_column(Handle text, int x, int y) {
    TextPos pos = locate_line(text, y);
    if (!pos || x <= 0) return pos;
    uint32_t remaining = uint32_t(x);
    uint32_t line = uint32_t(y);  // newlines before pos: pos starts line y
    for (;;) {
        const char* b = block_text(pos.block);
        uint32_t rest = block_length(b) - pos.offset;
        if (remaining <= rest) {
            pos.offset += remaining;
            return pos;
        }
        Handle next = next_block(pos.block);
        if (!next) {  // past the end of the text: its last position
            pos.offset += rest;
            return pos;
        }
        line += count_newlines(b + pos.offset, rest);
        remaining -= rest;
        TextHeader* h = text_header(text);
        h->cache_block = next;
        h->cache_line = line;
        pos = {next, 0};
        LogLinef("text_point() len %d:x %d. adr %08x x %d", int(rest), int(remaining),
                 handle_block_address(next), int(remaining));
    }
}

void text_edited(Handle text, Handle edited) {
    if (last_line.text == text) last_line = {};
    TextHeader* h = text_header(text);
    if (h && edited != h->cache_block) {
        h->cache_block = h->first_block;
        h->cache_line = 0;
    }
}

}  // namespace text_internal

using namespace text_internal;

char* TextPoint(Handle text, int y) {
    return pos_address(locate_line(text, y));
}

char* text_point(Handle text, int x, int y) {
    return pos_address(locate_column(text, x, y));
}

namespace {

// Line y copied into `out` up to its newline, over as many blocks as it runs; tabs become
// tab width + 1 blanks when `expand` is set and stay single bytes otherwise.
char* copy_line(Handle text, int y, char* out, size_t out_size, bool expand) {
    if (!out || out_size == 0) return nullptr;
    out[0] = '\0';
    TextHeader* h = text_header(text);
    if (!h || h->size == 0) return nullptr;
    TextPos pos = locate_line(text, y);
    if (!pos) return nullptr;
    h = text_header(text);
    uint32_t tab = h->tab_width;
    size_t n = 0;
    // The whole line, even when it runs on over several blocks.
    for (Handle block = pos.block; block; block = next_block(block), pos.offset = 0) {
        const char* b = block_text(block);
        uint32_t length = block_length(b);
        for (uint32_t i = pos.offset; i < length; ++i) {
            char c = b[i];
            if (c == '\n') {
                out[n] = '\0';
                return out;
            }
            size_t width = expand && c == '\t' ? tab + 1 : 1;
            if (n + width >= out_size) {
                out[n] = '\0';
                return out;
            }
            if (expand && c == '\t') {
                std::memset(out + n, ' ', width);
            } else {
                out[n] = c;
            }
            n += width;
        }
    }
    out[n] = '\0';
    return out;
}

}  // namespace

char* GetTextLine(Handle text, int y, char* out, size_t out_size) {
    return copy_line(text, y, out, out_size, true);
}

char* GetRawTextLine(Handle text, int y, char* out, size_t out_size) {
    return copy_line(text, y, out, out_size, false);
}

int CursorToEnd(Handle text) {
    TextHeader* h = text_header(text);
    if (!h) return 1;
    int last = int(h->lines);
    TextPos pos = locate_line(text, last);
    uint32_t length = 0;
    for (Handle block = pos.block; block; block = next_block(block), pos.offset = 0) {
        const char* b = block_text(block);
        uint32_t end = block_length(b);
        const void* newline =
            pos.offset < end ? std::memchr(b + pos.offset, '\n', end - pos.offset) : nullptr;
        if (newline) {
            length += uint32_t(static_cast<const char*>(newline) - (b + pos.offset));
            break;
        }
        length += end - pos.offset;
    }
    h = text_header(text);
    h->cursor_y = uint16_t(last);
    h->cursor_x = uint16_t(length);
    return 0;
}

int LineColumns(Handle text, const char* p) {
    TextHeader* h = text_header(text);
    if (!h || !p) return 0;
    int columns = 0;
    for (; *p != '\n'; ++p) {
        if (!*p) {
            if ((h->flags & TEXT_FLAG_SINGLE_LINE) && columns > 0) --columns;
            break;
        }
        columns += *p == '\t' ? h->tab_width : 1;
        if (columns > 1024) break;
    }
    return columns;
}
