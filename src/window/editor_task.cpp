// EditTask: the editor windows, their menus and sub-windows, and what the buttons, menu items
// and commands do to the text. The keyboard editing itself is the text task's: the editing
// area is one of its text lines, and a sub-window's input lines are input lines.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/system.h"
#include "host/file.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "resource/resource.h"
#include "text/text.h"
#include "window/colors.h"
#include "window/editor.h"
#include "window/gc.h"
#include "window/menu.h"
#include "window/object.h"
#include "window/object_draw.h"
#include "window/redraw.h"
#include "window/text_field.h"
#include "window/text_task.h"
#include "window/window.h"
#include "window/window_draw.h"
#include "window/window_events.h"
#include "window/window_manager.h"

EditorState g_editor;

namespace {

constexpr const char* kVersion = "0.4";
constexpr uint32_t kEditorMode = 0x1B8;  // frame, control bar, title, close box, resize box
constexpr int kEditorColumns = 62;
constexpr int kEditorLines = 22;
constexpr int kAreaX = 10;
constexpr int kAreaY = 30;
constexpr int kLightGray = 18;

void report(const std::string& text) {
    LogLine(text.c_str());
    MessageDialog(text.c_str());
}

int cell() {
    return object_cell_width(g_editor.gc);
}

int line_height() {
    return object_line_height(g_editor.gc);
}

Handle inner(Handle sub_object) {
    ObjectRecord* o = object_record(sub_object);
    return o ? o->window : 0;
}

int object_width(Handle object) {
    WindowRecord* w = window_record(inner(object));
    return w ? w->width : 0;
}

// A MessageButton and a second one 10 pixels to its right.
void button_pair(Handle window, uint16_t first, uint16_t second, int x, int y, const char* a,
                 const char* b) {
    Handle left = MessageButton(window, first, x, y, a);
    MessageButton(window, second, x + object_width(left) + 10, y, b);
}

Handle sub_window(Handle window, uint16_t number, const char* name, int width, int height,
                  uint32_t mode) {
    // Without WIN_MODAL: the modal rule holds for top-level windows, and a modal sub-window
    // would keep every click from the editor window that holds it, its own included.
    Handle object =
        SubWindow(window, number, 0, 0, width, height, (mode & ~WIN_MODAL) | WIN_OBJECTS);
    Handle w = inner(object);
    if (!w) return 0;
    set_window_name(w, name);
    set_window_gc(w, g_editor.gc);
    clear_window_mode(w, WIN_SHOW);  // made closed
    return object;
}

Handle input(Handle window, uint16_t number, int x, int y, int length) {
    Handle line = CreateMessageLine(window, number, x, y, length, g_editor.task);
    PutInputText(window, number, "");
    return line;
}

std::string input_text(Handle sub_object, uint16_t number) {
    char buffer[kTextLineCapacity + 1];
    return GetInputText(inner(sub_object), number, buffer) ? buffer : "";
}

// The editing area's size in a client area of width x height.
void area_size(Handle window, int* width, int* height) {
    WindowRecord* w = window_record(window);
    *width = std::max(1, (w ? w->width : 0) - kAreaX);
    *height = std::max(1, (w ? w->height : 0) - kAreaY - 2 * line_height());
}

void make_menus(Handle task) {
    Handle m = CreateMenu(task, 8);
    g_editor.search_menu = m;
    SetMenuItem(m, 1, "前方次検索"_sj, "さらに前方検索（置き換え）を行う"_sj, 1);
    SetMenuItem(m, 2, "後方次検索"_sj, "さらに後方検索（置き換え）を行う"_sj, 2);
    ToggleMenuItemFlags(m, 1, ITEM_DISABLED, false);
    ToggleMenuItemFlags(m, 2, ITEM_DISABLED, false);
    ToggleMenuItemFlags(m, 3, ITEM_SEPARATOR, false);
    SetMenuItem(m, 4, "前方検索"_sj, "文字列を前方に向かって検索"_sj, 4);
    SetMenuItem(m, 5, "後方検索"_sj, "文字列を後方に向かって検索"_sj, 5);
    SetMenuItem(m, 6, "前方置換え"_sj, "文字列を指定文字列に置き換える"_sj, 6);
    SetMenuItem(m, 7, "後方置換え"_sj, "文字列を指定文字列に置き換える"_sj, 7);
    Handle e = CreateMenu(task, 7);
    g_editor.edit_menu = e;
    SetMenuItem(e, 1, "カット"_sj, "文字列を削除する"_sj, 1);
    SetMenuItem(e, 2, "コピー"_sj, "文字列を複製する"_sj, 2);
    SetMenuItem(e, 3, "ペースト"_sj, "カットバッファの文字列を挿入する"_sj, 3);
    SetMenuItem(e, 4, "複写編集"_sj, "  ", 4);
    SetMenuItem(e, 5, "共通編集"_sj, "  ", 5);
}

// Offset of the start of every line of `bytes`.
std::vector<size_t> line_starts(const std::string& bytes) {
    std::vector<size_t> starts{0};
    for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\n') starts.push_back(i + 1);
    return starts;
}

// The editing area's cursor as an offset of the text's bytes.
size_t cursor_offset(int slot, const std::string& bytes) {
    text_field::Field f;
    if (!text_field::load(g_editor.slots[slot].area, &f)) return 0;
    TextHeader* h = text_header(f.text);
    std::vector<size_t> starts = line_starts(bytes);
    size_t line = std::min<size_t>(f.state.top_line + h->cursor_y, starts.size() - 1);
    size_t end = line + 1 < starts.size() ? starts[line + 1] - 1 : bytes.size();
    return std::min(starts[line] + h->cursor_x, end);
}

// Puts the cursor at byte `offset` with the view around it, redraws the area and marks
// `marked` bytes from there.
void show_offset(int slot, const std::string& bytes, size_t offset, int marked) {
    text_field::Field f;
    if (!text_field::load(g_editor.slots[slot].area, &f)) return;
    std::vector<size_t> starts = line_starts(bytes);
    size_t line =
        size_t(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin()) - 1;
    int column = int(offset - starts[line]);
    int rows = text_field::rows(f);
    if (line < f.state.top_line || line >= f.state.top_line + uint32_t(rows))
        f.state.top_line = uint32_t(line >= size_t(rows / 2) ? line - size_t(rows / 2) : 0);
    text_field::Row row = text_field::line_row(f, uint32_t(line));
    column = std::min<int>(column, int(row.bytes.size()));
    int col = row.col[size_t(column)], width = text_field::columns(f);
    if (col < f.state.left_column || col >= f.state.left_column + width)
        f.state.left_column = uint16_t(col / width * width);
    text_field::store(f);
    TextHeader* h = text_header(f.text);
    h->cursor_x = uint16_t(column);
    h->cursor_y = uint16_t(line - f.state.top_line);
    TextCursorHide(f.object);
    text_field::set_mark(f, uint32_t(line), column, marked);
    DrawTextField(f.object);
}

void enable_next_search() {
    for (int item : {1, 2})
        if (TestMenuItemFlags(g_editor.search_menu, item, ITEM_DISABLED))
            ToggleMenuItemFlags(g_editor.search_menu, item, ITEM_DISABLED, false);
}

// Runs the operation set up in the search sub-window, or repeats the last one.
void run_search(int slot, bool forward, bool every) {
    g_editor.forward = forward;
    if (g_editor.replace)
        EditorReplace(slot, g_editor.word, g_editor.replacement, forward, every);
    else
        EditorSearch(slot, g_editor.word, forward);
    enable_next_search();
}

// The whole editor window again: its frame and bars, then (through our own draw request and
// its answer) its objects, the editing area among them.
void redraw_editor(int slot) {
    Handle w = g_editor.slots[slot].window;
    if (!test_window_mode(w, WIN_OPEN)) return;
    if (!test_window_mode(w, WIN_DRAWABLE) || TestSystemFlag(FLAG_REDRAW_MOTION)) {
        // Drawn in its turn by the redraw motion.
        set_window_mode(w, WIN_REDRAW);
        if (!TestSystemFlag(FLAG_REDRAW_MOTION)) start_redraw_motion();
        return;
    }
    draw_window(w);
    ReqDrawEvent(TaskId(g_editor.task), w);
}

// Hides the sub-window at once (the editor window is drawn again where it was) and gives the
// keyboard back to the editing area.
void close_sub(int slot, Handle sub) {
    ObjectRecord* o = object_record(sub);
    if (o) HideObject(o->parent, o->number);
    ClearAllObjectFlags(inner(sub), OBJ_ON);
    FocusTextField(g_editor.slots[slot].area);
}

// Opens a sub-window with its check buttons cleared; one already open stays as it is.
void open_sub(Handle sub, int x, int y) {
    if (test_window_mode(inner(sub), WIN_SHOW)) return;
    ClearAllObjectFlags(inner(sub), OBJ_ON);
    OpenSubWindow(sub, x, y);
    ChangeText(inner(sub), 1);
}

std::string mark_of(Handle handle) {
    HandleEntry* e = handle_entry(handle);
    return e ? std::string(e->mark, 2) : std::string("  ");
}

// The name of a text: its file, the name of its resource.
std::string text_name(Handle text) {
    TextHeader* h = text_header(text);
    ResourceAttr* attr = h ? resource_attr(h->resource) : nullptr;
    return attr ? std::string(attr->name, strnlen(attr->name, sizeof attr->name)) : "";
}

// The open editor whose text is named `name`, or -1. CreateText with that name would hand out
// that very text with its blocks reset.
int editor_of_text(const std::string& name) {
    for (int i = 0; i < kEditorSlots; ++i)
        if (g_editor.slots[i].window && text_name(EditorText(i)) == name) return i;
    return -1;
}

// Whether another editor than `slot` shows `text`.
bool shared(Handle text, int slot) {
    for (int i = 0; i < kEditorSlots; ++i)
        if (i != slot && g_editor.slots[i].window && text && EditorText(i) == text) return true;
    return false;
}

// Every open editor window that shows `text` draws its editing area again.
void redraw_views(Handle text) {
    for (int i = 0; i < kEditorSlots; ++i) {
        EditorSlot& s = g_editor.slots[i];
        if (s.window && EditorText(i) == text && test_window_mode(s.window, WIN_OPEN) &&
            test_window_mode(s.window, WIN_DRAWABLE))
            DrawTextField(s.area);
    }
}

// The cursor of an editor window as a line of the text and a column, kept in its slot.
void save_cursor(int slot) {
    text_field::Field f;
    if (!text_field::load(g_editor.slots[slot].area, &f)) return;
    TextHeader* h = text_header(f.text);
    g_editor.slots[slot].cursor_line = f.state.top_line + h->cursor_y;
    g_editor.slots[slot].cursor_column = h->cursor_x;
}

// Puts the text's cursor back where this window had it: another window of the same text may
// have moved it and changed the lines meanwhile.
void restore_cursor(int slot) {
    EditorSlot& s = g_editor.slots[slot];
    std::string bytes = TextBytes(EditorText(slot));
    std::vector<size_t> starts = line_starts(bytes);
    size_t line = std::min<size_t>(s.cursor_line, starts.size() - 1);
    size_t end = line + 1 < starts.size() ? starts[line + 1] - 1 : bytes.size();
    show_offset(slot, bytes, std::min(starts[line] + s.cursor_column, end), 0);
}

// Whether file `name` came into its text whole: text mode drops its NUL bytes and ends it at a
// Ctrl-Z. (Its line ends come back as CR LF.)
bool read_whole(const char* name) {
    FILE* f = HostFileOpen(name, "rb");
    if (!f) return true;
    char buffer[65536];
    bool whole = true;
    for (size_t n; whole && (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
        whole = !std::memchr(buffer, '\0', n) && !std::memchr(buffer, 0x1A, n);
    HostFileClose(f);
    return whole;
}

void object_notice(const EventRecord& e) {
    int slot = EditorSlotOf(e.value);
    if (slot < 0) return;
    EditorSlot& s = g_editor.slots[slot];
    g_editor.current = s.window;
    switch (uint16_t(e.long_a)) {
        case EDIT_DISK: {
            ObjectRecord* area = object_record(s.area);
            std::string o = mark_of(s.area), t = mark_of(area ? area->data : 0);
            LogLinef("OBJ record type %c %c\n", o[0], t[0]);
            open_sub(s.file, 20, 20);
            break;
        }
        case EDIT_ENVIRONMENT:
            open_sub(s.command, 20, 20);
            break;
        case EDIT_AREA: {
            LogLine("R0edit press mouse!");
            Handle w = inner(s.area);
            EditorPlaceCursor(slot, mouse_x_in(w, g_editor.task), mouse_y_in(w, g_editor.task));
            break;
        }
        case SEARCH_RUN:
            g_editor.word = input_text(s.search, SEARCH_TEXT);
            g_editor.replacement = input_text(s.search, SEARCH_REPLACEMENT);
            run_search(slot, g_editor.forward, ObjectOn(inner(s.search), SEARCH_EVERY) == 1);
            redraw_editor(slot);
            break;
        case FILE_READ:
            LogLine("file read button press.");
            if (!object_record(s.area)) {
                LogLine("att is null\n");
                break;
            }
            if (EditorReadFile(slot, input_text(s.file, FILE_NAME).c_str()) == 0) {
                close_sub(slot, s.file);
                redraw_editor(slot);
            }
            break;
        case COMMAND_RUN:
            EditorCommand(slot, input_text(s.command, COMMAND_LINE));
            close_sub(slot, s.command);
            break;
        case SEARCH_CANCEL:
            close_sub(slot, s.search);
            break;
        case FILE_CANCEL:
            close_sub(slot, s.file);
            break;
        case COMMAND_CANCEL:
            close_sub(slot, s.command);
            break;
        default:
            break;
    }
}

int current_slot() {
    int slot = EditorSlotOf(g_editor.current);
    if (slot >= 0) return slot;
    for (int i = 0; i < kEditorSlots; ++i)
        if (g_editor.slots[i].window) return i;
    return -1;
}

void search_menu_choice(int item) {
    int slot = current_slot();
    if (slot < 0) return;
    EditorSlot& s = g_editor.slots[slot];
    switch (item) {
        case 1:
        case 2:
            run_search(slot, item == 1, false);
            redraw_editor(slot);
            break;
        case 4:
        case 5:
        case 6:
        case 7:
            g_editor.replace = item >= 6;
            g_editor.forward = item == 4 || item == 6;
            open_sub(s.search, 10, 10);
            break;
        default:
            break;
    }
}

// The edit menu's cut buffer works on whole lines: cut and copy take the cursor's line, paste
// inserts the buffer before it. Items 4 and 5 open a copy or a second window of the text.
void edit_menu_choice(int item) {
    int slot = current_slot();
    if (slot < 0) return;
    if (item == 4 || item == 5) {
        if (item == 4)
            EditorDuplicate(slot);
        else
            EditorShare(slot);
        return;
    }
    Handle text = EditorText(slot);
    std::string bytes = TextBytes(text);
    size_t at = cursor_offset(slot, bytes);
    std::vector<size_t> starts = line_starts(bytes);
    size_t line = size_t(std::upper_bound(starts.begin(), starts.end(), at) - starts.begin()) - 1;
    size_t begin = starts[line];
    size_t end = line + 1 < starts.size() ? starts[line + 1] : bytes.size();
    if (item == 1 || item == 2) g_editor.cut_buffer = bytes.substr(begin, end - begin);
    if (item == 1) bytes.erase(begin, end - begin);
    if (item == 3) bytes.insert(begin, g_editor.cut_buffer);
    if (item == 1 || item == 3) {
        SetTextBytes(text, bytes.data(), bytes.size());
        show_offset(slot, bytes, begin, 0);
        save_cursor(slot);
        redraw_views(text);
    }
}

void menu_selection(const EventRecord& e) {
    uint16_t item = 0;
    Handle menu = 0;
    std::memcpy(&item, e.data, sizeof item);
    std::memcpy(&menu, e.data + 4, sizeof menu);
    if (menu && menu == g_editor.search_menu)
        search_menu_choice(item);
    else if (menu && menu == g_editor.edit_menu)
        edit_menu_choice(item);
    else if (item == kEditorMenuEntry)
        OpenEditor();
}

void draw_request(Handle window) {
    int slot = EditorSlotOf(window);
    if (slot >= 0 && g_editor.slots[slot].window == window) {
        ObjectRecord* o = object_record(g_editor.slots[slot].area);
        TextHeader* h = o ? text_header(o->data) : nullptr;
        if (!o) {
            LogLine("EditTask  描画ｴﾗｰ(object)構造体がNULL)"_sj);
        } else if (!h) {
            LogLine("EditTask  描画ｴﾗｰ(text)構造体がNULL"_sj);
        } else if (!window_record(window)) {
            LogLine("EditTask  描画ｴﾗｰ(window)構造体がNULL"_sj);
        } else {
            std::string om = mark_of(g_editor.slots[slot].area), tm = mark_of(o->data);
            LogLinef("reqdraw OBJ record type Object %c%c  Text %c%c\n", om[0], om[1], tm[0],
                     tm[1]);
            TextLineState state;
            std::memcpy(&state, o->text, sizeof state);
            LogLinef("max line %d", int(h->lines));
            LogLinef("colum %d/line %d", int(state.visible_columns), int(state.visible_lines));
        }
    }
    RetDrawEvent(g_editor.task, window);
}

// The editing area and the menu object follow the window's new size.
void relayout(int slot) {
    EditorSlot& s = g_editor.slots[slot];
    int width, height;
    area_size(s.window, &width, &height);
    if (ObjectRecord* o = object_record(s.area)) {
        set_rectangle(o->window, kAreaX, kAreaY, width, height);
        TextLineState state;
        std::memcpy(&state, o->text, sizeof state);
        state.visible_columns = uint16_t(std::max(1, width / cell()));
        state.visible_lines = uint16_t(std::max(1, height / line_height()));
        std::memcpy(o->text, &state, sizeof state);
    }
    WindowRecord* w = window_record(s.window);
    if (Handle popup = ReqObject(s.window, EDIT_POPUP); w && popup)
        set_rectangle(inner(popup), 0, 0, w->width, w->height);
}

void string_event(const EventRecord& e) {
    // Return in a sub-window's input line acts as that sub-window's first button.
    int slot = current_slot();
    if (slot < 0) return;
    EditorSlot& s = g_editor.slots[slot];
    EventRecord notice = e;
    notice.code = EVENT_OBJECT_NOTICE;
    if (test_window_mode(inner(s.file), WIN_SHOW)) {
        notice.long_a = FILE_READ;
        notice.value = inner(s.file);
    } else if (test_window_mode(inner(s.command), WIN_SHOW)) {
        notice.long_a = COMMAND_RUN;
        notice.value = inner(s.command);
    } else if (test_window_mode(inner(s.search), WIN_SHOW)) {
        notice.long_a = SEARCH_RUN;
        notice.value = inner(s.search);
    } else {
        return;
    }
    object_notice(notice);
}

void handle_event(Handle task, const EventRecord& e) {
    switch (e.code) {
        case EVENT_SYSTEM_READY:
            // A new start of the system: nothing of an earlier run is left.
            ResetEditor();
            g_editor.task = task;
            InitEditor(task);
            break;
        case EVENT_START:
            InitEditor(task);
            break;
        case EVENT_MENU_SELECT:
            menu_selection(e);
            break;
        case EVENT_OBJECT_NOTICE:
            object_notice(e);
            break;
        case EVENT_REQ_DRAW:
            draw_request(e.value);
            break;
        case EVENT_WINDOW_OPEN:
        case EVENT_WINDOW_ACTIVE: {
            int slot = EditorSlotOf(e.value);
            if (slot < 0 || g_editor.slots[slot].window != e.value) break;
            g_editor.current = e.value;
            if (e.code == EVENT_WINDOW_ACTIVE && shared(EditorText(slot), slot))
                restore_cursor(slot);
            break;
        }
        case EVENT_WINDOW_INACTIVE: {
            int slot = EditorSlotOf(e.value);
            if (slot >= 0 && g_editor.slots[slot].window == e.value) save_cursor(slot);
            break;
        }
        case EVENT_WINDOW_CLOSED:
            for (int i = 0; i < kEditorSlots; ++i)
                if (g_editor.slots[i].window && g_editor.slots[i].window == e.value) CloseEditor(i);
            break;
        case EVENT_WINDOW_RESIZED:
            for (int i = 0; i < kEditorSlots; ++i)
                if (g_editor.slots[i].window && g_editor.slots[i].window == e.value) relayout(i);
            break;
        case EVENT_STRING:
            string_event(e);
            break;
        default:
            break;
    }
}

}  // namespace

void EditTask(Handle task) {
    g_editor.task = task;
    if (ReciveEvent(task) != RECEIVE_EVENT) return;
    if (const EventRecord* e = event_record(CurrentEvent(task))) {
        EventRecord copy = *e;  // handling sends events, which may move the record
        handle_event(task, copy);
    }
}

void InitEditor(Handle task) {
    if (g_editor.ready) return;
    g_editor.task = task;
    LogLine("EditTaskData init.");
    g_editor.gc =
        CreateGC(SystemColor(kLightGray), NearestColor(0xFFFFFF), NearestColor(0x787878), 0);
    make_menus(task);
    char help[kMenuHelpSize];
    std::snprintf(help, sizeof help, "テキストエディター (%s)"_sj, kVersion);
    AddMenuItemEvent(task, kEditorMenuEntry, "Editer", help);
    g_editor.ready = true;
}

void ResetEditor() {
    g_editor = EditorState{};
}

int OpenEditor() {
    int slot = -1;
    for (int i = 0; i < kEditorSlots && slot < 0; ++i)
        if (!g_editor.slots[i].window) slot = i;
    if (slot < 0) {
        report("これ以上テキストは編集できません"_sj);
        return -1;
    }
    Handle task = g_editor.task;
    Handle w = create_window(task, 0, uint16_t(kEditorColumns * cell()),
                             uint16_t(kEditorLines * line_height()), kEditorMode | WIN_OBJECTS);
    if (!w) return -1;
    set_window_gc(w, g_editor.gc);
    char name[32];
    std::snprintf(name, sizeof name, "nameless%d", slot);
    set_window_name(w, name);
    // First, so that every other object lies over it: it takes the right button where no other
    // object does (the editing area opens the edit menu itself).
    WindowRecord* r = window_record(w);
    Popupmenu(w, EDIT_POPUP, 0, 0, r->width, r->height, g_editor.search_menu);
    // A window of a shared text may still hold the text of an earlier editor of this slot.
    std::string text_file = name;
    if (editor_of_text(text_file) >= 0) text_file += "-" + std::to_string(g_editor.made);
    Handle text = CreateText(task, text_file.c_str(), TEXT_KEYWORDS);
    if (text) text_delete(text, 0, 0, 1);
    int width, height;
    area_size(w, &width, &height);
    Handle area = CreateTextLine(text, w, EDIT_AREA, kAreaX, kAreaY, width, height);
    if (!area) {
        report("EditTask CreateObject ERROR!");
        if (text) FreeText(task, text);
        DestroyWindow(w);
        return -1;
    }
    if (ObjectRecord* o = object_record(area)) {
        TextLineState state;
        std::memcpy(&state, o->text, sizeof state);
        state.menu = g_editor.edit_menu;
        std::memcpy(o->text, &state, sizeof state);
    }
    button_pair(w, EDIT_DISK, EDIT_ENVIRONMENT, 10, 1, "ディスク"_sj, "環　　境"_sj);
    EditorSlot& s = g_editor.slots[slot];
    s = EditorSlot{};
    s.window = w;
    s.area = area;
    int c = cell(), l = line_height();
    s.search = sub_window(w, EDIT_SEARCH_WINDOW, "SearchSubWindow", 55 * c, 12 * l, 0x0B);
    Handle in = inner(s.search);
    input(in, SEARCH_TEXT, 10, 10, 31);
    input(in, SEARCH_REPLACEMENT, 10, 50, 31);
    CheckButton(in, SEARCH_EVERY, 10, 77);
    button_pair(in, SEARCH_RUN, SEARCH_CANCEL, 50, 90, "検索／変換"_sj, "  やめる  "_sj);
    s.file = sub_window(w, EDIT_FILE_WINDOW, "FileReadSubWindow", 40 * c, 9 * l, 0x0C);
    in = inner(s.file);
    input(in, FILE_NAME, 10, 30, 21);
    button_pair(in, FILE_READ, FILE_CANCEL, 10, 60, "読み込む"_sj, " やめる "_sj);
    s.command = sub_window(w, EDIT_COMMAND_WINDOW, "CommandSubWindow", 40 * c, 7 * l, 0x0D);
    in = inner(s.command);
    input(in, COMMAND_LINE, 10, 30, 21);
    button_pair(in, COMMAND_RUN, COMMAND_CANCEL, 10, 60, " 実行 "_sj, "やめる"_sj);
    ++g_editor.made;
    g_editor.current = w;
    SendWindowPointEvent(task, w, int16_t(40 + 24 * slot), int16_t(40 + 24 * slot));
    return slot;
}

void CloseEditor(int slot) {
    if (slot < 0 || slot >= kEditorSlots || !g_editor.slots[slot].window) return;
    EditorSlot& s = g_editor.slots[slot];
    if (ObjectRecord* o = object_record(g_text_focus))
        if (EditorSlotOf(o->parent) == slot) g_text_focus = 0;
    if (test_window_mode(s.window, WIN_OPEN)) close_window(s.window);
    // The window takes its objects with it, and the area and the input lines their texts; a
    // text another window still shows stays.
    if (shared(EditorText(slot), slot))
        if (ObjectRecord* o = object_record(s.area)) o->data = 0;
    DestroyWindow(s.window);
    if (g_editor.current == s.window) g_editor.current = 0;
    s = EditorSlot{};
}

int EditorSlotOf(Handle window) {
    if (!window) return -1;
    for (int i = 0; i < kEditorSlots; ++i) {
        const EditorSlot& s = g_editor.slots[i];
        if (!s.window) continue;
        if (window == s.window || window == inner(s.search) || window == inner(s.file) ||
            window == inner(s.command))
            return i;
    }
    return -1;
}

Handle EditorText(int slot) {
    if (slot < 0 || slot >= kEditorSlots) return 0;
    ObjectRecord* o = object_record(g_editor.slots[slot].area);
    return o ? o->data : 0;
}

int EditorReadFile(int slot, const char* name) {
    if (slot < 0 || slot >= kEditorSlots || !g_editor.slots[slot].window || !name) return 1;
    char message[160];
    if (std::strlen(name) > kEditorFileNameLimit) {
        std::snprintf(message, sizeof message, "%sのﾌｧｲﾙ名が長すぎます %dまで"_sj, name,
                      int(kEditorFileNameLimit));
        report(message);
        return 1;
    }
    // A file open in another editor would share its text object.
    for (int i = 0; i < kEditorSlots; ++i)
        if (i != slot && g_editor.slots[i].window && g_editor.slots[i].file_name == name) {
            std::snprintf(message, sizeof message, "%sは編集中です"_sj, name);
            report(message);
            return 1;
        }
    int holder = editor_of_text(name);
    if (holder >= 0 && holder != slot) {
        std::snprintf(message, sizeof message, "%sは編集中です"_sj, name);
        report(message);
        return 1;
    }
    if (holder == slot) {
        // Reading its own file again: the text is read afresh in place, so a file that is gone
        // must not cost the text the editor has.
        FILE* probe = HostFileOpen(name, "rb");
        if (!probe) {
            LogLinef("File open error! %s for read", name);
            std::snprintf(message, sizeof message, "%sが見つかりません"_sj, name);
            report(message);
            return 1;
        }
        HostFileClose(probe);
    }
    Handle task = g_editor.task;
    Handle text = CreateText(task, name, TEXT_KEYWORDS);
    if (!text) {
        report("メモリ不足です"_sj);
        return 1;
    }
    int status = ReadTextFile(text);
    if (status != 0) {
        if (holder != slot) FreeText(task, text);
        if (status == 6) {
            std::snprintf(message, sizeof message, "%sが見つかりません"_sj, name);
            report(message);
        } else {
            report("メモリ不足です"_sj);
        }
        return 1;
    }
    EditorSlot& s = g_editor.slots[slot];
    ObjectRecord* o = object_record(s.area);
    if (!o) {
        LogLinef("Editer req_textobject_number() miss. %s\n", name);
        LogLine("まずいです、コケます。"_sj);
        FreeText(task, text);
        return 1;
    }
    Handle old = o->data;
    bool old_shared = shared(old, slot);
    if (g_text_focus == s.area) TextCursorHide(s.area);
    o->data = text;
    TextLineState state;
    std::memcpy(&state, o->text, sizeof state);
    state.top_line = 0;
    state.left_column = 0;
    std::memcpy(o->text, &state, sizeof state);
    if (old && old != text && !old_shared) FreeText(task, old);
    s.file_name = name;
    s.writable = read_whole(name);
    if (!s.writable)
        LogLinef("EditTask %s: NUL or Ctrl-Z bytes were not read; saving is refused", name);
    set_window_name(s.window, name);
    DrawTextField(s.area);
    return 0;
}

int EditorWriteFile(int slot) {
    Handle text = EditorText(slot);
    if (!text_header(text)) return 1;
    if (!g_editor.slots[slot].writable) {
        // The file's NUL bytes and whatever followed a Ctrl-Z would be lost.
        char message[160];
        std::snprintf(message, sizeof message, "%sはテキストとして読めないので書き込みません"_sj,
                      g_editor.slots[slot].file_name.c_str());
        report(message);
        return 1;
    }
    // Rebuilt first: a block left empty by deletions would be written as a newline.
    TextHeader* h = text_header(text);
    uint16_t x = h->cursor_x, y = h->cursor_y;
    std::string bytes = TextBytes(text);
    SetTextBytes(text, bytes.data(), bytes.size());
    h = text_header(text);
    h->cursor_x = x;
    h->cursor_y = y;
    // An empty text would be written as one line end.
    int status = 0;
    if (bytes.empty()) {
        std::string file = text_name(text);
        FILE* f = file.empty() ? nullptr : HostFileOpen(file.c_str(), "w");
        status = f && HostFileClose(f) == 0 ? 0 : 6;
    } else {
        status = WriteTextFile(text);
    }
    if (status != 0) {
        char message[160];
        std::snprintf(message, sizeof message, "%sに書き込めません"_sj,
                      g_editor.slots[slot].file_name.c_str());
        report(message);
        return 1;
    }
    return 0;
}

bool EditorSearch(int slot, const std::string& word, bool forward) {
    Handle text = EditorText(slot);
    if (!text_header(text) || word.empty()) return false;
    std::string bytes = TextBytes(text);
    size_t from = cursor_offset(slot, bytes);
    // Forward from the byte after the cursor, so that the next search moves on from a match.
    if (forward && from < bytes.size()) ++from;
    size_t at = FindWord(bytes, word, from, forward);
    if (at == std::string::npos) {
        LogLinef("search: %s not found", word.c_str());
        return false;
    }
    show_offset(slot, bytes, at, int(word.size()));
    return true;
}

int EditorReplace(int slot, const std::string& word, const std::string& replacement, bool forward,
                  bool every) {
    Handle text = EditorText(slot);
    if (!text_header(text) || word.empty()) return 0;
    std::string bytes = TextBytes(text);
    size_t from = cursor_offset(slot, bytes);
    int count = 0;
    size_t cursor = from;
    if (every) {
        count = ReplaceEvery(&bytes, word, replacement, from, forward);
    } else {
        size_t at = FindWord(bytes, word, from, forward);
        if (at != std::string::npos) {
            bytes.replace(at, word.size(), replacement);
            cursor = forward ? at + replacement.size() : at;
            count = 1;
        }
    }
    if (count == 0) return 0;
    SetTextBytes(text, bytes.data(), bytes.size());
    show_offset(slot, bytes, std::min(cursor, bytes.size()), 0);
    save_cursor(slot);
    redraw_views(text);
    return count;
}

bool EditorCommand(int slot, const std::string& command) {
    Handle text = EditorText(slot);
    if (!text_header(text)) return false;
    char word[kTextLineCapacity + 1] = {0};
    int number = 0;
    int fields = std::sscanf(command.c_str(), "%128s %d", word, &number);
    std::string verb = fields >= 1 ? word : "";
    std::string bytes = TextBytes(text);
    std::vector<size_t> starts = line_starts(bytes);
    if (verb == "save") return EditorWriteFile(slot) == 0;
    if (verb == "top") {
        show_offset(slot, bytes, 0, 0);
        return true;
    }
    if (verb == "end") {
        show_offset(slot, bytes, bytes.size(), 0);
        return true;
    }
    if (verb == "line" && fields == 2) {
        size_t line = size_t(std::clamp<int>(number, 0, int(starts.size()) - 1));
        show_offset(slot, bytes, starts[line], 0);
        return true;
    }
    LogLinef("EditTask unknown command: %s", command.c_str());
    return false;
}

void EditorPlaceCursor(int slot, int x, int y) {
    if (slot < 0 || slot >= kEditorSlots) return;
    text_field::Field f;
    if (!text_field::load(g_editor.slots[slot].area, &f) || x < 0 || y < 0) return;
    int row_index =
        std::min((y - 2) / std::max(1, text_field::line_height(f)), text_field::rows(f) - 1);
    row_index = std::max(0, row_index);
    uint32_t last = text_field::last_line(f);
    uint32_t line = std::min<uint32_t>(f.state.top_line + uint32_t(row_index), last);
    int col = f.state.left_column + std::max(0, x - 2) / std::max(1, text_field::cell_width(f));
    text_field::Row row = text_field::line_row(f, line);
    int byte = 0;
    while (size_t(byte) < row.bytes.size()) {
        int next = byte + std::max(1, text_field::char_length(row.bytes, byte));
        if (row.col[size_t(next)] > col) break;
        byte = next;
    }
    TextCursorHide(f.object);
    TextHeader* h = text_header(f.text);
    h->cursor_x = uint16_t(byte);
    h->cursor_y = uint16_t(line - f.state.top_line);
    FocusTextField(f.object);
    TextCursorOn(f.object);
}

int EditorDuplicate(int slot) {
    Handle text = EditorText(slot);
    if (!text_header(text)) return -1;
    save_cursor(slot);
    std::string bytes = TextBytes(text);
    int copy = OpenEditor();
    if (copy < 0) return -1;
    // A text of its own under the new window's name: saving it never touches the original.
    Handle own = EditorText(copy);
    SetTextBytes(own, bytes.data(), bytes.size());
    g_editor.slots[copy].cursor_line = g_editor.slots[slot].cursor_line;
    g_editor.slots[copy].cursor_column = g_editor.slots[slot].cursor_column;
    restore_cursor(copy);
    return copy;
}

int EditorShare(int slot) {
    Handle text = EditorText(slot);
    if (!text_header(text)) return -1;
    save_cursor(slot);
    int view = OpenEditor();
    if (view < 0) return -1;
    EditorSlot& from = g_editor.slots[slot];
    EditorSlot& s = g_editor.slots[view];
    ObjectRecord* o = object_record(s.area);
    if (!o) return view;
    Handle own = o->data;
    if (g_text_focus == s.area) g_text_focus = 0;
    o->data = text;
    if (own && own != text) FreeText(g_editor.task, own);
    s.file_name = from.file_name;
    s.writable = from.writable;
    s.cursor_line = from.cursor_line;
    s.cursor_column = from.cursor_column;
    if (WindowRecord* w = window_record(from.window)) set_window_name(s.window, w->name);
    restore_cursor(view);
    return view;
}
