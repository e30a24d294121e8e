// TextTask: the keyboard editor of the system. It edits the text object of the one input field
// that has the focus (an input line of a window, kind 3, or a text line of the text task, kind
// 26), moves and blinks its cursor, scrolls the visible part and, in a single-line field, hands
// the finished line to the text's creating task as a string event on Return.
//
// A field is a window object whose data is its text object; the object's text area holds the
// edit values (TextLineState, window/object.h). The cursor is the text header's: cursor x is a
// byte column of the line, cursor y a row counted from the field's top line. Text is drawn in
// a fixed grid: one cell of half the font size per single-byte character, two per double-byte
// character, rows one line height apart, the first cell 2 pixels from the field's left edge.
#pragma once

#include <cstdint>

#include "core/pool.h"

// Text flags the editor uses (the flags word of the text header).
constexpr uint32_t TEXT_CURSOR_LEAD = 0x10;      // the cursor stands on a lead byte
constexpr uint32_t TEXT_CURSOR_TRAIL = 0x20;     // the cursor stands on a trail byte
constexpr uint32_t TEXT_READ_ONLY = 0x40;        // only movement and paging
constexpr uint32_t TEXT_SINGLE_LINE = 0x80;      // one line; Return sends it
constexpr uint32_t TEXT_FOCUSED = 0x100;         // the field has the focus
constexpr uint32_t TEXT_KEYWORDS = 0x200;        // lines drawn with keyword highlighting
constexpr uint32_t TEXT_CURSOR_SHOWN = 0x400;    // the cursor is drawn (blink state)
constexpr uint32_t TEXT_SINGLE_BYTE = 0x2000;    // double-byte input converted or refused
constexpr uint32_t TEXT_DIGITS_ONLY = 0x4000;    // only "0" to "9"
constexpr uint32_t TEXT_CURSOR_IN_TAB = 0x8000;  // the cursor stands on an expanded tab

// Key codes the editor acts on (the first byte of a key event).
enum TextKeyCode : uint8_t {
    KEY_PAGE_UP = 3,
    KEY_PAGE_DOWN = 4,
    KEY_UP = 5,
    KEY_DOWN = 6,
    KEY_LEFT = 7,
    KEY_RIGHT = 8,
    KEY_TAB = 9,
    KEY_BACKSPACE = 11,
    KEY_DELETE = 12,
    KEY_RETURN = 13,
    KEY_ESCAPE = 15,
};
// Modifier bits of a key event.
constexpr uint32_t KEY_MOD_SHIFT = 0x01;
constexpr uint32_t KEY_MOD_INSERT = 0x1000;

// The focused field (an object handle, or empty) and the first text line made in the system.
extern Handle g_text_focus;
extern Handle g_first_text_line;

void TextTask(Handle task);

// Gives the focus to the n-th input field of `window` (n from 1): the n-th text line of the
// text task, or else the n-th input line. The object that now has the focus, or empty.
Handle ChangeText(Handle window, int n);
// Gives the focus to this field (an input line or text line with a text object); the field,
// or empty.
Handle FocusTextField(Handle object);

// The key handler on the focused field: the key's first and second byte and the modifier
// bits. 1 when the key was taken as an edit, 0 otherwise.
int TextKey(uint8_t key, uint8_t second, uint32_t modifiers);

// Drawing a field: the whole field from its top line, and the cursor's three entry points.
void DrawTextField(Handle object);
void TextCursorOn(Handle object);
void TextCursorOff(Handle object);
void TextCursorHide(Handle object);

// Keeps `object` as the first text line when none is kept yet (CreateTextLine calls it).
void RememberTextLine(Handle object);
// Forgets the focus, the first text line and a half-typed double-byte character.
void ResetTextTask();
