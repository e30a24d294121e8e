// The text task's view of a field: its records, the character grid of one line and the drawing
// of rows and of the cursor. Shared by the task, the key handler and the object drawing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/pool.h"
#include "window/object.h"

namespace text_field {

// A field's handles and edit values, copied out of its object record. Write the values back
// with `store` after changing them.
struct Field {
    Handle object = 0;
    Handle window = 0;  // the object's own sub-window
    Handle parent = 0;
    Handle gc = 0;
    Handle text = 0;
    TextLineState state = {};
};

// False when `object` is not an input line or text line with a text object.
bool load(Handle object, Field* f);
void store(const Field& f);

// The grid of one text line: its bytes and the cell column of each byte (col[i]; col[size]
// is the line's width). A double-byte character's two bytes take two cells, a tab runs to the
// next tab stop.
struct Row {
    std::string bytes;
    std::vector<int> col;
};
Row row_of(const std::string& bytes, int tab_width);
// Line `line` of the field's text (empty when it does not exist), laid out.
Row line_row(const Field& f, uint32_t line);
// What stands at byte x: -1 end of line, 0 a single-byte character, 1 a lead byte, 2 a trail
// byte of a double-byte character.
int byte_att(const std::string& bytes, int x);
// The byte where the character before byte x starts (0 at the start).
int char_start_before(const std::string& bytes, int x);
// Bytes of the character at x: 2 for a valid double-byte pair, else 1 (0 at the end).
int char_length(const std::string& bytes, int x);

// The longest line the editor types into: the cursor's column is a 16-bit value and a line is
// read in one buffer of kTextLineSize bytes.
constexpr int kLongestLine = 16000;

int cell_width(const Field& f);
int line_height(const Field& f);
// The field's grid size: visible columns (at least 1) and rows (at least 1).
int columns(const Field& f);
int rows(const Field& f);
// The text's number of newlines (the last line number), and whether it is a single-line field.
uint32_t last_line(const Field& f);
bool single_line(const Field& f);
uint32_t text_flags(const Field& f);
void set_text_flags(const Field& f, uint32_t set, uint32_t clear);

// Redraws row `row` of the field from cell column `from_col` of its line to the right edge.
void draw_row(const Field& f, int row, int from_col = 0);
// Redraws every row from `row` down.
void draw_rows(const Field& f, int row = 0);
// Draws the cursor cell(s) marked (on) or plain (off) and sets the text flags 0x10, 0x20 and
// 0x8000 from the character at the cursor.
void cursor_draw(const Field& f, bool on);

// Draws the characters of bytes [x, x + n) of text line `line` marked (in the cursor's
// colours), where they are in view.
void mark_span(const Field& f, uint32_t line, int x, int n);

// The span a field shows marked until the next key (a search match): kept in the text
// header's work area. Length 0: none.
struct Mark {
    uint32_t line;
    uint16_t x;
    uint16_t length;
};
Mark mark_of(const Field& f);
void set_mark(const Field& f, uint32_t line, int x, int length);

// Whether `word` is one of the highlighted keywords.
bool is_keyword(const std::string& word);

}  // namespace text_field
