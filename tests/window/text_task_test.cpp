// The text task: editing sessions driven by key events on fields of a window (typing,
// restrictions, overwrite and insert, double-byte characters, Delete and Backspace, Return and
// Tab, movement and scrolling), the focus, the blinking cursor and input lines edited through
// clicks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/sjis.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/task.h"
#include "resource/task_record.h"
#include "text/text.h"
#include "window/object.h"
#include "window/object_draw.h"
#include "window/text_field.h"
#include "window/text_task.h"
#include "window/window.h"
#include "window_env.h"

namespace {

class TextTaskTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        text_task_ = RegisterTask("TextTask", TASK_ID_TEXT, 0);
        OpenTaskEvents(text_task_);
        owner_ = NewTask("Owner");
        window_ = OpenAt(owner_, 10, 10, 280, 200);
        set_window_mode(window_, WIN_OPEN | WIN_DRAWABLE);
        cell_ = object_cell_width(window_record(window_)->gc);
        line_ = object_line_height(window_record(window_)->gc);
        ResetTextTask();
        ForgetEvents();
    }

    // A text of the owner holding `content` exactly.
    Handle Text(const std::string& content, uint32_t flags) {
        std::string name = "FIELD" + std::to_string(++serial_);
        Handle text = CreateText(owner_, name.c_str(), flags);
        text_delete(text, 0, 0, 1);  // the blank of the new block
        if (!content.empty()) text_insert(text, 0, 0, content.c_str(), int(content.size()));
        return text;
    }
    // A text line of `columns` x `rows` cells over a new text, focused.
    Handle Field(const std::string& content, uint32_t flags, int columns, int rows = 1) {
        Handle text = Text(content, flags);
        Handle field = CreateTextLine(text, window_, uint16_t(serial_), 4, 4 + 40 * (serial_ - 1),
                                      columns * cell_ + 4, rows * line_ + 4);
        MakeDrawable(field);
        EXPECT_EQ(FocusTextField(field), field);
        return field;
    }
    // Types bytes as key events: a lead byte and its trail byte make one event.
    void Type(const std::string& keys, uint32_t modifiers = 0) {
        for (size_t i = 0; i < keys.size(); ++i) {
            uint8_t k = uint8_t(keys[i]);
            uint8_t trail = 0;
            if (IsSjisLead(k) && i + 1 < keys.size()) trail = uint8_t(keys[++i]);
            TextKey(k, trail, modifiers);
        }
    }
    int Key(uint8_t key, uint32_t modifiers = 0) { return TextKey(key, 0, modifiers); }
    Handle TextOf(Handle field) { return object_record(field)->data; }
    std::string Line(Handle field, int y) {
        char buffer[kTextLineSize];
        if (!GetRawTextLine(TextOf(field), y, buffer, sizeof buffer)) return "";
        return buffer;
    }
    TextHeader& Header(Handle field) { return *text_header(TextOf(field)); }
    TextLineState State(Handle field) {
        TextLineState s;
        std::memcpy(&s, object_record(field)->text, sizeof s);
        return s;
    }
    // Sends an event to the text task and runs it once.
    void Deliver(uint16_t code, uint32_t value = 0, Handle object = 0) {
        EventRecord* e = event_record(SendEvent(TASK_ID_WINDOW, TASK_ID_TEXT, code));
        ASSERT_NE(e, nullptr);
        e->value = value;
        std::memcpy(e->data, &object, sizeof object);
        RunTextTask();
    }
    // Runs the text task until it has taken every event sent so far, and once more.
    void RunTextTask() {
        for (int i = 0; i < 1000 && task_record(text_task_)->cursor != g_event_tail; ++i)
            TextTask(text_task_);
        // The event under the cursor is taken by the next receive.
        TextTask(text_task_);
        TextTask(text_task_);
    }
    void MakeDrawable(Handle object) {
        set_window_mode(object_record(object)->window, WIN_OPEN | WIN_DRAWABLE);
    }
    // The pixel at the middle of the cursor's first cell, screen coordinates.
    uint32_t CursorPixel(Handle field) {
        Handle sub = object_record(field)->window;
        return Pixel(client_left(sub) + 2 + Header(field).cursor_x * cell_ + 1,
                     client_top(sub) + 2 + Header(field).cursor_y * line_ + line_ / 2);
    }
    std::vector<std::string> StringsTo(uint32_t id) {
        std::vector<std::string> texts;
        for (const EventRecord& e : EventsTo(id))
            if (e.code == EVENT_STRING) texts.emplace_back(e.data);
        return texts;
    }

    Handle text_task_ = 0, owner_ = 0, window_ = 0;
    int cell_ = 0, line_ = 0, serial_ = 0;
};

