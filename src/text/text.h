// Text objects: a whole text held as a chain of 2048-byte blocks, addressed by line and column.
// A text object is the resource (file name, "TEXT"): record 1 is the 148-byte header and the
// text handle is that record's handle; every other record is a block. The text is the
// concatenation of the blocks' NUL-terminated texts, from the first block along the record
// chain. Lines end with a newline and are numbered from 0; a line may run on into the next
// block. Pointers returned here point into the pool: valid until the next pool allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/pool.h"

constexpr uint32_t kTextBlockSize = 2048;                // a block record
constexpr uint32_t kTextBlockText = kTextBlockSize - 1;  // most text bytes a block holds
constexpr int kTextHeaderNumber = 1;
// Room GetTextLine assumes in its output buffer when no size is given: the longest line of a
// block with every byte a tab expanded to five blanks fits.
constexpr size_t kTextLineSize = 16384;

// Header flags: the creator's flags always get 0x02 and 0x04.
constexpr uint32_t TEXT_FLAG_CREATED = 0x02 | 0x04;
constexpr uint32_t TEXT_FLAG_SINGLE_LINE = 0x80;

// The header record (number 1 of the text's resource).
struct TextHeader {
    uint32_t reserved0;
    uint32_t id;  // task id of the creating task
    Handle task;  // the creating task
    uint16_t cursor_x;
    uint16_t cursor_y;
    uint8_t tab_width;
    uint8_t pad[3];
    uint32_t flags;
    uint32_t lines;       // newline characters in the text: the last line number
    uint32_t size;        // text bytes (read: characters read plus one)
    uint32_t cache_line;  // newlines before the start of the cache block
    Handle cache_block;   // where the last line search ended
    Handle first_block;
    Handle resource;
    uint8_t work[100];  // for the users of text objects (text task, window objects)
};
static_assert(sizeof(TextHeader) == 148);
static_assert(offsetof(TextHeader, cursor_x) == 12);
static_assert(offsetof(TextHeader, tab_width) == 16);
static_assert(offsetof(TextHeader, flags) == 20);
static_assert(offsetof(TextHeader, resource) == 44);

// The header of a text handle, or nullptr when the handle is not a live text header.
TextHeader* text_header(Handle text);

// The text object of (name, "TEXT"), with a fresh header and one new block holding a single
// blank. Empty, after "Memory Error for CreateText", when it cannot be made.
Handle CreateText(Handle task, const char* name, uint32_t flags);
// Deactivates the header record; the blocks stay in the resource. Returns 0, 1 for a bad handle.
int CloseText(Handle task, Handle text);
// Takes the text's blocks out of its resource for good, then closes it: for texts made and
// dropped while the system runs (the texts of input lines, editors), whose blocks would
// otherwise stay active records that nobody reads again. Returns what CloseText returns.
int FreeText(Handle task, Handle text);

// Reads the file named by the text's resource name in text mode (CR LF arrives as LF) into the
// blocks. Returns 0, 6 when the file cannot be opened, 1 when no block can be had.
int ReadTextFile(Handle text);
// Writes the text in text mode (LF leaves as CR LF). Returns 0, or 6 when the file cannot be
// opened.
int WriteTextFile(Handle text);

// The first character of line y, or nullptr.
char* TextPoint(Handle text, int y);
// Column x (a byte offset) of line y; a column past the end of the line's block continues in
// the next block. nullptr when line y does not exist.
char* text_point(Handle text, int x, int y);
// Copies line y without its newline, tabs expanded, into `out` (`out_size` bytes; the line is
// cut to fit). Returns `out`, or nullptr when the text is empty (size 0; `out` is then empty)
// or the line does not exist.
char* GetTextLine(Handle text, int y, char* out, size_t out_size);
inline char* GetTextLine(Handle text, int y, char* out) {
    return GetTextLine(text, y, out, kTextLineSize);
}

// The same without tab expansion: the line's bytes as they are stored.
char* GetRawTextLine(Handle text, int y, char* out, size_t out_size);
// Inserts the first `len` bytes of `str` (stopping early at a NUL) before column x of line y.
// Returns 0, 1 when nothing could be inserted.
int text_insert(Handle text, int x, int y, const char* str, int len);
// Inserts one character at the cursor: two bytes when `ch` starts with a lead byte, else one.
// The cursor does not move.
int WordInsert(Handle text, const char* ch);
// Deletes `n` bytes from column x of line y on. Returns 0, 1 when line y does not exist.
int text_delete(Handle text, int x, int y, int n);
// Deletes the character at the cursor: two bytes for a lead byte followed by a valid trail
// byte, else one.
int DeleteCursorChar(Handle text);
// Cursor y := the last line, cursor x := that line's length in bytes.
int CursorToEnd(Handle text);
// The whole text: the blocks' texts one after another.
std::string TextBytes(Handle text);
// Replaces the whole text by `n` bytes (NUL bytes are dropped); the cursor goes to (0, 0).
// Returns 0, 1 when the text could not take every byte.
int SetTextBytes(Handle text, const char* bytes, size_t n);
// Display width of the line starting at `p` (up to its newline or its block's end): a tab
// counts the tab width, every other byte one; one less at a block end in a single-line text.
// Counting stops once it exceeds 1024.
int LineColumns(Handle text, const char* p);
