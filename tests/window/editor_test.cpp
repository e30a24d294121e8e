// The editor: its slots and windows, its system-menu entry, reading, searching,
// replacing and writing files byte for byte, its commands and its refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "resource/resource.h"
#include "resource/task_record.h"

#include "core/pool.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/task.h"
#include "text/text.h"
#include "window/editor.h"
#include "window/object.h"
#include "window/object_draw.h"
#include "window/text_task.h"
#include "window/window.h"
#include "window_env.h"

namespace {

TEST(EditorSearchText, FindsWholeCharactersInBothDirections) {
    struct Case {
        const char* name;
        std::string text, word;
        size_t from;
        bool forward;
        size_t expected;
    };
    const size_t none = std::string::npos;
    const std::vector<Case> cases = {
        {"forward from the start", "abcabc", "bc", 0, true, 1},
        {"forward from inside", "abcabc", "bc", 2, true, 4},
        {"backward before from", "abcabc", "bc", 4, false, 1},
        {"backward from the end", "abcabc", "bc", 6, false, 4},
        {"nothing", "abc", "x", 0, true, none},
        {"empty word", "abc", "", 0, true, none},
        // "\xA0\x82" spans the trail of one character and the lead of the next.
        {"not across two characters", Sj("あい"), "\xA0\x82", 0, true, none},
        {"not across two characters backward", Sj("あい"), "\xA0\x82", 4, false, none},
        {"a double-byte word", "x" + Sj("漢字漢"), Sj("漢"), 2, true, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindWord(c.text, c.word, c.from, c.forward), c.expected) << c.name;
}

TEST(EditorSearchText, ReplacesEveryMatchOnOneSideOfTheCursor) {
    std::string text = "a-a-a-a";
    EXPECT_EQ(ReplaceEvery(&text, "a", "bb", 2, true), 3);
    EXPECT_EQ(text, "a-bb-bb-bb");
    text = "a-a-a-a";
    EXPECT_EQ(ReplaceEvery(&text, "a", "", 3, false), 2);
    EXPECT_EQ(text, "--a-a");
    text = Sj("ああ");
    EXPECT_EQ(ReplaceEvery(&text, "\xA0\x82", "X", 0, true), 0);
    EXPECT_EQ(text, Sj("ああ"));
}

class EditorTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        task_ = NewTask("EditTask");
        ResetEditor();
        ResetTextTask();
        InitEditor(task_);
    }
    void TearDown() override {
        ResetEditor();
        WindowTest::TearDown();
    }
    std::string Content(int slot) { return TextBytes(EditorText(slot)); }
    // The cursor's line (from the top line) and column.
    std::pair<uint32_t, int> Cursor(int slot) {
        ObjectRecord* o = object_record(g_editor.slots[slot].area);
        TextLineState s;
        std::memcpy(&s, o->text, sizeof s);
        TextHeader* h = text_header(o->data);
        return {s.top_line + h->cursor_y, h->cursor_x};
    }
    // An event of the window manager about `window`, taken by the editor one per call.
    void Deliver(uint16_t code, Handle window) {
        EventRecord* e = event_record(SendEvent(TASK_ID_WINDOW, TaskId(task_), code));
        ASSERT_NE(e, nullptr);
        e->value = window;
        for (int i = 0; i < 1000 && task_record(task_)->cursor != g_event_tail; ++i)
            EditTask(task_);
    }

    Handle task_ = 0;
};

TEST_F(EditorTest, TheStartAddsTheSystemMenuEntry) {
    EXPECT_TRUE(Logged("EditTaskData init."));
    std::vector<EventRecord> adds = EventsTo(TASK_ID_MENU);
    ASSERT_EQ(adds.size(), 1u);
    EXPECT_EQ(adds[0].code, EVENT_MENU_ADD);
    uint16_t item;
    std::memcpy(&item, adds[0].data, sizeof item);
    EXPECT_EQ(item, kEditorMenuEntry);
    EXPECT_STREQ(adds[0].data + kMenuEventLabel, "Editer");
    EXPECT_STREQ(adds[0].data + 24, "テキストエディター (0.4)"_sj);
    // The menus' items are in the goldens of the whole-system editor run.
}