TEST_F(TextTaskTest, SingleLineFieldsKeepTheirRestrictions) {
    struct Case {
        const char* name;
        uint32_t flags;
        std::string keys;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"eight columns take eight bytes", TEXT_SINGLE_LINE, "abcdefghi", "abcdefgh"},
        {"digits only", TEXT_SINGLE_LINE | TEXT_DIGITS_ONLY, "a7b", "7"},
        {"full-width letter to single-byte", TEXT_SINGLE_LINE | TEXT_SINGLE_BYTE, Sj("Ａ漢"), "A"},
        {"full-width digit in a numeric line",
         TEXT_SINGLE_LINE | TEXT_DIGITS_ONLY | TEXT_SINGLE_BYTE, Sj("７Ａ"), "7"},
        {"no double-byte character in a digits-only field", TEXT_SINGLE_LINE | TEXT_DIGITS_ONLY,
         Sj("漢"), ""},
        {"a double-byte character needs two free bytes", TEXT_SINGLE_LINE, "abcdefg" + Sj("漢"),
         "abcdefg"},
        {"half-width katakana is one byte", TEXT_SINGLE_LINE, Sj("ｱｲ"), Sj("ｱｲ")},
        {"full-width input", TEXT_SINGLE_LINE, Sj("日本語"), Sj("日本語")},
    };
    for (const Case& c : cases) {
        Handle field = Field("", c.flags, 8);
        Type(c.keys);
        EXPECT_EQ(Line(field, 0), c.expected) << c.name;
        EXPECT_EQ(Header(field).cursor_x, c.expected.size()) << c.name;
    }
}

TEST_F(TextTaskTest, TypingOverwritesAboveTheLastLineAndInsertsOnIt) {
    Handle field = Field("abc\ndef", 0, 20, 4);
    Header(field).cursor_x = 1;
    Type("X");
    EXPECT_EQ(Line(field, 0), "aXc") << "overwrite above the last line";
    Type("Y", KEY_MOD_INSERT);
    EXPECT_EQ(Line(field, 0), "aXYc") << "the Insert modifier inserts";
    Key(KEY_RIGHT);
    Type("Z");
    EXPECT_EQ(Line(field, 0), "aXYcZ") << "at a line end typing inserts";
    Key(KEY_DOWN);
    Header(field).cursor_x = 1;
    Type("W");
    EXPECT_EQ(Line(field, 1), "dWef") << "the last line always inserts";
    // A single-byte key typed over a double-byte character replaces the whole character.
    Handle kanji = Field(Sj("漢字\nx"), 0, 20, 4);
    Type("a");
    EXPECT_EQ(Line(kanji, 0), "a" + Sj("字"));
}

