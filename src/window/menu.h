// Menus: records of the system resource "Menu", a 16-byte header and items of 132 bytes each,
// made in code or from a menu file, and drawn into a window (the system popup window or the
// sub-window of a selecter or pull-down object).
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"

// Menu flags.
constexpr uint8_t MENU_HELP_TEXT = 0x01;  // an item shows its label followed by its help text
constexpr uint8_t MENU_TITLE = 0x02;      // item 0 is drawn as the menu's title
constexpr uint8_t MENU_CUT_TEXT = 0x04;   // texts wider than the menu end in ".."

// Item flags.
constexpr uint16_t ITEM_HIGHLIGHT = 0x02;
constexpr uint16_t ITEM_DISABLED = 0x08;  // cannot be chosen
constexpr uint16_t ITEM_SEPARATOR = 0x10;
constexpr uint16_t ITEM_TICK = 0x40;
constexpr uint16_t ITEM_PICTURE = 0x80;

constexpr size_t kMenuLabelSize = 32;
constexpr size_t kMenuHelpSize = 82;

struct MenuItem {
    char label[kMenuLabelSize];  // NUL-terminated
    char help[kMenuHelpSize];    // NUL-terminated
    uint16_t flags;
    uint16_t height;  // pixels; 0 = the menu window font's line height + 4
    uint8_t pad[2];
    uint32_t picture;  // host bitmap drawn with the item under ITEM_PICTURE
    uint32_t reserved;
    uint32_t value;  // reported when chosen; 0 = not choosable; system menu: the adding task
};
static_assert(sizeof(MenuItem) == 132);
static_assert(offsetof(MenuItem, flags) == 114);
static_assert(offsetof(MenuItem, picture) == 120);
static_assert(offsetof(MenuItem, value) == 128);

struct MenuHeader {
    uint8_t flags;
    uint8_t last_index;  // the menu has last_index + 1 items
    uint8_t pad0[2];
    Handle owner;  // task that receives the selections of a menu other than the system menu
    uint16_t reserved0;
    uint8_t pad1[2];
    uint32_t reserved1;
};
static_assert(sizeof(MenuHeader) == 16);
static_assert(offsetof(MenuHeader, owner) == 4);

// The header of a menu, or nullptr. Lives in the pool: re-read after allocations.
MenuHeader* menu_header(Handle menu);
// Item `index` (0 .. last index), or nullptr.
MenuItem* menu_item(Handle menu, int index);
// Number of items (last index + 1), 0 for no menu.
int MenuItemCount(Handle menu);

// A menu of `owner` with items 0 .. last_index, every item cleared; 0 when the record cannot be
// made or last_index is outside 0 .. 255.
Handle CreateMenu(Handle owner, int last_index);
void DeleteMenu(Handle menu);
// A menu from a menu file: MenuCount is the last index; each line "Mes LABEL HELP NUMBER" gives
// item NUMBER its texts and NUMBER as its value. 0 (with a system error when MenuCount is
// missing or below 1) when the file has no lines or the menu cannot be made.
Handle LoadMenuFile(Handle owner, const char* file);

// Sets both texts and the value. Texts longer than their field are cut at a character
// boundary.
void SetMenuItem(Handle menu, int index, const char* label, const char* help, uint32_t value);
void SetMenuItemValue(Handle menu, int index, uint32_t value);
uint32_t MenuItemValue(Handle menu, int index);  // 0 for no such item
// The item's flags under `mask`.
uint16_t TestMenuItemFlags(Handle menu, int index, uint16_t mask);
// Sets the bits of `mask` when none of them was set and clears them otherwise; the menu is
// drawn again where it was last shown when `redraw` is set. Returns the flags left set under
// the mask.
uint16_t ToggleMenuItemFlags(Handle menu, int index, uint16_t mask, bool redraw);
// Sets or clears `mask` on every item.
void SetAllMenuItemFlags(Handle menu, uint16_t mask, bool set);

// Geometry in a window: the default item height comes from the window GC's font.
int MenuItemHeight(Handle menu, int index, Handle window);
int MenuItemTop(Handle menu, int index, Handle window);
int MenuHeight(Handle menu, Handle window);
// The width the longest text needs in the window's font, with room for ticks and margins.
int MenuWidth(Handle menu, Handle window);
// The item at client y: top(i) <= y < top(i) + height(i); 0 when none (index 0 is never
// chosen).
int MenuItemAt(Handle menu, Handle window, int y);

// Drawing (window/menu_draw.cpp). The menu is drawn from the top of the window's client area;
// each item's bar is filled first (edge2 when highlighted, else the fill colour).
void DrawMenu(Handle menu, Handle window);
void DrawMenuItem(Handle menu, int index, Handle window);
// Fills the item's bar (2 pixels in from the left, the width less 4) in `color`.
void FillMenuItemBar(Handle menu, int index, Handle window, uint32_t color);
// The window the menu was drawn into last (for redraws on request), or 0.
Handle MenuShownIn(Handle menu);
void ForgetShownMenus();
