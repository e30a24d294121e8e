// Window objects: the controls inside a window. Each object is a 104-byte record of the system
// resource "Object" and owns a small child window of its own (its sub-window), so that it can
// be shown, hidden, hit-tested and drawn like a window. A window's objects form a list from
// its firstObject to its lastObject; they are drawn in list order and hit-tested from the end
// backwards, so a later object lies on top.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"

// Object flags.
constexpr uint32_t OBJ_HIDDEN = 0x01;     // not drawn; buttons ignore clicks
constexpr uint32_t OBJ_ON = 0x02;         // pushed, ticked or latched
constexpr uint32_t OBJ_CREATED = 0x14;    // the flags of a new record
constexpr uint32_t OBJ_INERT = 0x20;      // clicks do nothing; a text button shows its on state
constexpr uint32_t OBJ_SUBWINDOW = 0x40;  // the owner draws the sub-window's contents
constexpr uint32_t OBJ_BARE = 0x80;       // a message object draws no background

// Object kinds.
enum ObjectKind : uint16_t {
    OBJ_BUTTON = 1,
    OBJ_INPUT = 3,
    OBJ_GRAPHIC = 4,
    OBJ_CHECK = 5,
    OBJ_MESSAGE_BUTTON = 6,
    OBJ_LABEL = 7,
    OBJ_POPUP = 10,
    OBJ_PULLDOWN = 11,
    OBJ_SUB = 12,
    OBJ_MESSAGE = 16,
    OBJ_UP = 18,
    OBJ_DOWN = 19,
    OBJ_LEFT = 20,
    OBJ_RIGHT = 21,
    OBJ_ELEVATOR = 22,
    OBJ_HELP = 23,
    OBJ_SELECTER = 24,
    OBJ_MENUBAR = 25,
    OBJ_TEXTLINE = 26,
};

// Mode of every object sub-window: WIN_SUBWINDOW | WIN_SHOW | WIN_SEMITRANS.
constexpr uint32_t kObjectWindowMode = 0x12000800;
constexpr size_t kObjectTextSize = 68;

struct ObjectRecord {
    Handle window;  // the object's own sub-window
    uint32_t flags;
    uint32_t reserved;
    Handle parent;  // the window that holds the object
    uint16_t kind;
    uint16_t number;  // chosen by the creator; unique within a window by convention
    Handle gc;
    char text[kObjectTextSize];  // button, label or help text, or the state of the kind
    Handle data;                 // picture, text line or menu
    Handle next;
    Handle back;
};
static_assert(sizeof(ObjectRecord) == 104);
static_assert(offsetof(ObjectRecord, kind) == 16);
static_assert(offsetof(ObjectRecord, gc) == 20);
static_assert(offsetof(ObjectRecord, text) == 24);
static_assert(offsetof(ObjectRecord, data) == 92);
static_assert(offsetof(ObjectRecord, next) == 96);

// The state an input line or a text line keeps in its text area: the first word is 1, then the
// edit values of the text task, then the menu a text line opens on the right button (0: none).
struct TextLineState {
    uint32_t one;
    uint32_t top_line;
    uint16_t visible_lines;
    uint16_t left_column;
    uint16_t visible_columns;
    uint16_t reserved;
    Handle menu;
};
static_assert(sizeof(TextLineState) <= kObjectTextSize);
// The state an elevator keeps in its text area: the scroll range and position.
struct ElevatorState {
    int32_t minimum;
    int32_t maximum;
    int32_t position;
};

// The object behind a handle, or nullptr when the handle is not a live record of "Object".
// Lives in the pool: re-read after allocations.
ObjectRecord* object_record(Handle object);

// Creates an object of `kind` in `window` with its sub-window at (x, y), width by height,
// appended to the window's list; the sub-window is named `name` when given. 0 when the record
// or the sub-window cannot be made.
Handle CreateObject(Handle window, uint16_t number, uint16_t kind, int x, int y, int width,
                    int height, const char* name = nullptr, uint32_t extra_mode = 0);
// Destroys the sub-window and deletes the record.
void DeleteObject(Handle object);

// Creators, by kind. Each returns the object, or 0.
Handle Button(Handle window, uint16_t number, int x, int y, int width, int height);
Handle CheckButton(Handle window, uint16_t number, int x, int y);
Handle MessageButton(Handle window, uint16_t number, int x, int y, const char* text);
Handle Label(Handle window, uint16_t number, int x, int y, const char* text);
Handle GraphicObject(Handle window, uint16_t number, int x, int y, int width, int height,
                     Handle picture);
Handle Popupmenu(Handle window, uint16_t number, int x, int y, int width, int height, Handle menu);
Handle Pulldownmenu(Handle window, uint16_t number, int x, int width, int height, uint32_t mode,
                    Handle menu);