TEST_F(TextTaskTest, DoubleByteCharactersAreNeverSplit) {
    Handle field = Field("a" + Sj("漢") + "b", TEXT_SINGLE_LINE, 20);
    Key(KEY_RIGHT);
    EXPECT_EQ(Header(field).cursor_x, 1);
    EXPECT_TRUE(Header(field).flags & TEXT_CURSOR_LEAD);
    Key(KEY_RIGHT);
    EXPECT_EQ(Header(field).cursor_x, 3) << "over both bytes";
    Key(KEY_LEFT);
    EXPECT_EQ(Header(field).cursor_x, 1);
    EXPECT_FALSE(Header(field).flags & TEXT_CURSOR_TRAIL);
    Key(KEY_DELETE);
    EXPECT_EQ(Line(field, 0), "ab") << "Delete takes the whole character";
    Type(Sj("字"));
    Key(KEY_BACKSPACE);
    EXPECT_EQ(Line(field, 0), "ab") << "Backspace takes the whole character";
    EXPECT_EQ(Header(field).cursor_x, 1);
    // A lead byte whose trail byte comes as a key of its own.
    TextKey(uint8_t(Sj("字")[0]), 0, 0);
    TextKey(uint8_t(Sj("字")[1]), 0, 0);
    EXPECT_EQ(Line(field, 0), "a" + Sj("字") + "b");
    EXPECT_EQ(Header(field).cursor_x, 3);
}

TEST_F(TextTaskTest, BackspaceAndDeleteAtTheEdges) {
    Handle field = Field("ab\ncd", 0, 20, 4);
    EXPECT_EQ(Key(KEY_BACKSPACE), 0) << "at (0, 0) nothing happens";
    EXPECT_EQ(Line(field, 0), "ab");
    Key(KEY_DOWN);
    Key(KEY_BACKSPACE);
    EXPECT_EQ(Line(field, 0), "ab") << "no join with the line above";
    EXPECT_EQ(Line(field, 1), "d") << "the character under the cursor goes";
    Key(KEY_UP);
    Key(KEY_RIGHT);
    Key(KEY_RIGHT);
    Key(KEY_DELETE);
    EXPECT_EQ(Line(field, 0), "abd") << "Delete at a line end joins the next line";
    EXPECT_EQ(Header(field).lines, 0u);
    Key(KEY_RIGHT);
    EXPECT_EQ(Key(KEY_DELETE), 1);
    EXPECT_EQ(Line(field, 0), "abd") << "nothing after the end of the text";
    Handle empty = Field("", TEXT_SINGLE_LINE, 8);
    EXPECT_EQ(Key(KEY_DELETE), 0);
    EXPECT_EQ(Key(KEY_BACKSPACE), 0);
    EXPECT_EQ(Header(empty).size, 0u);
}

TEST_F(TextTaskTest, ReturnSendsASingleLineAndMovesTheFocusToTheFirstField) {
    Handle first = Field("first", TEXT_SINGLE_LINE, 10);
    Handle second = Field("", TEXT_SINGLE_LINE, 10);
    Type("hello");
    EXPECT_EQ(Key(KEY_RETURN), 0);
    EXPECT_EQ(StringsTo(TaskId(owner_)), std::vector<std::string>{"hello"});
    EXPECT_EQ(EventsTo(TaskId(owner_)).back().source, uint32_t(TASK_ID_TEXT));
    EXPECT_EQ(g_text_focus, first);
    EXPECT_FALSE(Header(second).flags & TEXT_FOCUSED);
    EXPECT_TRUE(Header(first).flags & TEXT_FOCUSED);
    // Tab in a single-line field hands the focus on the same way and types nothing.
    FocusTextField(second);
    EXPECT_EQ(Key(KEY_TAB), 0);
    EXPECT_EQ(g_text_focus, first);
    EXPECT_EQ(Line(second, 0), "hello");
}

TEST_F(TextTaskTest, ReturnAndTabEditAMultiLineField) {
    Handle field = Field("abcd", 0, 20, 3);
    Key(KEY_RIGHT);
    Key(KEY_RIGHT);
    EXPECT_EQ(Key(KEY_RETURN), 1);
    EXPECT_EQ(Line(field, 0), "ab");
    EXPECT_EQ(Line(field, 1), "cd");
    EXPECT_EQ(Header(field).cursor_x, 0);
    EXPECT_EQ(Header(field).cursor_y, 1);
    EXPECT_TRUE(StringsTo(TaskId(owner_)).empty());
    Key(KEY_TAB);
    EXPECT_EQ(Line(field, 1), "\tcd");
    EXPECT_EQ(Header(field).cursor_x, 1);
    Key(KEY_LEFT);
    EXPECT_TRUE(Header(field).flags & TEXT_CURSOR_IN_TAB);
    // Two more Returns on the third row scroll the view instead of leaving it.
    Key(KEY_RETURN);
    Key(KEY_RETURN);
    EXPECT_EQ(State(field).top_line, 1u);
    EXPECT_EQ(Header(field).cursor_y, 2);
    EXPECT_EQ(Header(field).lines, 3u);
}

