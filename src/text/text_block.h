// Internals shared by the text object sources: blocks, positions and the line caches.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"
#include "text/text.h"

namespace text_internal {

// A place in the text: a block and a byte offset into its text.
struct TextPos {
    Handle block = 0;
    uint32_t offset = 0;
    explicit operator bool() const { return block != 0; }
};

// The text of a block, or nullptr when `block` is not a live block record.
char* block_text(Handle block);
// Length of a block's text (at most kTextBlockText).
uint32_t block_length(const char* text);
// The block after `block` in the chain, or 0 at the end of the text.
Handle next_block(Handle block);
// A new block (a single blank, mark 'B') at the end of the resource's record chain, or 0.
Handle add_block(Handle resource);
// Newline characters in [p, p + n).
uint32_t count_newlines(const char* p, size_t n);

// Start of line y, following TextPoint's rules and logs; an empty position when refused.
TextPos locate_line(Handle text, int y);
// Column x of line y, moving the cache block as text_point does.
TextPos locate_column(Handle text, int x, int y);
// The address of a position (valid until the next pool allocation).
char* pos_address(TextPos pos);

// The text was edited at or after the start of `edited`: the remembered line positions of the
// text are dropped, and the header's cache goes back to the first block unless the edit lay in
// the cache block itself (edits inside the cache block leave its starting line unchanged).
void text_edited(Handle text, Handle edited);

}  // namespace text_internal
