#include "text/text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/log.h"
#include "host/file.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"
#include "resource/task_record.h"
#include "text/text_block.h"

namespace text_internal {

char* block_text(Handle block) {
    HandleEntry* e = handle_entry(block);
    if (!e || e->mark[0] != 'B' || e->size < kTextBlockSize) return nullptr;
    return reinterpret_cast<char*>(handle_body(block));
}

uint32_t block_length(const char* text) {
    return text ? uint32_t(strnlen(text, kTextBlockText)) : 0;
}

Handle next_block(Handle block) {
    HandleEntry* e = handle_entry(block);
    if (!e || !e->next) return 0;
    return block_text(e->next) ? e->next : 0;
}

Handle add_block(Handle resource) {
    Handle block = CreateRecord(resource, -1, kTextBlockSize);
    HandleEntry* e = handle_entry(block);
    if (!e || e->size < kTextBlockSize) return 0;
    e->mark[0] = 'B';
    char* text = block_text(block);
    text[0] = ' ';
    text[1] = '\0';
    text[kTextBlockText] = '\0';
    return block;
}

uint32_t count_newlines(const char* p, size_t n) {
    uint32_t count = 0;
    const char* end = p + n;
    while ((p = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p))))) {
        ++count;
        ++p;
    }
    return count;
}

char* pos_address(TextPos pos) {
    char* text = block_text(pos.block);
    return text ? text + pos.offset : nullptr;
}

}  // namespace text_internal

using namespace text_internal;

namespace {

// The file of a text is its resource's name; copied, since the attribute block may move.
struct FileName {
    char text[sizeof(ResourceAttr::name) + 1] = {};
};

FileName text_file_name(const TextHeader* h) {
    FileName name;
    if (ResourceAttr* attr = resource_attr(h->resource))
        std::memcpy(name.text, attr->name, sizeof attr->name);
    return name;
}

// Reads from `f` into the block text `b` until it holds kTextBlockText bytes or the file ends
// (`at_end`), and terminates it. NUL bytes are dropped: the block text could not hold them.
uint32_t fill_block(FILE* f, char* b, bool& at_end) {
    uint32_t fill = 0;
    while (fill < kTextBlockText && !at_end) {
        size_t want = kTextBlockText - fill;
        size_t got = std::fread(b + fill, 1, want, f);
        at_end = got < want;
        char* end = b + fill + got;
        if (std::memchr(b + fill, '\0', got)) end = std::remove(b + fill, end, '\0');
        fill = uint32_t(end - b);
    }
    b[fill] = '\0';
    return fill;
}

}  // namespace

TextHeader* text_header(Handle text) {
    HandleEntry* e = handle_entry(text);
    if (!e || e->mark[0] != 'T' || e->mark[1] != 'E' || e->size < sizeof(TextHeader))
        return nullptr;
    return reinterpret_cast<TextHeader*>(handle_body(text));
}

Handle CreateText(Handle task, const char* name, uint32_t flags) {
    Handle resource = CreateResource(task, name, "TEXT");
    Handle text = CreateRecord(resource, kTextHeaderNumber, sizeof(TextHeader));
    HandleEntry* e = handle_entry(text);
    if (!e || e->size < sizeof(TextHeader)) {
        LogLine("Memory Error for CreateText");
        return 0;
    }
    e->mark[0] = 'T';
    e->mark[1] = 'E';
    Handle block = add_block(resource);
    if (!block) {
        LogLine("Memory Error for CreateText");
        return 0;
    }
    TextHeader* h = text_header(text);
    std::memset(h, 0, sizeof *h);
    TaskRecord* t = task_record(task);
    h->task = task;
    h->id = t ? t->id : 0;
    h->flags = flags | TEXT_FLAG_CREATED;
    h->tab_width = 4;
    h->resource = resource;
    h->first_block = block;
    h->cache_block = block;
    text_edited(text, block);
    return text;
}

int CloseText(Handle task, Handle text) {
    TextHeader* h = text_header(text);
    if (!h) return 1;
    text_edited(text, h->cache_block);
    return DeactivateRecord(task, h->resource, text);
}

int FreeText(Handle task, Handle text) {
    TextHeader* h = text_header(text);
    if (!h) return 1;
    Handle resource = h->resource;
    for (Handle block = h->first_block; block;) {
        Handle after = next_block(block);
        RemoveRecord(task, resource, block);
        block = after;
    }
    h = text_header(text);
    h->first_block = h->cache_block = 0;
    h->cache_line = 0;
    h->size = h->lines = 0;
    return CloseText(task, text);
}

int ReadTextFile(Handle text) {
    TextHeader* h = text_header(text);
    if (!h) return 1;
    FileName file = text_file_name(h);
    const char* name = file.text;
    FILE* f = HostFileOpen(name, "r");
    if (!f) {
        LogLinef("File open error! %s for read", name);
        return 6;
    }
    LogLinef("File Open %s", name);
    h->size = 0;
    h->lines = 0;
    int added = 0;
    if (!h->first_block) {
        Handle first = add_block(h->resource);
        h = text_header(text);
        if (!first) {
            HostFileClose(f);
            return 1;
        }
        h->first_block = first;
        ++added;
    }
    uint32_t size = 0, lines = 0;
    Handle block = h->first_block;
    for (;;) {
        char* b = block_text(block);
        if (!b) break;  // a broken chain: keep what was read
        bool at_end = false;
        uint32_t n = fill_block(f, b, at_end);
        lines += count_newlines(b, n);
        if (n < kTextBlockText) {
            size += n + 1;  // the position of the end mark counts
            break;
        }
        size += kTextBlockText;
        Handle next = next_block(block);
        if (!next) {
            next = add_block(text_header(text)->resource);
            if (!next) {
                h = text_header(text);
                h->size = size;
                h->lines = lines;
                text_edited(text, h->first_block);
                HostFileClose(f);
                return 1;
            }
            ++added;
        }
        block = next;
    }
    HostFileClose(f);
    h = text_header(text);
    // Blocks of an earlier, longer content would otherwise still read as part of the text.
    for (Handle stale = next_block(block); stale;) {
        Handle after = next_block(stale);
        RemoveRecord(h->task, h->resource, stale);
        stale = after;
    }
    h->size = size;
    h->lines = lines;
    text_edited(text, h->first_block);
    LogLinef("File read  %s ﾃｷｽﾄ･ｻｲｽﾞ %ld byte max line %d  block count %d"_sj, name, long(size),
             int(lines), added);
    return 0;
}

int WriteTextFile(Handle text) {
    TextHeader* h = text_header(text);
    if (!h) return 6;
    FileName file = text_file_name(h);
    const char* name = file.text;
    FILE* f = HostFileOpen(name, "w");
    if (!f) {
        LogLinef("file open error! %s for write", name);
        return 6;
    }
    long blocks = 0, written = 0;
    for (Handle block = h->first_block; block; block = next_block(block)) {
        const char* b = block_text(block);
        uint32_t length = block_length(b);
        // A block without text still stands for a line break in the file.
        if (length == 0)
            written += std::fputc('\n', f) == '\n' ? 1 : 0;
        else
            written += long(std::fwrite(b, 1, length, f));
        if (block != h->first_block) ++blocks;
    }
    HostFileClose(f);
    LogLinef("File write   %s block_count %ld text_size %ld", name, blocks, written);
    return 0;
}