TEST_F(TextTaskTest, MovementScrollsTheViewAndPagesThroughLongTexts) {
    std::string content;
    for (int i = 0; i < 20; ++i)
        content += "line" + std::to_string(i) + "\n";
    Handle field = Field(content, 0, 10, 5);
    for (int i = 0; i < 6; ++i)
        Key(KEY_DOWN);
    EXPECT_EQ(State(field).top_line, 2u);
    EXPECT_EQ(Header(field).cursor_y, 4);
    Key(KEY_UP, KEY_MOD_SHIFT);
    EXPECT_EQ(State(field).top_line, 2u) << "not in the first row: the cursor moves";
    for (int i = 0; i < 3; ++i)
        Key(KEY_UP);
    Key(KEY_UP, KEY_MOD_SHIFT);
    EXPECT_EQ(State(field).top_line, 0u) << "Shift keeps scrolling up to the top";
    Key(KEY_PAGE_DOWN);
    EXPECT_GT(State(field).top_line, 0u);
    for (int i = 0; i < 30; ++i)
        Key(KEY_PAGE_DOWN);
    EXPECT_EQ(State(field).top_line, 20u - 5u) << "the last page ends at the last line";
    EXPECT_EQ(Key(KEY_PAGE_DOWN), 0) << "a page key that changes nothing";
    for (int i = 0; i < 30; ++i)
        Key(KEY_PAGE_UP);
    EXPECT_EQ(State(field).top_line, 0u);
    // Left at column 0 goes to the end of the row above; Right past the end to the next row.
    Key(KEY_DOWN);
    Key(KEY_LEFT);
    EXPECT_EQ(Header(field).cursor_y, 0);
    EXPECT_EQ(Header(field).cursor_x, 5);
    Key(KEY_RIGHT);
    EXPECT_EQ(Header(field).cursor_y, 1);
    EXPECT_EQ(Header(field).cursor_x, 0);
    // Vertical moves keep the cursor inside the shorter line.
    Handle ragged = Field("long line\nab", 0, 20, 3);
    for (int i = 0; i < 9; ++i)
        Key(KEY_RIGHT);
    Key(KEY_DOWN);
    EXPECT_EQ(Header(ragged).cursor_x, 2);
}

TEST_F(TextTaskTest, TypingPastTheVisibleColumnsMovesTheViewByOneWidth) {
    Handle field = Field("", 0, 8, 2);
    Type("0123456789");
    EXPECT_EQ(State(field).left_column, 8);
    for (int i = 0; i < 3; ++i)
        Key(KEY_LEFT);
    EXPECT_EQ(State(field).left_column, 0);
}

TEST_F(TextTaskTest, ReadOnlyFieldsMoveButDoNotChange) {
    Handle field = Field("abc\ndef", TEXT_READ_ONLY, 10, 2);
    EXPECT_EQ(Key(KEY_RIGHT), 0);
    EXPECT_EQ(Header(field).cursor_x, 1);
    Type("xy");
    Key(KEY_DELETE);
    Key(KEY_RETURN);
    EXPECT_EQ(Line(field, 0), "abc");
    EXPECT_EQ(Header(field).lines, 1u);
}

