// The character grid of the text task's fields and their drawing: rows of text from a cell
// column on, keyword highlighting and the cursor mark (a filled cell with its character drawn
// over it in the paper colour).
#include "window/text_field.h"

#include <algorithm>
#include <cstring>

#include "host/sjis.h"
#include "text/str.h"
#include "text/text.h"
#include "window/colors.h"
#include "window/draw.h"
#include "window/gc.h"
#include "window/object_draw.h"
#include "window/text_task.h"
#include "window/win_text.h"
#include "window/window.h"

namespace text_field {

namespace {

constexpr int kLeftMargin = 2;
constexpr int kTopMargin = 2;
// System colour of highlighted keywords ("blue").
constexpr int kHighlightColor = 3;
constexpr const char kKeywords[] =
    "#include,#define,unsigned,signed,typedef,struct,union,float,double,long,short,char,void,"
    "int,/*,*/,";

uint32_t paper_color() {
    return NearestColor(0xFFFFFF);
}

uint32_t ink_color(const Field& f) {
    GCRecord* g = gc_record(f.gc);
    return g ? g->text : 0;
}

int window_width(const Field& f) {
    WindowRecord* w = window_record(f.window);
    return w ? w->width : 0;
}

int window_height(const Field& f) {
    WindowRecord* w = window_record(f.window);
    return w ? w->height : 0;
}

// Per byte of the row: whether it belongs to a keyword (only in fields that highlight).
std::vector<bool> highlighted(const Field& f, const Row& row) {
    std::vector<bool> marks(row.bytes.size(), false);
    if (!(text_flags(f) & TEXT_KEYWORDS)) return marks;
    size_t i = 0;
    while (i < row.bytes.size()) {
        while (i < row.bytes.size() && IsSeparator(row.bytes[i]))
            ++i;
        size_t start = i;
        while (i < row.bytes.size() && !IsSeparator(row.bytes[i]))
            i += size_t(std::max(1, char_length(row.bytes, int(i))));
        i = std::min(i, row.bytes.size());
        if (i > start && is_keyword(row.bytes.substr(start, i - start)))
            std::fill(marks.begin() + long(start), marks.begin() + long(i), true);
    }
    return marks;
}

// The character at byte i drawn in `color` at its cell; tabs and line ends draw nothing.
void draw_char(const Field& f, const Row& row, size_t i, int row_index, uint32_t color) {
    if (i >= row.bytes.size() || row.bytes[i] == '\t') return;
    char ch[3] = {row.bytes[i], 0, 0};
    if (char_length(row.bytes, int(i)) == 2) ch[1] = row.bytes[i + 1];
    int x = kLeftMargin + (row.col[i] - f.state.left_column) * cell_width(f);
    WinColorMessage(f.window, x, kTopMargin + row_index * line_height(f), ch, color);
}

}  // namespace

bool load(Handle object, Field* f) {
    ObjectRecord* o = object_record(object);
    if (!o || (o->kind != OBJ_INPUT && o->kind != OBJ_TEXTLINE) || !text_header(o->data))
        return false;
    f->object = object;
    f->window = o->window;
    f->parent = o->parent;
    f->gc = o->gc;
    f->text = o->data;
    std::memcpy(&f->state, o->text, sizeof f->state);
    return true;
}

void store(const Field& f) {
    if (ObjectRecord* o = object_record(f.object)) std::memcpy(o->text, &f.state, sizeof f.state);
}

Row row_of(const std::string& bytes, int tab_width) {
    if (tab_width < 1) tab_width = 4;
    Row row;
    row.bytes = bytes;
    row.col.assign(bytes.size() + 1, 0);
    int c = 0;
    for (size_t i = 0; i < bytes.size();) {
        row.col[i] = c;
        if (bytes[i] == '\t') {
            c = (c / tab_width + 1) * tab_width;
            ++i;
        } else if (char_length(bytes, int(i)) == 2) {
            row.col[i + 1] = c + 1;
            c += 2;
            i += 2;
        } else {
            ++c;
            ++i;
        }
    }
    row.col[bytes.size()] = c;
    return row;
}

Row line_row(const Field& f, uint32_t line) {
    TextHeader* h = text_header(f.text);
    if (!h || line > h->lines) return row_of("", 4);
    int tab = h->tab_width;
    static thread_local std::vector<char> buffer(kTextLineSize);
    if (!GetRawTextLine(f.text, int(line), buffer.data(), buffer.size())) buffer[0] = '\0';
    return row_of(buffer.data(), tab);
}

int char_length(const std::string& bytes, int x) {
    if (x < 0 || size_t(x) >= bytes.size()) return 0;
    if (size_t(x) + 1 < bytes.size() && IsSjisLead(uint8_t(bytes[size_t(x)])) &&
        IsSjisTrail(uint8_t(bytes[size_t(x) + 1])))
        return 2;
    return 1;
}

int byte_att(const std::string& bytes, int x) {
    if (x < 0 || size_t(x) >= bytes.size()) return -1;
    int i = 0;
    while (i < x)
        i += char_length(bytes, i);
    if (i > x) return 2;
    return char_length(bytes, x) == 2 ? 1 : 0;
}

int char_start_before(const std::string& bytes, int x) {
    int i = 0, before = 0;
    while (i < x && size_t(i) < bytes.size()) {
        before = i;
        i += char_length(bytes, i);
    }
    return before;
}

int cell_width(const Field& f) {
    return object_cell_width(f.gc);
}

int line_height(const Field& f) {
    return object_line_height(f.gc);
}

int columns(const Field& f) {
    return std::max<int>(1, f.state.visible_columns);
}

int rows(const Field& f) {
    return std::max<int>(1, f.state.visible_lines);
}

uint32_t last_line(const Field& f) {
    TextHeader* h = text_header(f.text);
    return h ? h->lines : 0;
}

bool single_line(const Field& f) {
    return text_flags(f) & TEXT_SINGLE_LINE;
}

uint32_t text_flags(const Field& f) {
    TextHeader* h = text_header(f.text);
    return h ? h->flags : 0;
}

void set_text_flags(const Field& f, uint32_t set, uint32_t clear) {
    if (TextHeader* h = text_header(f.text)) h->flags = (h->flags & ~clear) | set;
}

void draw_row(const Field& f, int row_index, int from_col) {
    if (row_index < 0 || row_index >= rows(f) || !window_drawable(f.window)) return;
    int cw = cell_width(f), lh = line_height(f);
    int width = window_width(f), y = kTopMargin + row_index * lh;
    if (y + lh > window_height(f)) return;
    Row row = line_row(f, f.state.top_line + uint32_t(row_index));
    int left = f.state.left_column;
    from_col = std::max(from_col, left);
    // Start at the character that holds the cell, so a double-byte character stays whole.
    size_t i = 0;
    while (i < row.bytes.size() && row.col[i + size_t(char_length(row.bytes, int(i)))] <= from_col)
        i += size_t(char_length(row.bytes, int(i)));
    int x0 = kLeftMargin +
             ((i < row.bytes.size() ? std::min(row.col[i], from_col) : from_col) - left) * cw;
    if (x0 < width - kLeftMargin)
        FillRectangle(f.window, x0, y, uint16_t(width - kLeftMargin - x0), uint16_t(lh),
                      paper_color());
    std::vector<bool> marks = highlighted(f, row);
    uint32_t ink = ink_color(f), keyword = SystemColor(kHighlightColor);
    while (i < row.bytes.size()) {
        int n = char_length(row.bytes, int(i));
        int end = row.col[i + size_t(n)];
        if (kLeftMargin + (end - left) * cw > width - kLeftMargin) break;
        if (row.col[i] >= left) draw_char(f, row, i, row_index, marks[i] ? keyword : ink);
        i += size_t(n);
    }
}

void draw_rows(const Field& f, int row) {
    for (int r = std::max(0, row); r < rows(f); ++r)
        draw_row(f, r);
}

void cursor_draw(const Field& f, bool on) {
    TextHeader* h = text_header(f.text);
    if (!h) return;
    int cursor_y = h->cursor_y;
    Row row = line_row(f, f.state.top_line + uint32_t(cursor_y));
    h = text_header(f.text);
    int x = std::min<int>(h->cursor_x, int(row.bytes.size()));
    int att = byte_att(row.bytes, x);
    uint32_t flags = 0;
    if (att == 2) {
        flags |= TEXT_CURSOR_TRAIL;
        x = char_start_before(row.bytes, x + 1);
    } else if (att == 1) {
        flags |= TEXT_CURSOR_LEAD;
    }
    bool tab = att >= 0 && row.bytes[size_t(x)] == '\t';
    if (tab) flags |= TEXT_CURSOR_IN_TAB;
    set_text_flags(f, flags, TEXT_CURSOR_LEAD | TEXT_CURSOR_TRAIL | TEXT_CURSOR_IN_TAB);

    int cw = cell_width(f), lh = line_height(f);
    int cells = att == 1 || att == 2 ? 2 : 1;
    int cell = row.col[size_t(x)] - f.state.left_column;
    int px = kLeftMargin + cell * cw, py = kTopMargin + cursor_y * lh;
    if (cursor_y < 0 || cursor_y >= rows(f) || cell < 0) return;
    if (px + cells * cw > window_width(f) || py + lh > window_height(f)) return;
    if (!window_drawable(f.window)) return;
    std::vector<bool> marks = highlighted(f, row);
    uint32_t ink = ink_color(f);
    bool keyword = att >= 0 && marks[size_t(x)];
    FillRectangle(f.window, px, py, uint16_t(cells * cw), uint16_t(lh), on ? ink : paper_color());
    uint32_t color = on ? paper_color() : keyword ? SystemColor(kHighlightColor) : ink;
    if (att >= 0 && !tab) draw_char(f, row, size_t(x), cursor_y, color);
}

void mark_span(const Field& f, uint32_t line, int x, int n) {
    if (line < f.state.top_line || line >= f.state.top_line + uint32_t(rows(f))) return;
    if (!window_drawable(f.window)) return;
    int row_index = int(line - f.state.top_line);
    Row row = line_row(f, line);
    int cw = cell_width(f), lh = line_height(f), width = window_width(f);
    int py = kTopMargin + row_index * lh;
    if (py + lh > window_height(f)) return;
    int end = std::min<int>(x + n, int(row.bytes.size()));
    for (int i = std::max(0, x); i < end;) {
        int len = std::max(1, char_length(row.bytes, i));
        int cell = row.col[size_t(i)] - f.state.left_column;
        int cells = row.col[size_t(i + len)] - row.col[size_t(i)];
        int px = kLeftMargin + cell * cw;
        if (cell >= 0 && px + cells * cw <= width) {
            FillRectangle(f.window, px, py, uint16_t(cells * cw), uint16_t(lh), ink_color(f));
            draw_char(f, row, size_t(i), row_index, paper_color());
        }
        i += len;
    }
}

Mark mark_of(const Field& f) {
    Mark m = {0, 0, 0};
    if (TextHeader* h = text_header(f.text)) std::memcpy(&m, h->work, sizeof m);
    return m;
}

void set_mark(const Field& f, uint32_t line, int x, int length) {
    Mark m = {line, uint16_t(std::max(0, x)), uint16_t(std::clamp(length, 0, 0xFFFF))};
    if (TextHeader* h = text_header(f.text)) std::memcpy(h->work, &m, sizeof m);
}

bool is_keyword(const std::string& word) {
    if (word.empty()) return false;
    const char* p = kKeywords;
    while (*p) {
        const char* comma = std::strchr(p, ',');
        size_t n = comma ? size_t(comma - p) : std::strlen(p);
        if (n == word.size() && word.compare(0, n, p, n) == 0) return true;
        if (!comma) break;
        p = comma + 1;
    }
    return false;
}

}  // namespace text_field