TEST_F(EditorTest, SevenSlotsTheEighthRefusedAndAClosedSlotReused) {
    for (int i = 0; i < kEditorSlots; ++i)
        EXPECT_EQ(OpenEditor(), i);
    EXPECT_EQ(OpenEditor(), -1);
    EXPECT_TRUE(Logged("これ以上テキストは編集できません"_sj));
    EXPECT_EQ(g_editor.made, kEditorSlots);

    Handle w = g_editor.slots[2].window;
    const WindowRecord& r = *window_record(w);
    EXPECT_STREQ(r.name, "nameless2");
    EXPECT_EQ(r.mode & 0x1B8u, 0x1B8u);
    int cell = object_cell_width(g_editor.gc), line = object_line_height(g_editor.gc);
    EXPECT_EQ(r.width, 62 * cell);
    EXPECT_EQ(r.height, 22 * line);
    for (uint16_t n : {3, 4, 10, 11, 12, 13, 14})
        EXPECT_NE(ReqObject(w, n), 0u) << n;
    EXPECT_EQ(object_record(ReqObject(w, EDIT_AREA))->kind, OBJ_TEXTLINE);
    Handle search = object_record(g_editor.slots[2].search)->window;
    EXPECT_STREQ(window_record(search)->name, "SearchSubWindow");
    EXPECT_FALSE(test_window_mode(search, WIN_SHOW)) << "made closed";
    for (uint16_t n : {20, 21, 22, 23, 24})
        EXPECT_NE(ReqObject(search, n), 0u) << n;

    Handle text = EditorText(2);
    CloseEditor(2);
    EXPECT_EQ(window_record(w), nullptr);
    EXPECT_TRUE(handle_entry(text)->flags & RECORD_INACTIVE) << "the text goes with the window";
    EXPECT_EQ(OpenEditor(), 2);
    EXPECT_STREQ(window_record(g_editor.slots[2].window)->name, "nameless2");
    EXPECT_EQ(Content(2), "");
}

TEST_F(EditorTest, ReadingRefusesLongNamesMissingFilesAndAFileOpenTwice) {
    int slot = OpenEditor();
    std::string long_name(41, 'n');
    EXPECT_EQ(EditorReadFile(slot, long_name.c_str()), 1);
    EXPECT_TRUE(Logged(long_name + "のﾌｧｲﾙ名が長すぎます 40まで"_sj));
    EXPECT_EQ(EditorReadFile(slot, "missing.txt"), 1);
    EXPECT_TRUE(Logged("missing.txtが見つかりません"_sj));
    WriteFile("a.txt", "a\n");
    EXPECT_EQ(EditorReadFile(slot, "a.txt"), 0);
    int other = OpenEditor();
    EXPECT_EQ(EditorReadFile(other, "a.txt"), 1);
    EXPECT_EQ(Content(slot), "a\n");
}

TEST_F(EditorTest, AFiveMegabyteTextThatIsNoProperShiftJisKeepsEveryByte) {
    // Lead bytes without trail bytes, lone trail bytes, half-width katakana, CR LF line ends.
    std::string content;
    for (int i = 0; content.size() < (5u << 20); ++i) {
        content += char(0x80 + (i * 37) % 0x7F);
        content += char('a' + i % 26);
        if (i % 61 == 60) content += "\r\n";
    }
    WriteFile("big.bin", content);
    int slot = OpenEditor();
    ASSERT_EQ(EditorReadFile(slot, "big.bin"), 0);
    // Replace every "a" by "b" (as characters, so never a trail byte).
    int replaced = EditorReplace(slot, "a", "b", true, true);
    EXPECT_GT(replaced, 0);
    ASSERT_EQ(EditorWriteFile(slot), 0);
    std::string expected = content;
    EXPECT_EQ(ReplaceEvery(&expected, "a", "b", 0, true), replaced);
    std::string written = ReadFile("big.bin");
    EXPECT_EQ(written.size(), content.size());
    EXPECT_TRUE(written == expected) << "no byte lost or changed but the replaced ones";
}