TEST_F(TextTaskTest, EscapeAndAClosedWindowTakeTheFocusAway) {
    Handle field = Field("ab", TEXT_SINGLE_LINE, 8);
    Key(KEY_ESCAPE);
    EXPECT_EQ(g_text_focus, 0u);
    EXPECT_EQ(Key('x'), 0);
    EXPECT_EQ(Line(field, 0), "ab");
    FocusTextField(field);
    clear_window_mode(window_, WIN_DRAWABLE);
    EXPECT_EQ(Key('x'), 0) << "keys while the window cannot be drawn";
    EXPECT_EQ(Line(field, 0), "ab");
    clear_window_mode(window_, WIN_OPEN);
    RunTextTask();
    EXPECT_EQ(g_text_focus, 0u);
}

TEST_F(TextTaskTest, ChangeTextPrefersTextLinesAndCountsFromOne) {
    Handle input = CreateMessageLine(window_, 50, 4, 150, 10, owner_);
    ASSERT_NE(input, 0u);
    EXPECT_EQ(ChangeText(window_, 1), input);
    EXPECT_EQ(g_text_focus, input);
    Handle line = Field("x", 0, 8);
    EXPECT_EQ(ChangeText(window_, 1), line) << "a text line before an input line";
    EXPECT_FALSE(Header(input).flags & TEXT_FOCUSED);
    EXPECT_EQ(ChangeText(window_, 0), 0u);
    EXPECT_EQ(ChangeText(window_, 2), 0u);
    EXPECT_EQ(LogCount(" text search call is NULL for ChangeText()"), 2);
    EXPECT_EQ(g_text_focus, line) << "focus unchanged";
    EXPECT_EQ(g_first_text_line, input) << "the input line's text line came first";
}

TEST_F(TextTaskTest, TheCursorBlinksOnSecondEvents) {
    Handle field = Field("ab", TEXT_SINGLE_LINE, 8);
    draw_object(field);
    uint32_t paper = CursorPixel(field);
    std::vector<bool> shown;
    std::vector<bool> marked;
    for (int i = 0; i < 4; ++i) {
        Deliver(EVENT_SECOND);
        shown.push_back(Header(field).flags & TEXT_CURSOR_SHOWN);
        marked.push_back(CursorPixel(field) != paper);
    }
    EXPECT_EQ(shown, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(marked, shown) << "the cell is drawn as the flag says";
}

TEST_F(TextTaskTest, AHundredThousandKeysNeverOverfillAField) {
    Handle line = Field("", TEXT_SINGLE_LINE, 40);
    for (int i = 0; i < 100000; ++i)
        Key(uint8_t('a' + i % 26));
    EXPECT_EQ(Line(line, 0).size(), 40u);
    Handle area = Field("", 0, 40, 10);
    for (int i = 0; i < 3000; ++i) {
        uint8_t k = i % 61 == 60 ? uint8_t(KEY_RETURN) : uint8_t('a' + i % 26);
        Key(k);
    }
    EXPECT_EQ(Header(area).lines, 3000u / 61u);
    EXPECT_EQ(Header(area).size, 3000u);
    // A line stops growing before the cursor's column could overflow; Return still works.
    Handle wide = Field(std::string(text_field::kLongestLine - 1, 'w'), 0, 40, 4);
    Header(wide).cursor_x = uint16_t(text_field::kLongestLine - 1);
    Type("xyz");
    EXPECT_EQ(Line(wide, 0).size(), size_t(text_field::kLongestLine));
    EXPECT_EQ(Header(wide).cursor_x, text_field::kLongestLine);
    Key(KEY_RETURN);
    Type("v");
    EXPECT_EQ(Line(wide, 1), "v");
}

TEST_F(TextTaskTest, KeywordsAreFoundAsWholeWords) {
    EXPECT_TRUE(text_field::is_keyword("int"));
    EXPECT_TRUE(text_field::is_keyword("#include"));
    EXPECT_TRUE(text_field::is_keyword("*/"));
    EXPECT_FALSE(text_field::is_keyword("in"));
    EXPECT_FALSE(text_field::is_keyword("integer"));
    EXPECT_FALSE(text_field::is_keyword(""));
}

}  // namespace
