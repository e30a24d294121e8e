// MenuTask: the menus' task. It owns the system popup menu (opened with the right button over
// empty screen), takes entries for it from other tasks (0x412), opens the menus of window
// objects, highlights the item under the mouse, holds the mouse capture from a press to its
// release and reports the chosen item with 0x413.
#pragma once

#include <cstdint>

#include "core/pool.h"

void MenuTask(Handle task);

// The system menu's size: entries 1 to 20 (item 0 is its title).
constexpr int kSystemMenuLastIndex = 20;

// What MenuTask needs of a window object that carries a menu. The window objects fill it in
// through the reader they install (their kinds Popupmenu, Pulldownmenu, Selecter and menu bar
// item); without a reader no object has a menu.
enum MenuObjectKind : uint8_t {
    MENU_OBJECT_NONE = 0,
    MENU_OBJECT_POPUP,
    MENU_OBJECT_PULLDOWN,
    MENU_OBJECT_SELECTER,
    MENU_OBJECT_MENUBAR,
    MENU_OBJECT_TEXTLINE,  // a text line of the text task carrying a menu for the right button
};
struct MenuObject {
    MenuObjectKind kind;
    Handle window;  // the object's own sub-window, where its menu is drawn
    Handle parent;  // the window that holds the object; its owner gets the selections
    Handle menu;
};
using MenuObjectReader = bool (*)(Handle object, MenuObject* out);
void SetMenuObjectReader(MenuObjectReader reader);

// Draws the menu of a selecter or pull-down object into its sub-window (after the object's
// panel); the window objects' drawer calls it.
void DrawObjectMenu(Handle object);
// Opens `menu` as the popup menu at the mouse: MenuTask takes the mouse capture and asks
// WindowTask to open the popup window there. A Popupmenu object's notice ends here.
void OpenPopupMenu(Handle menu);

struct MenuTaskState {
    Handle task;
    Handle popup_window;  // framed, with its own backing store
    Handle system_menu;
    Handle popup_menu;  // the menu the popup window shows
    Handle pressed_object;
    int mode;  // 0 idle, 1 a popup menu is open, 2 a selecter or pull-down item is held
    int pressed_index;
    // The highlight that follows the mouse, in one menu shown in one window.
    Handle highlight_menu;
    Handle highlight_window;
    int highlighted;
    int blink;  // counts the hover notices while an item stays highlighted
};
extern MenuTaskState g_menu_task;

// Forgets the task's state (start-up and tests).
void ResetMenus();