TEST_F(EditorTest, AFileWithBytesTheTextCannotHoldIsReadButNeverWritten) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string text;     // as the editor shows it
        std::string written;  // after a save; empty: refused, the file stays as it was
    };
    const std::vector<Case> cases = {
        {"NUL bytes", std::string("a\0b\r\n", 5), "ab\n", ""},
        {"a Ctrl-Z before the end",
         "a\r\n\x1a"
         "after",
         "a\n", ""},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "\x89PNG\n", ""},
        {"bare line feeds", "a\nb\n", "a\nb\n", "a\r\nb\r\n"},
        {"lone carriage returns", "a\rb\r\r\n", "a\rb\r\n", "a\rb\r\r\n"},
        {"empty", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile("data.bin", c.bytes);
        int slot = OpenEditor();
        ASSERT_GE(slot, 0);
        ASSERT_EQ(EditorReadFile(slot, "data.bin"), 0);
        EXPECT_EQ(Content(slot), c.text);
        bool refused = c.written.empty() && !c.bytes.empty();
        EXPECT_EQ(EditorWriteFile(slot), refused ? 1 : 0);
        EXPECT_EQ(ReadFile("data.bin"), refused ? c.bytes : c.written);
        if (refused) {
            EXPECT_TRUE(Logged("data.binはテキストとして読めないので書き込みません"_sj));
        }
        CloseEditor(slot);
    }
}

TEST_F(EditorTest, CommandsMoveTheCursorAndSave) {
    WriteFile("lines.txt", "zero\none\ntwo\nthree\n");
    int slot = OpenEditor();
    ASSERT_EQ(EditorReadFile(slot, "lines.txt"), 0);
    EXPECT_TRUE(EditorCommand(slot, "line 2"));
    EXPECT_EQ(Cursor(slot).first, 2u);
    EXPECT_TRUE(EditorCommand(slot, "end"));
    EXPECT_EQ(Cursor(slot).first, 4u);
    EXPECT_TRUE(EditorCommand(slot, "top"));
    EXPECT_EQ(Cursor(slot), (std::pair<uint32_t, int>{0, 0}));
    EXPECT_FALSE(EditorCommand(slot, "format c:"));
    // The cursor placed by a click, and typing there through the text task.
    int cell = object_cell_width(g_editor.gc), line = object_line_height(g_editor.gc);
    EditorPlaceCursor(slot, 2 + 2 * cell + 1, 2 + line + 1);
    EXPECT_EQ(Cursor(slot), (std::pair<uint32_t, int>{1, 2}));
    EXPECT_EQ(g_text_focus, g_editor.slots[slot].area);
    set_window_mode(g_editor.slots[slot].window, WIN_DRAWABLE);
    TextKey('X', 0, KEY_MOD_INSERT);
    EXPECT_TRUE(EditorCommand(slot, "save"));
    EXPECT_EQ(ReadFile("lines.txt"), "zero\r\nonXe\r\ntwo\r\nthree\r\n");
}

TEST_F(EditorTest, ResizingReLaysOutTheAreaAndClosingFreesTheSlot) {
    int slot = OpenEditor();
    Handle w = g_editor.slots[slot].window;
    auto deliver = [&](uint16_t code) {
        Deliver(code, w);
        EditTask(task_);
        EditTask(task_);
    };
    int cell = object_cell_width(g_editor.gc), line = object_line_height(g_editor.gc);
    resize_window(w, -20 * cell, -10 * line);
    deliver(EVENT_WINDOW_RESIZED);
    TextLineState s;
    std::memcpy(&s, object_record(g_editor.slots[slot].area)->text, sizeof s);
    const WindowRecord& r = *window_record(w);
    EXPECT_EQ(s.visible_columns, (r.width - 10) / cell);
    EXPECT_EQ(s.visible_lines, (r.height - 30 - 2 * line) / line);
    EXPECT_EQ(window_record(object_record(g_editor.slots[slot].area)->window)->width, r.width - 10);
    deliver(EVENT_WINDOW_CLOSED);
    EXPECT_EQ(g_editor.slots[slot].window, 0u);
    EXPECT_EQ(window_record(w), nullptr);
}

