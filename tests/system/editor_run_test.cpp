// An editing session in a running system, driven by scripted mouse and keys: the editor opened
// from its entry in the system menu (right button, release on the entry), a Shift-JIS file read
// through the file sub-window, a search with its match highlighted, the right-button menus, a
// replacement of every match and the file written back through a command; the bytes on disk and
// four screens are checked.
#include <cstring>
#include <string>
#include <vector>

#include "host/clock.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "support/golden.h"
#include "system/in_process.h"
#include "text/text.h"
#include "window/editor.h"
#include "window/menu.h"
#include "window/menu_task.h"
#include "window/object.h"
#include "window/window.h"

namespace {

class EditorRun : public InProcessRun {
protected:
    // A left click at `where`, then the bytes of `text` as character messages, then Return.
    void ClickAndType(const std::string& where, const std::string& text, bool enter) {
        std::vector<std::string> lines = {"0 move " + where, "10 down " + where + " left", "60 up"};
        uint32_t t = 200;
        for (unsigned char c : text) {
            lines.push_back(std::to_string(t) + " char " + std::to_string(c));
            t += 30;
        }
        if (enter) lines.push_back(std::to_string(t) + " key 13");
        Script(lines);
        RunFor(t + 300);
    }
    void Click(const std::string& where, const char* button = "left") {
        Script({"0 move " + where, "10 down " + where + " " + button, "60 up"});
        RunFor(400);
    }
    // A selection from a menu of the editor, as MenuTask reports it.
    void Select(uint16_t item, Handle menu) {
        EventRecord* e =
            event_record(SendEvent(TASK_ID_MENU, TaskId(g_editor.task), EVENT_MENU_SELECT));
        ASSERT_NE(e, nullptr);
        std::memcpy(e->data, &item, sizeof item);
        std::memcpy(e->data + 4, &menu, sizeof menu);
        RunFor(400);
    }
    Handle Inner(Handle sub_object) { return object_record(sub_object)->window; }
};

TEST_F(EditorRun, OpenReadSearchReplaceAndWriteBack) {
    // The first "int" stands below where the search sub-window opens.
    std::string notes;
    for (int i = 1; i <= 11; ++i)
        notes += Sj("メモ ") + std::to_string(i) + "\r\n";
    std::string tail = Sj("/* 数える */\r\n");
    Write("memo.txt",
          Sj("日本語のメモ\r\n") + notes + "int count = 0;\r\n" + tail + "int total;\r\n");
    RunFor(500);
    ASSERT_TRUE(g_editor.ready) << "the editor started with the system";
    OpenEditorFromTheSystemMenu();
    if (HasFatalFailure()) return;
    EditorSlot& s = g_editor.slots[0];
    ASSERT_TRUE(test_window_mode(s.window, WIN_OPEN));

    Click(ObjectPoint(s.window, EDIT_DISK));
    ASSERT_TRUE(test_window_mode(Inner(s.file), WIN_SHOW)) << "the file sub-window opened";
    ClickAndType(ObjectPoint(Inner(s.file), FILE_NAME), "memo.txt", true);
    EXPECT_EQ(s.file_name, "memo.txt");
    EXPECT_FALSE(test_window_mode(Inner(s.file), WIN_SHOW));
    CompareScreenGolden("editor_sjis_file.png", folder_);

    Select(4, g_editor.search_menu);  // forward search
    ASSERT_TRUE(test_window_mode(Inner(s.search), WIN_SHOW));
    ClickAndType(ObjectPoint(Inner(s.search), SEARCH_TEXT), "int", false);
    Click(ObjectPoint(Inner(s.search), SEARCH_RUN, 12, 10));
    EXPECT_EQ(text_header(EditorText(0))->cursor_y, 12) << "on the first match";
    CompareScreenGolden("editor_search_match.png", folder_);

    // The right button opens the search menu where it is pressed, beside the buttons, where
    // the menu object lies under no other object.
    std::string beside = ObjectPoint(s.window, EDIT_ENVIRONMENT, 260, 4);
    Script({"0 move " + beside, "10 down " + beside + " right", "900 up"});
    RunFor(500);
    EXPECT_EQ(g_menu_task.popup_menu, g_editor.search_menu);
    CompareScreenGolden("editor_menu_open.png", folder_);
    RunFor(600);

    ClickAndType(ObjectPoint(Inner(s.search), SEARCH_REPLACEMENT), "long", false);
    Click(ObjectPoint(Inner(s.search), SEARCH_EVERY, 4, 4));
    Select(6, g_editor.search_menu);  // forward replace
    Click(ObjectPoint(Inner(s.search), SEARCH_RUN, 12, 10));
    Click(ObjectPoint(Inner(s.search), SEARCH_CANCEL, 12, 10));
    EXPECT_FALSE(test_window_mode(Inner(s.search), WIN_SHOW));

    // With the sub-window closed the editing area takes the right button: the edit menu.
    std::string at = ObjectPoint(s.window, EDIT_AREA, 200, 120);
    Script({"0 move " + at, "10 down " + at + " right", "900 up"});
    RunFor(500);
    EXPECT_EQ(g_menu_task.popup_menu, g_editor.edit_menu);
    CompareScreenGolden("editor_edit_menu.png", folder_);
    RunFor(600);

    Click(ObjectPoint(s.window, EDIT_ENVIRONMENT));
    ClickAndType(ObjectPoint(Inner(s.command), COMMAND_LINE), "save", true);
    EXPECT_EQ(Read("memo.txt"),
              Sj("日本語のメモ\r\n") + notes + "long count = 0;\r\n" + tail + "long total;\r\n");
}

}  // namespace
