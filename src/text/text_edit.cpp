// Inserting into and deleting from text objects. An insertion moves at most the text of one
// block; a block without room is split at the insertion point.
#include <algorithm>
#include <cstring>
#include <string>

#include "core/log.h"
#include "host/sjis.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"
#include "text/text.h"
#include "text/text_block.h"

using namespace text_internal;

namespace {

// Places `block` directly after `target` in the record chain (the new block was appended at
// the chain's end).
void place_after(Handle target, Handle block) {
    HandleEntry* e = handle_entry(target);
    Handle next = e ? e->next : 0;
    if (!next) {
        LogLine("text_insert() next block NULL　t_blockがチェーンのどこか判らない"_sj);
    } else if (next == block) {
        LogLine("next と tblockが同じ　これなら処理が楽！？"_sj);
    } else {
        LogLine("call InsertRecord in text_insert()");
        MoveRecordBefore(next, block);
        LogLine("ret InsertRecord in text_insert()");
    }
}

// Inserts `bytes` at `pos`, whose block has no room: the block is split at `pos`, its tail goes
// to a new block after it and the bytes are put in front of the tail, in further new blocks
// when they do not fit. Returns the number of bytes inserted.
size_t insert_splitting(Handle text, TextPos pos, const std::string& bytes) {
    LogLine("blockに空きがない"_sj);
    Handle tail_block = add_block(text_header(text)->resource);
    if (!tail_block) return 0;
    place_after(pos.block, tail_block);

    char* target = block_text(pos.block);
    char* tail = block_text(tail_block);
    uint32_t tail_length = block_length(target) - pos.offset;
    std::memcpy(tail, target + pos.offset, tail_length);
    tail[tail_length] = '\0';
    target[pos.offset] = '\0';

    if (tail_length + bytes.size() < kTextBlockSize) {
        std::memmove(tail + bytes.size(), tail, tail_length + 1);
        std::memcpy(tail, bytes.data(), bytes.size());
        return bytes.size();
    }
    LogLine("text.c text_insert()  挿入する文字がTEXT_BLOCKより大きい"_sj);
    size_t done = 0;
    while (done < bytes.size()) {
        Handle piece = add_block(text_header(text)->resource);
        if (!piece) break;
        MoveRecordBefore(tail_block, piece);
        size_t n = std::min<size_t>(bytes.size() - done, kTextBlockText);
        char* p = block_text(piece);
        std::memcpy(p, bytes.data() + done, n);
        p[n] = '\0';
        done += n;
    }
    return done;
}

// The byte at `pos` and the one after it, following the chain over block ends; 0 past the end.
void bytes_at(TextPos pos, uint8_t out[2]) {
    int got = 0;
    for (Handle block = pos.block; block && got < 2; block = next_block(block), pos.offset = 0) {
        const char* b = block_text(block);
        uint32_t length = block_length(b);
        for (uint32_t i = pos.offset; i < length && got < 2; ++i)
            out[got++] = uint8_t(b[i]);
    }
    while (got < 2)
        out[got++] = 0;
}

}  // namespace

int text_insert(Handle text, int x, int y, const char* str, int len) {
    if (!text_header(text) || !str || len <= 0) return 1;
    // Copied first: `str` may lie in the pool, and adding blocks may move it.
    std::string bytes(str, strnlen(str, size_t(len)));
    if (bytes.empty()) return 1;
    TextPos pos = locate_column(text, x, y);
    if (!pos) return 1;

    char* b = block_text(pos.block);
    uint32_t length = block_length(b);
    size_t inserted;
    if (length + bytes.size() < kTextBlockSize) {
        LogLinef("blockに空きがある Block文字列長%d 挿入ｻｲｽﾞ%d　TBlockｻｲｽﾞ%d"_sj, int(length),
                 int(bytes.size()), int(kTextBlockSize));
        std::memmove(b + pos.offset + bytes.size(), b + pos.offset, length - pos.offset + 1);
        std::memcpy(b + pos.offset, bytes.data(), bytes.size());
        LogLine(b + pos.offset);
        inserted = bytes.size();
    } else {
        inserted = insert_splitting(text, pos, bytes);
    }
    TextHeader* h = text_header(text);
    h->size += uint32_t(inserted);
    h->lines += count_newlines(bytes.data(), inserted);
    text_edited(text, pos.block);
    return inserted ? 0 : 1;
}