TEST_F(EditorTest, ACopyIsATextOfItsOwnAndASecondWindowSharesTheText) {
    WriteFile("notes.txt", "one\r\ntwo\r\nthree\r\n");
    int slot = OpenEditor();
    ASSERT_EQ(EditorReadFile(slot, "notes.txt"), 0);
    ASSERT_TRUE(EditorCommand(slot, "line 1"));

    int copy = EditorDuplicate(slot);
    ASSERT_EQ(copy, 1);
    EXPECT_NE(EditorText(copy), EditorText(slot));
    EXPECT_EQ(Content(copy), "one\ntwo\nthree\n");
    EXPECT_STREQ(window_record(g_editor.slots[copy].window)->name, "nameless1");
    EXPECT_EQ(Cursor(copy).first, 1u) << "the copy starts where the cursor was";
    EXPECT_EQ(EditorReplace(copy, "two", "2", true, true), 1);
    EXPECT_EQ(Content(slot), "one\ntwo\nthree\n") << "the original is untouched";
    ASSERT_TRUE(EditorCommand(copy, "save"));
    EXPECT_EQ(ReadFile("nameless1"), "one\r\n2\r\nthree\r\n");
    EXPECT_EQ(ReadFile("notes.txt"), "one\r\ntwo\r\nthree\r\n");

    int view = EditorShare(slot);
    ASSERT_EQ(view, 2);
    EXPECT_EQ(EditorText(view), EditorText(slot));
    EXPECT_STREQ(window_record(g_editor.slots[view].window)->name, "notes.txt");
    EXPECT_EQ(EditorReplace(view, "three", "3", true, true), 1);
    EXPECT_EQ(Content(slot), "one\ntwo\n3\n") << "one text, two windows";
    ASSERT_TRUE(EditorCommand(slot, "save"));
    EXPECT_EQ(ReadFile("notes.txt"), "one\r\ntwo\r\n3\r\n");

    // A new editor in the slot of a closed window whose text another window still shows gets
    // a text of its own.
    int unsaved = OpenEditor();
    ASSERT_EQ(unsaved, 3);
    SetTextBytes(EditorText(unsaved), "draft\n", 6);
    int unsaved_view = EditorShare(unsaved);
    CloseEditor(unsaved);
    EXPECT_EQ(OpenEditor(), 3);
    EXPECT_NE(EditorText(3), EditorText(unsaved_view));
    EXPECT_EQ(Content(unsaved_view), "draft\n");
    EXPECT_EQ(Content(3), "");
    CloseEditor(3);
    CloseEditor(unsaved_view);

    // Reading its own file again when the file is gone keeps the text.
    ASSERT_EQ(std::remove("notes.txt"), 0);
    EXPECT_EQ(EditorReadFile(slot, "notes.txt"), 1);
    EXPECT_EQ(Content(slot), "one\ntwo\n3\n");
    WriteFile("notes.txt", "one\r\ntwo\r\n3\r\n");

    // Closing one window keeps the text for the other; closing the last frees it.
    Handle text = EditorText(slot);
    CloseEditor(view);
    ASSERT_FALSE(handle_entry(text)->flags & RECORD_INACTIVE);
    EXPECT_EQ(Content(slot), "one\ntwo\n3\n");
    view = EditorShare(slot);
    CloseEditor(slot);
    EXPECT_EQ(Content(view), "one\ntwo\n3\n");
    CloseEditor(view);
    EXPECT_TRUE(handle_entry(text)->flags & RECORD_INACTIVE);
}

TEST_F(EditorTest, EachWindowOfASharedTextKeepsItsOwnCursor) {
    WriteFile("rows.txt", "r0\nr1\nr2\nr3\nr4\nr5\n");
    int a = OpenEditor();
    ASSERT_EQ(EditorReadFile(a, "rows.txt"), 0);
    ASSERT_TRUE(EditorCommand(a, "line 6"));
    int b = EditorShare(a);
    ASSERT_GE(b, 0);
    auto deliver = [&](uint16_t code, int slot) { Deliver(code, g_editor.slots[slot].window); };
    deliver(EVENT_WINDOW_ACTIVE, b);
    EXPECT_EQ(Cursor(b).first, 6u) << "the second window starts where the first one was";
    ASSERT_TRUE(EditorCommand(b, "line 1"));
    // In b two rows go; a, activated again, finds its line 6 gone: it takes the last one.
    EXPECT_EQ(EditorReplace(b, "r2\nr3\n", "", true, true), 1);
    deliver(EVENT_WINDOW_INACTIVE, b);
    deliver(EVENT_WINDOW_ACTIVE, a);
    EXPECT_EQ(g_editor.current, g_editor.slots[a].window);
    EXPECT_EQ(Cursor(a).first, 4u) << "a's own line, clamped to the text";
    EXPECT_EQ(Content(a), "r0\nr1\nr4\nr5\n");
    deliver(EVENT_WINDOW_INACTIVE, a);
    deliver(EVENT_WINDOW_ACTIVE, b);
    EXPECT_EQ(Cursor(b).first, 1u) << "b's cursor where b left it";
}

