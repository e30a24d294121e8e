// The text task's key handler: cursor movement and paging (also in read-only fields), typing
// in overwrite or insert mode, double-byte characters, Delete, Backspace, Tab, Return and
// Escape. Every edit changes the text object first and then redraws the part of the field that
// changed; the cursor is hidden before and drawn again after.
//
// The text line under the cursor is the field's top line + cursor y. Edits address that line
// directly (not the text header's cursor, whose y counts from the top line). A double-byte
// character is never split: the cursor always stands on a character's first byte.
#include <algorithm>
#include <cstring>
#include <string>

#include "core/log.h"
#include "host/sjis.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "text/str.h"
#include "text/text.h"
#include "window/text_field.h"
#include "window/text_task.h"
#include "window/window.h"

using text_field::Field;
using text_field::Row;

namespace {

// A lead byte whose trail byte has not arrived yet; the next key completes it.
uint8_t g_pending_lead = 0;

struct Cursor {
    int x;
    int y;  // row from the top line
};

Cursor cursor(const Field& f) {
    TextHeader* h = text_header(f.text);
    return h ? Cursor{h->cursor_x, h->cursor_y} : Cursor{0, 0};
}

void set_cursor(const Field& f, int x, int y) {
    if (TextHeader* h = text_header(f.text)) {
        h->cursor_x = uint16_t(std::max(0, x));
        h->cursor_y = uint16_t(std::max(0, y));
    }
}

uint32_t cursor_line(const Field& f) {
    return f.state.top_line + uint32_t(cursor(f).y);
}

Row cursor_row(const Field& f) {
    return text_field::line_row(f, cursor_line(f));
}

uint32_t text_size(const Field& f) {
    TextHeader* h = text_header(f.text);
    return h ? h->size : 0;
}

// The largest multiple of the visible columns not above `col`.
uint16_t view_start(const Field& f, int col) {
    int width = text_field::columns(f);
    return uint16_t(std::max(0, col) / width * width);
}

// In a multi-line field, moves the view sideways so that the cursor's cell is visible; true
// when the view moved (the caller redraws the field).
bool follow_cursor(Field& f, const Row& row, int x) {
    if (text_field::single_line(f)) return false;
    int col = row.col[size_t(std::clamp<int>(x, 0, int(row.bytes.size())))];
    int cell = col - f.state.left_column;
    if (cell >= 0 && cell < text_field::columns(f)) return false;
    f.state.left_column = view_start(f, col);
    text_field::store(f);
    return true;
}

void redraw_all(Field& f) {
    text_field::store(f);
    text_field::draw_rows(f);
}

// Keeps the cursor on a character of its (new) line after a vertical move.
void settle_cursor(Field& f) {
    Row row = cursor_row(f);
    Cursor c = cursor(f);
    int x = std::min<int>(c.x, int(row.bytes.size()));
    if (text_field::byte_att(row.bytes, x) == 2) x = text_field::char_start_before(row.bytes, x);
    set_cursor(f, x, c.y);
    if (follow_cursor(f, row, x)) redraw_all(f);
}

// Scrolls the view by `lines` (negative: up). False when it could not move.
bool scroll(Field& f, int lines) {
    long top = long(f.state.top_line) + lines;
    if (top < 0 || top > long(text_field::last_line(f))) return false;
    f.state.top_line = uint32_t(top);
    redraw_all(f);
    return true;
}

void move_left(Field& f) {
    Cursor c = cursor(f);
    Row row = cursor_row(f);
    int x = std::min<int>(c.x, int(row.bytes.size()));
    if (x > 0) {
        x = text_field::char_start_before(row.bytes, x);
        set_cursor(f, x, c.y);
        if (follow_cursor(f, row, x)) redraw_all(f);
        return;
    }
    if (text_field::single_line(f) || cursor_line(f) == 0) return;
    // Column 0: to the end of the row above.
    if (c.y == 0)
        scroll(f, -1);
    else
        --c.y;
    Row above = text_field::line_row(f, f.state.top_line + uint32_t(c.y));
    set_cursor(f, int(above.bytes.size()), c.y);
    if (follow_cursor(f, above, int(above.bytes.size()))) redraw_all(f);
}

void move_right(Field& f) {
    Cursor c = cursor(f);
    Row row = cursor_row(f);
    int x = std::min<int>(c.x, int(row.bytes.size()));
    if (size_t(x) < row.bytes.size()) {
        x += text_field::char_length(row.bytes, x);
        set_cursor(f, x, c.y);
        if (follow_cursor(f, row, x)) redraw_all(f);
        return;
    }
    if (text_field::single_line(f) || cursor_line(f) >= text_field::last_line(f)) return;
    // Past the end of the line: to column 0 of the next row.
    if (f.state.left_column > 0) {
        f.state.left_column = 0;
        redraw_all(f);
    }
    if (c.y + 1 >= text_field::rows(f))
        scroll(f, 1);
    else
        ++c.y;
    set_cursor(f, 0, c.y);
}

void move_up(Field& f, uint32_t modifiers) {
    Cursor c = cursor(f);
    if (c.y > 0) {
        set_cursor(f, c.x, c.y - 1);
    } else if (scroll(f, -1)) {
        // Shift held: on to the top.
        while ((modifiers & KEY_MOD_SHIFT) && f.state.top_line > 0)
            scroll(f, -1);
    }
    settle_cursor(f);
}

void move_down(Field& f, uint32_t modifiers) {
    Cursor c = cursor(f);
    uint32_t last = text_field::last_line(f);
    auto more_below = [&] { return f.state.top_line + uint32_t(text_field::rows(f)) - 1 < last; };
    if (c.y + 1 < text_field::rows(f)) {
        if (cursor_line(f) < last) set_cursor(f, c.x, c.y + 1);
    } else if (more_below() && scroll(f, 1)) {
        while ((modifiers & KEY_MOD_SHIFT) && more_below())
            scroll(f, 1);
    }
    settle_cursor(f);
}

// Page down and up; false when the view could not move.
bool page(Field& f, bool down) {
    uint32_t lines = text_field::last_line(f);
    uint32_t visible = uint32_t(text_field::rows(f));
    if (visible > lines) return false;
    WindowRecord* w = window_record(f.window);
    int page_rows = (w ? w->height : 0) / text_field::line_height(f);
    uint32_t step = uint32_t(std::max(1, page_rows - 2));
    if (down) {
        if (f.state.top_line + visible >= lines) return false;
        f.state.top_line += step;
        if (f.state.top_line + visible > lines) f.state.top_line = lines - visible;
    } else {
        if (f.state.top_line == 0) return false;
        f.state.top_line = f.state.top_line > step ? f.state.top_line - step : 0;
    }
    redraw_all(f);
    settle_cursor(f);
    return true;
}

// Inserts `bytes` at the cursor, in place of the character under it in overwrite mode (not on
// the last line, not at a line end), moves the cursor on and redraws.
void type_bytes(Field& f, const char* bytes, int n, bool insert) {
    Cursor c = cursor(f);
    uint32_t line = cursor_line(f);
    Row row = cursor_row(f);
    int x = std::min<int>(c.x, int(row.bytes.size()));
    if (int(row.bytes.size()) + n > text_field::kLongestLine) return;
    if (size_t(x) < row.bytes.size()) {
        if (!insert && line != text_field::last_line(f))
            text_delete(f.text, x, int(line), text_field::char_length(row.bytes, x));
        text_insert(f.text, x, int(line), bytes, n);
    } else {
        text_insert(f.text, x, int(line), bytes, n);
        LogLine("ret WordInsert() for input_alphabet() in TextTask");
    }
    set_cursor(f, x + n, c.y);
    Row after = cursor_row(f);
    if (follow_cursor(f, after, x + n))
        redraw_all(f);
    else
        text_field::draw_row(f, c.y, row.col[size_t(x)]);
}

bool field_full(const Field& f, int adding) {
    return text_field::single_line(f) &&
           text_size(f) + uint32_t(adding) > uint32_t(f.state.visible_columns);
}

void input_alphabet(Field& f, uint8_t key, uint32_t modifiers) {
    if (field_full(f, 1)) return;
    if ((text_field::text_flags(f) & TEXT_DIGITS_ONLY) && (key < '0' || key > '9')) return;
    char ch[2] = {char(key), 0};
    type_bytes(f, ch, 1, modifiers & KEY_MOD_INSERT);
}

void double_byte(Field& f, uint8_t lead, uint8_t trail, uint32_t modifiers) {
    LogLine("TEXTTASK 2byte key press");
    if (field_full(f, 2)) return;
    uint32_t flags = text_field::text_flags(f);
    char ch[3] = {char(lead), char(trail), 0};
    if (flags & TEXT_SINGLE_BYTE) {
        if (ToHalfWidth(ch)) input_alphabet(f, uint8_t(ch[0]), modifiers);
        return;
    }
    if (flags & TEXT_DIGITS_ONLY) return;
    type_bytes(f, ch, 2, modifiers & KEY_MOD_INSERT);
    LogLine("TEXTTASK 2byte key end");
}

// Hands the focus to the window's first field (tried a second time when it fails).
void focus_first(const Field& f) {
    if (!ChangeText(f.parent, 1)) ChangeText(f.parent, 1);
}

std::string type_name(Handle handle) {
    HandleEntry* e = handle_entry(handle);
    return e ? std::string(e->mark, 2) : std::string();
}

int return_key(Field& f) {
    LogLinef("  body type %s   text type %s", type_name(f.object).c_str(),
             type_name(f.text).c_str());
    Cursor c = cursor(f);
    if (!text_field::single_line(f)) {
        Row row = cursor_row(f);
        int x = std::min<int>(c.x, int(row.bytes.size()));
        text_insert(f.text, x, int(cursor_line(f)), "\n", 1);
        f.state.left_column = 0;
        if (c.y + 1 >= text_field::rows(f))
            ++f.state.top_line;
        else
            ++c.y;
        set_cursor(f, 0, c.y);
        redraw_all(f);
        return 1;
    }
    std::string line = cursor_row(f).bytes;
    TextHeader* h = text_header(f.text);
    uint32_t owner = h ? h->id : 0;
    SendStringEvent(g_tasks.text, owner, line.c_str());
    TextCursorOff(f.object);
    focus_first(f);
    return 0;
}

// Deletes the character at byte x of the cursor line (the newline at a line end) and redraws.
void delete_at(Field& f, int x) {
    Cursor c = cursor(f);
    uint32_t line = cursor_line(f);
    Row row = cursor_row(f);
    x = std::min<int>(x, int(row.bytes.size()));
    int n = text_field::char_length(row.bytes, x);
    if (n == 0) {
        if (line >= text_field::last_line(f)) return;  // the end of the text
        n = 1;                                         // the newline: joins the next line
    }
    text_delete(f.text, x, int(line), n);
    set_cursor(f, x, c.y);
    if (size_t(x) >= row.bytes.size())
        text_field::draw_rows(f, c.y);
    else
        text_field::draw_row(f, c.y, row.col[size_t(x)]);
}

int delete_key(Field& f) {
    LogLine("TEXTTASK  del key press");
    if (text_size(f) == 0) return 0;
    delete_at(f, cursor(f).x);
    LogLine("TEXTTASK  del key end");
    return 1;
}

int backspace_key(Field& f) {
    LogLine("press BS key");
    Cursor c = cursor(f);
    if ((c.x == 0 && cursor_line(f) == 0) || text_size(f) == 0) return 0;
    int x = c.x;
    if (x > 0) {
        Row row = cursor_row(f);
        x = text_field::char_start_before(row.bytes, std::min<int>(x, int(row.bytes.size())));
        set_cursor(f, x, c.y);
        if (follow_cursor(f, row, x)) redraw_all(f);
    }
    delete_at(f, x);
    LogLine("end BS");
    return 1;
}

int tab_key(Field& f) {
    if (text_field::single_line(f)) {
        TextCursorOff(f.object);
        focus_first(f);
        return 0;
    }
    Cursor c = cursor(f);
    Row row = cursor_row(f);
    int x = std::min<int>(c.x, int(row.bytes.size()));
    if (int(row.bytes.size()) + 1 > text_field::kLongestLine) return 1;
    text_insert(f.text, x, int(cursor_line(f)), "\t", 1);
    set_cursor(f, x + 1, c.y);
    if (follow_cursor(f, cursor_row(f), x + 1))
        redraw_all(f);
    else
        text_field::draw_row(f, c.y, row.col[size_t(x)]);
    return 1;
}

bool is_double_byte_key(uint8_t k) {
    return (k >= 0x81 && k <= 0x9F) || (k >= 0xE0 && k <= 0xEF);
}

}  // namespace

