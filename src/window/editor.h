// The editor: an application task that edits text files in windows. It adds the entry
// "Editer" to the system popup menu; each choice opens an editor window (up to seven at once)
// with an editing area of the text task, a right-button search menu, the buttons "ディスク"
// (read a file) and "環境" (enter a command), and three sub-windows: search and replace,
// reading a file, entering a command.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/pool.h"

constexpr int kEditorSlots = 7;
constexpr uint16_t kEditorMenuEntry = 2;
constexpr size_t kEditorFileNameLimit = 40;

// Object numbers of an editor window and its sub-windows.
enum EditorObject : uint16_t {
    EDIT_DISK = 3,
    EDIT_ENVIRONMENT = 4,
    EDIT_AREA = 10,
    EDIT_POPUP = 11,
    EDIT_SEARCH_WINDOW = 12,
    EDIT_FILE_WINDOW = 13,
    EDIT_COMMAND_WINDOW = 14,
    SEARCH_TEXT = 20,
    SEARCH_REPLACEMENT = 21,
    SEARCH_EVERY = 22,
    SEARCH_RUN = 23,
    SEARCH_CANCEL = 24,
    FILE_NAME = 25,
    FILE_READ = 26,
    FILE_CANCEL = 27,
    COMMAND_LINE = 28,
    COMMAND_RUN = 29,
    COMMAND_CANCEL = 30,
};

struct EditorSlot {
    Handle window = 0;
    Handle area = 0;                           // the editing area: a text line of the text task
    Handle search = 0, file = 0, command = 0;  // the sub-window objects
    std::string file_name;                     // empty until a file was read
    // False when the file read could not be written back as it was (a NUL, a Ctrl-Z before
    // its end, a line end other than CR LF): the editor then never writes over it.
    bool writable = true;
    // The cursor of this window (its line in the text and its column), kept while another
    // window of the same text has the keyboard.
    uint32_t cursor_line = 0;
    uint16_t cursor_column = 0;
};

struct EditorState {
    Handle task = 0;
    bool ready = false;
    EditorSlot slots[kEditorSlots];
    int made = 0;  // editors opened so far
    Handle search_menu = 0, edit_menu = 0;
    Handle gc = 0;
    Handle current = 0;  // the current editor window
    // The search and replace set up in the search sub-window, repeated by the next-search items.
    std::string word, replacement;
    bool replace = false;
    bool forward = true;
    std::string cut_buffer;
};
extern EditorState g_editor;

void EditTask(Handle task);
// Builds the state, the menus and the system-menu entry (the start event does it).
void InitEditor(Handle task);
void ResetEditor();

// Opens a new editor window in the first free slot; -1 (after the message) when none is free.
int OpenEditor();
// Closes the editor of `slot`: its window goes and its slot and text are free again.
void CloseEditor(int slot);
// The slot of an editor window (or of a window inside it), or -1.
int EditorSlotOf(Handle window);
// The text of an editor.
Handle EditorText(int slot);
// Reads file `name` into the editor; 0, or 1 after the message.
int EditorReadFile(int slot, const char* name);
// Writes the editor's text back to its file; 0, or 1 after the message.
int EditorWriteFile(int slot);
// Search from the cursor forward or backward: the cursor goes to the match, which is
// highlighted. False when there is none.
bool EditorSearch(int slot, const std::string& word, bool forward);
// Replaces the next match (every match from the cursor on in that direction when `every`);
// the number replaced.
int EditorReplace(int slot, const std::string& word, const std::string& replacement, bool forward,
                  bool every);
// The edit menu's editing modes: a new editor holding a copy of the editor's text (複写編集)
// or a second window on the same text (共通編集). The new slot, or -1.
int EditorDuplicate(int slot);
int EditorShare(int slot);

// Runs a command line ("save", "line N", "top", "end"); false for an unknown command.
bool EditorCommand(int slot, const std::string& command);
// Places the editing area's cursor at the cell under client point (x, y) of the area.
void EditorPlaceCursor(int slot, int x, int y);

// Text search that never matches inside a double-byte character: the start of the first match
// at or after `from` (forward), or of the last match starting before `from` (backward); npos
// when there is none.
size_t FindWord(const std::string& text, const std::string& word, size_t from, bool forward);
// Replaces every match from `from` on (forward) or before `from` (backward); the count.
int ReplaceEvery(std::string* text, const std::string& word, const std::string& replacement,
                 size_t from, bool forward);