// Records in use (not deactivated or removed) and their bytes. Resources themselves are never
// deleted (every input line makes one for its text), and the events the editor sends stay
// pending here (no task takes them): both are left out.
std::pair<uint32_t, uint64_t> ActiveBlocks() {
    std::pair<uint32_t, uint64_t> active{0, 0};
    for (Handle h = 1; h <= HandleTableEntries(); ++h) {
        HandleEntry* e = handle_entry(h);
        if (!e || (e->flags & RECORD_INACTIVE) || !resource_attr(e->owner) ||
            e->owner == g_resources.event)
            continue;
        ++active.first;
        active.second += e->size;
    }
    return active;
}

TEST_F(EditorTest, OpeningAndClosingEditorsAgainAndAgainKeepsThePoolFlat) {
    WriteFile("notes.txt", "one\r\ntwo\r\n");
    auto round = [&] {
        int slot = OpenEditor();
        ASSERT_GE(slot, 0);
        ASSERT_EQ(EditorReadFile(slot, "notes.txt"), 0);
        EXPECT_EQ(EditorReadFile(slot, "missing.txt"), 1);
        int view = EditorShare(slot), copy = EditorDuplicate(slot);
        CloseEditor(copy);
        CloseEditor(slot);
        CloseEditor(view);
    };
    round();
    std::pair<uint32_t, uint64_t> before = ActiveBlocks();
    for (int i = 0; i < 20; ++i)
        round();
    std::pair<uint32_t, uint64_t> after = ActiveBlocks();
    EXPECT_EQ(after.first, before.first) << "blocks in use";
    EXPECT_EQ(after.second, before.second) << "bytes in use";
}

// A pool too small for the file: the read reports the lack of memory and leaves the editor with
// the text it had.
class EditorSmallPoolTest : public NomaTest {
protected:
    void SetUp() override {
        NomaTest::SetUp();
        BootWindowSystem(320, 240, 4u << 20);
        task_ = RegisterTask("EditTask", 0, 0);
        OpenTaskEvents(task_);
        ResetEditor();
        ResetTextTask();
        InitEditor(task_);
    }
    void TearDown() override {
        ResetEditor();
        ShutDownBoot();
        NomaTest::TearDown();
    }
    Handle task_ = 0;
};

TEST_F(EditorSmallPoolTest, AFileLargerThanThePoolReportsTheLackOfMemory) {
    std::string big(5u << 20, 'x');
    for (size_t i = 80; i < big.size(); i += 81)
        big[i] = '\n';
    WriteFile("big.txt", big);
    std::string small = Sj("小さい\r\nfile\r\n");
    WriteFile("small.txt", small);
    int slot = OpenEditor();
    ASSERT_EQ(EditorReadFile(slot, "small.txt"), 0);
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(EditorReadFile(slot, "big.txt"), 1);
        EXPECT_EQ(g_editor.slots[slot].file_name, "small.txt") << "the editor keeps its text";
    }
    EXPECT_TRUE(Logged("メモリ不足です"_sj));
    EXPECT_TRUE(EditorSearch(slot, "file", true));
    EXPECT_EQ(EditorReplace(slot, "file", "text", true, true), 1);
    ASSERT_EQ(EditorWriteFile(slot), 0);
    EXPECT_EQ(ReadFile("small.txt"), Sj("小さい\r\ntext\r\n"));
}

}  // namespace
