// Arbitrary key sequences typed into a focused field of the text task: any key bytes, lone
// lead and trail bytes, the Shift and Insert modifiers, and every combination of the field's
// restrictions. After every key the field must still hold: the cursor on the first byte of a
// character of its line, the view inside the text, a single-line field within its length and
// on one line, a digits-only single-byte field holding digits only (and the tabs a multi-line
// field takes).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_args.h"
#include "fuzz_folder.h"
#include "kernel/task.h"
#include "kit/boot.h"
#include "text/text.h"
#include "window/object.h"
#include "window/text_field.h"
#include "window/text_task.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

Handle window = 0;
Handle field = 0;
Handle text = 0;

void check(bool ok) {
    if (!ok) __builtin_trap();
}

bool set_up() {
    EnterFuzzFolder("text-keys", "Sys.error.elogfile /dev/null\n");
    BootWindowSystem(640, 480, 64u << 20, 1u << 15);
    Handle task = RegisterTask("Typist", 0, 0);
    OpenTaskEvents(task);
    window = create_window(task, 0, 600, 400, 0);
    open_window(window, 0, 0);
    set_window_mode(window, WIN_OPEN | WIN_DRAWABLE);
    text = CreateText(task, "FUZZ.TXT", 0);
    field = CreateTextLine(text, window, 1, 4, 4, 560, 360);
    set_window_mode(object_record(field)->window, WIN_OPEN | WIN_DRAWABLE);
    return text && field;
}

void check_field(uint32_t flags) {
    text_field::Field f;
    check(text_field::load(field, &f));
    TextHeader* h = text_header(text);
    check(f.state.top_line <= h->lines);
    uint32_t line = f.state.top_line + h->cursor_y;
    check(line <= h->lines);
    text_field::Row row = text_field::line_row(f, line);
    check(h->cursor_x <= row.bytes.size());
    check(text_field::byte_att(row.bytes, h->cursor_x) != 2);
    if (flags & TEXT_SINGLE_LINE) {
        check(h->lines == 0);
        check(h->size <= f.state.visible_columns);
    }
    if ((flags & TEXT_DIGITS_ONLY) && (flags & TEXT_SINGLE_BYTE))
        for (char c : row.bytes)
            check((c >= '0' && c <= '9') || c == '\t');
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);
    if (!set_up()) std::abort();
    return 0;
}

// Bytes: restrictions (0x01 single line, 0x02 digits, 0x04 single byte, 0x08 read only, 0x10
// keywords), visible columns, visible rows, then keys of three bytes each (the key, the second
// byte, modifiers: 0x01 Shift, 0x02 Insert).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3 || size > 1 << 14) return 0;
    uint32_t flags = 0;
    if (data[0] & 0x01) flags |= TEXT_SINGLE_LINE;
    if (data[0] & 0x02) flags |= TEXT_DIGITS_ONLY;
    if (data[0] & 0x04) flags |= TEXT_SINGLE_BYTE;
    if (data[0] & 0x08) flags |= TEXT_READ_ONLY;
    if (data[0] & 0x10) flags |= TEXT_KEYWORDS;
    text_delete(text, 0, 0, 1 << 30);
    TextHeader* h = text_header(text);
    h->flags = TEXT_FLAG_CREATED | flags;
    h->cursor_x = 0;
    h->cursor_y = 0;
    TextLineState s;
    std::memcpy(&s, object_record(field)->text, sizeof s);
    s.top_line = 0;
    s.left_column = 0;
    s.visible_columns = uint16_t(1 + data[1] % 80);
    s.visible_lines = uint16_t(1 + data[2] % 12);
    std::memcpy(object_record(field)->text, &s, sizeof s);
    FocusTextField(field);
    for (size_t i = 3; i + 2 < size; i += 3) {
        uint32_t modifiers =
            (data[i + 2] & 1 ? KEY_MOD_SHIFT : 0) | (data[i + 2] & 2 ? KEY_MOD_INSERT : 0);
        TextKey(data[i], data[i + 1], modifiers);
        if (!g_text_focus) FocusTextField(field);
        check_field(flags);
    }
    return 0;
}