Handle SubWindow(Handle window, uint16_t number, int x, int y, int width, int height,
                 uint32_t mode);
Handle Message(Handle window, uint16_t number, int x, int y, int width, int height, Handle gc);
Handle UpButton(Handle window, uint16_t number, int x, int y);
Handle DownButton(Handle window, uint16_t number, int x, int y);
Handle Elebator(Handle window, uint16_t number, int x, int y, int height);
Handle HelpMessage(Handle window, uint16_t number);
Handle Selecter(Handle window, uint16_t number, int x, int y, int width, int height, Handle menu,
                Handle gc);
Handle MenuBarItem(Handle window, uint16_t number, int x, int y, int width, int height,
                   Handle menu);
// An up button (number + 1), a down button (number + 2) and an elevator (number) between
// them, `length` pixels in all; returns the elevator.
Handle ScrollBar(Handle window, uint16_t number, int x, int y, int length);
// An input line of `length` characters owned by `owner`: a text object holding "demo text"
// and a text line of the window's font size. Logs "    CreateMessageLine null error" and
// returns 0 when the text line cannot be made.
Handle CreateMessageLine(Handle window, uint16_t number, int x, int y, int length, Handle owner);
// The same restricted to digits, or to single-byte characters.
Handle CreateNumericLine(Handle window, uint16_t number, int x, int y, int length, Handle owner);
Handle CreateByteLine(Handle window, uint16_t number, int x, int y, int length, Handle owner);
// A text line of the text task over `text` (kind 26); 0 when `text` is empty.
Handle CreateTextLine(Handle text, Handle window, uint16_t number, int x, int y, int width,
                      int height);

// Lookups.
Handle ReqObject(Handle window, uint16_t number);
int ObjectCount(Handle window, uint16_t kind);
Handle NthObject(Handle window, uint16_t kind, int n);  // n from 1

// Geometry and state, by window and number.
void MoveObject(Handle window, uint16_t number, int x, int y);
// Moves the three objects of the scroll bar whose elevator is `number`.
void MoveScrollBar(Handle window, uint16_t number, int x, int y);
int ObjectOn(Handle window, uint16_t number);  // 1 on, 0 off, -1 no such object
void SetObjectFlags(Handle window, uint16_t number, uint32_t flags);
int ClearObjectFlags(Handle window, uint16_t number, uint32_t flags);  // 1 when they were set
int SetAllObjectFlags(Handle window, uint32_t flags);                  // how many changed
int ClearAllObjectFlags(Handle window, uint32_t flags);
void SetObjectOn(Handle window, uint16_t number);
void SetObjectOff(Handle window, uint16_t number);
void ShowObject(Handle window, uint16_t number, int x, int y);
void HideObject(Handle window, uint16_t number);
void DrawObject(Handle window, uint16_t number);
void DestroyObject(Handle window, uint16_t number);

// Contents.
void SetGraphicObject(Handle window, uint16_t number, Handle picture);
void SetMessageButtonText(Handle window, uint16_t number, const char* text);
Handle SetMessageObject(Handle window, uint16_t number, const char* text);
// The text of a message object (its text line), or nullptr.
const char* MessageObjectText(Handle object);
void SetHelpMessage(Handle window, const char* text);
// Copies the text of an input line into `buffer` (kTextLineCapacity + 1 bytes); returns the
// buffer, or nullptr.
char* GetInputText(Handle window, uint16_t number, char* buffer);
int32_t GetInputNumber(Handle window, uint16_t number);  // -1 when there is no number
// Sets the text of an input line; 0, or 1 on failure.
int PutInputText(Handle window, uint16_t number, const char* text);
int PutInputNumber(Handle window, uint16_t number, int32_t value);

// Scroll bars (by the elevator's number).
void SetScrollRange(Handle window, uint16_t number, int32_t minimum, int32_t maximum);
void SetScrollPosition(Handle window, uint16_t number, int32_t position);
int32_t ScrollPosition(Handle window, uint16_t number);

// Makes a wallpaper graphic for the window and draws `picture` stretched over its client area.
void Wallpaper(Handle window, Handle picture);

// Shows an object's sub-window through an open request at (x, y) (-1, -1 = where it is), or
// asks its owner to draw it again when it is already shown.
void OpenSubWindow(Handle object, int x, int y);
void CloseSubWindow(Handle object);

// Capacity of the text of an input line and of a message object's text line.
constexpr int kTextLineCapacity = 128;
constexpr int kMessageLineCapacity = 2047;

// Acts on a click on the object by its kind; nothing for an inert object.
void action_button(Handle object);
// The text effect player's redraw of a message object (`RedrawEffect`); the effect task
// installs it. Until then message objects draw their text plainly.
extern int (*g_redraw_effect)(Handle task, Handle object, int mode);

// Installs the object entry points into the window manager (the first object does it too).
void InstallWindowObjects();