int WordInsert(Handle text, const char* ch) {
    TextHeader* h = text_header(text);
    if (!h || !ch) return 1;
    int length = IsSjisLead(uint8_t(ch[0])) ? 2 : 1;
    return text_insert(text, h->cursor_x, h->cursor_y, ch, length);
}

int text_delete(Handle text, int x, int y, int n) {
    if (!text_header(text)) return 1;
    TextPos pos = locate_column(text, x, y);
    if (!pos) return 1;
    if (n <= 0) return 0;
    uint32_t remaining = uint32_t(n);
    uint32_t removed = 0, newlines = 0;

    char* b = block_text(pos.block);
    uint32_t rest = block_length(b) - pos.offset;
    if (rest > remaining) {
        newlines = count_newlines(b + pos.offset, remaining);
        std::memmove(b + pos.offset, b + pos.offset + remaining, rest - remaining + 1);
        removed = remaining;
    } else {
        LogLine("ﾃｷｽﾄﾌﾞﾛｯｸに削除文字がないので次を見ます"_sj);
        newlines = count_newlines(b + pos.offset, rest);
        b[pos.offset] = '\0';
        removed = rest;
        remaining -= rest;
        TextHeader* h = text_header(text);
        Handle task = h->task, resource = h->resource;
        for (Handle block = next_block(pos.block); block && remaining > 0;) {
            char* t = block_text(block);
            uint32_t length = block_length(t);
            Handle after = next_block(block);
            if (length >= remaining) {
                newlines += count_newlines(t, remaining);
                std::memmove(t, t + remaining, length - remaining + 1);
                removed += remaining;
                remaining = 0;
            } else {
                newlines += count_newlines(t, length);
                removed += length;
                remaining -= length;
                RemoveRecord(task, resource, block);
            }
            block = after;
        }
    }
    TextHeader* h = text_header(text);
    h->size = removed < h->size ? h->size - removed : 0;
    h->lines = newlines < h->lines ? h->lines - newlines : 0;
    text_edited(text, pos.block);
    return 0;
}

int DeleteCursorChar(Handle text) {
    TextHeader* h = text_header(text);
    if (!h) return 1;
    int x = h->cursor_x, y = h->cursor_y;
    TextPos pos = locate_column(text, x, y);
    if (!pos) return 1;
    uint8_t c[2];
    bytes_at(pos, c);
    if (!c[0]) return 0;  // nothing at the cursor
    int n = IsSjisLead(c[0]) && IsSjisTrail(c[1]) ? 2 : 1;
    return text_delete(text, x, y, n);
}

std::string TextBytes(Handle text) {
    std::string all;
    TextHeader* h = text_header(text);
    if (!h) return all;
    for (Handle block = h->first_block; block; block = next_block(block)) {
        const char* b = block_text(block);
        all.append(b, block_length(b));
    }
    return all;
}

int SetTextBytes(Handle text, const char* bytes, size_t n) {
    TextHeader* h = text_header(text);
    if (!h) return 1;
    text_delete(text, 0, 0, 1 << 30);
    h = text_header(text);
    h->cursor_x = 0;
    h->cursor_y = 0;
    // NUL bytes would end a block's text: they are left out.
    std::string kept;
    kept.reserve(n);
    for (size_t i = 0; i < n; ++i)
        if (bytes[i]) kept += bytes[i];
    if (kept.empty()) return 0;
    int status = text_insert(text, 0, 0, kept.c_str(), int(kept.size()));
    // A large insertion leaves the moved (empty) tail block behind; an empty block would be
    // written as a newline, so the blocks left empty go.
    h = text_header(text);
    Handle task = h->task, resource = h->resource;
    for (Handle block = next_block(h->first_block); block;) {
        Handle after = next_block(block);
        if (block_length(block_text(block)) == 0) RemoveRecord(task, resource, block);
        block = after;
    }
    // The first block stays (the header points at it): an empty one takes the next one's text.
    Handle first = h->first_block, second = next_block(first);
    if (second && block_length(block_text(first)) == 0) {
        std::memcpy(block_text(first), block_text(second), block_length(block_text(second)) + 1);
        RemoveRecord(task, resource, second);
    }
    text_edited(text, h->first_block);
    return status;
}