int TextKey(uint8_t key, uint8_t second, uint32_t modifiers) {
    Field f;
    if (!g_text_focus || !text_field::load(g_text_focus, &f)) {
        g_text_focus = 0;
        g_pending_lead = 0;
        return 0;
    }
    if (!test_window_mode(f.parent, WIN_DRAWABLE)) return 0;
    // The trail byte of a character whose lead byte came alone.
    if (g_pending_lead) {
        if (second == 0 && IsSjisTrail(key)) {
            second = key;
            key = g_pending_lead;
        }
        g_pending_lead = 0;
    }
    TextCursorHide(f.object);
    // A marked span (a search match) lasts until the next key.
    if (text_field::mark_of(f).length) {
        text_field::set_mark(f, 0, 0, 0);
        text_field::draw_rows(f);
    }
    switch (key) {
        case KEY_UP:
            move_up(f, modifiers);
            break;
        case KEY_DOWN:
            move_down(f, modifiers);
            break;
        case KEY_LEFT:
            move_left(f);
            break;
        case KEY_RIGHT:
            move_right(f);
            break;
        case KEY_PAGE_DOWN:
        case KEY_PAGE_UP:
            if (!page(f, key == KEY_PAGE_DOWN)) return 0;
            break;
        default:
            break;
    }
    if (text_field::text_flags(f) & TEXT_READ_ONLY) {
        TextCursorOn(f.object);
        return 0;
    }
    int taken = 1;
    if (is_double_byte_key(key)) {
        if (second == 0) {
            g_pending_lead = key;
        } else if (IsSjisTrail(second)) {
            double_byte(f, key, second, modifiers);
        }
    } else if (key == KEY_ESCAPE) {
        TextCursorOff(f.object);
        g_text_focus = 0;
        return 0;
    } else if (key == KEY_TAB) {
        taken = tab_key(f);
    } else if (key == KEY_RETURN) {
        taken = return_key(f);
    } else if (key == KEY_DELETE) {
        taken = delete_key(f);
    } else if (key == KEY_BACKSPACE) {
        taken = backspace_key(f);
    } else if ((key >= 0x20 && key <= 0x7E) || (key >= 0xA1 && key <= 0xDF)) {
        input_alphabet(f, key, modifiers);
    }
    if (taken) TextCursorOn(f.object);
    return taken;
}

void ResetTextTask() {
    g_text_focus = 0;
    g_first_text_line = 0;
    g_pending_lead = 0;
}
