// The window record and the record operations of the window tree. Windows are 88-byte records
// of the system resource "Window"; the root "SystemRootWindow" covers the screen, every window
// an application opens is a child of the root, and window objects own child windows of their
// own (object sub-windows).
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"

// Style chosen at creation (low bits) and state kept by the window manager.
constexpr uint32_t WIN_MODAL = 0x00000004;
constexpr uint32_t WIN_FRAME = 0x00000008;
constexpr uint32_t WIN_CONTROLBAR = 0x00000010;
constexpr uint32_t WIN_TITLE = 0x00000020;
constexpr uint32_t WIN_BAR2 = 0x00000040;
constexpr uint32_t WIN_CLOSEBOX = 0x00000080;
constexpr uint32_t WIN_RESIZEBOX = 0x00000100;
constexpr uint32_t WIN_TILED = 0x00000200;
constexpr uint32_t WIN_RULED = 0x00000400;
constexpr uint32_t WIN_SEMITRANS = 0x00000800;
constexpr uint32_t WIN_NOBACK = 0x00001000;
constexpr uint32_t WIN_SHADOW = 0x00002000;
constexpr uint32_t WIN_NOOBJDRAW = 0x00004000;
constexpr uint32_t WIN_OBJECTS = 0x00008000;
constexpr uint32_t WIN_DRAWABLE = 0x00010000;
constexpr uint32_t WIN_OPEN = 0x00020000;
constexpr uint32_t WIN_GCFILL = 0x00040000;
constexpr uint32_t WIN_REDRAW = 0x00100000;
constexpr uint32_t WIN_NODRAW = 0x00200000;
constexpr uint32_t WIN_BACKSTORE = 0x01000000;
constexpr uint32_t WIN_SHOW = 0x02000000;
constexpr uint32_t WIN_SAVEGRAPHIC = 0x04000000;
constexpr uint32_t WIN_OBJDRAWING = 0x08000000;
constexpr uint32_t WIN_SUBWINDOW = 0x10000000;

// Decoration sizes.
constexpr int kFrameWidth = 4;
constexpr int kBarHeight = 18;
constexpr int kBoxSize = 14;

struct WindowRecord {
    int16_t x;  // client area relative to the parent's client origin
    int16_t y;
    uint16_t width;  // client size
    uint16_t height;
    int16_t origin_x;  // absolute position of the parent's client origin
    int16_t origin_y;
    uint32_t mode;
    char name[22];
    uint8_t pad0[2];
    Handle owner;  // task handle
    Handle gc;
    int16_t depth;  // 1 = uncovered, 0 = not shown
    uint8_t pad1[2];
    Handle parent;
    Handle first_object;
    Handle last_object;
    Handle first_child;    // rearmost child
    Handle last_child;     // front-most child
    Handle next;           // sibling in front
    Handle back;           // sibling behind
    Handle backing_store;  // graphic
    Handle wallpaper;      // graphic
};
static_assert(sizeof(WindowRecord) == 88);
static_assert(offsetof(WindowRecord, mode) == 12);
static_assert(offsetof(WindowRecord, name) == 16);
static_assert(offsetof(WindowRecord, owner) == 40);
static_assert(offsetof(WindowRecord, depth) == 48);
static_assert(offsetof(WindowRecord, parent) == 52);
static_assert(offsetof(WindowRecord, first_child) == 64);
static_assert(offsetof(WindowRecord, next) == 72);
static_assert(offsetof(WindowRecord, backing_store) == 80);
static_assert(offsetof(WindowRecord, wallpaper) == 84);

// The window behind a handle, or nullptr. Lives in the pool: re-read after allocations.
WindowRecord* window_record(Handle window);

// Creates a closed window at (0, 0) in front of the parent's children (parent 0 = the root;
// without a root the window has no parent). Returns 0 when the record cannot be made.
Handle create_window(Handle owner, Handle parent, uint16_t width, uint16_t height, uint32_t mode);
// Destroys the window's objects and bitmaps, unlinks it and deletes its record.
void DestroyWindow(Handle window);

// Mode flags.
void set_window_mode(Handle window, uint32_t bits);
void clear_window_mode(Handle window, uint32_t bits);
bool test_window_mode(Handle window, uint32_t bits);  // any of `bits`
void replace_window_mode(Handle window, uint32_t mode);
uint32_t window_mode(Handle window);

void set_window_name(Handle window, const char* name);  // at most 22 bytes are kept
void set_window_gc(Handle window, Handle gc);
// Sets the fill and edge colours of the window's GC.
void set_window_colors(Handle window, uint32_t fill, uint32_t edge1, uint32_t edge2);

// Position and size.
void set_position(Handle window, int x, int y);  // also moves every descendant's origin
void centre_window(Handle window);
void clamp_window(Handle window, int margin);
void resize_window(Handle window, int dw, int dh);
void set_rectangle(Handle window, int x, int y, int width, int height);

// Geometry in absolute screen coordinates.
int client_left(Handle window);
int client_top(Handle window);
int outer_left(Handle window);
int outer_top(Handle window);
int outer_width(Handle window);
int outer_height(Handle window);
int bar_top(Handle window);  // top of the control bar

// Strict hit test against the absolute client rectangle (an edge is outside).
bool point_in_window(Handle window, int px, int py);
// Strict hit test against the outer rectangle.
bool point_in_outer(Handle window, int px, int py);
// Mouse position relative to the client origin, as task `caller` sees it: -1 outside the
// window or when a task other than `caller` holds the mouse capture.
int mouse_x_in(Handle window, Handle caller);
int mouse_y_in(Handle window, Handle caller);
// 1 when the mouse is inside a top-level window of depth 1.
int mouse_over_top_window();

// The window's owner as a task id (0 when it has none).
uint32_t window_owner_id(Handle window);
// The owner's task name ("" when it has none).
const char* window_owner_name(Handle window);
