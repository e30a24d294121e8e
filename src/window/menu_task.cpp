// MenuTask: one event a cycle, then the pointer tracking: the popup's highlight follows the
// mouse, a release ends a held item or the popup (choosing the item under the mouse), and the
// right button over empty screen opens the system menu.
#include "window/menu_task.h"

#include <algorithm>
#include <cstring>

#include "core/log.h"
#include "core/system.h"
#include "host/input.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "window/backing_store.h"
#include "window/gc.h"
#include "window/menu.h"
#include "window/window.h"
#include "window/window_events.h"
#include "window/window_manager.h"
#include "window/window_mouse.h"

MenuTaskState g_menu_task = {};

namespace {

MenuObjectReader g_object_reader = nullptr;

constexpr uint8_t kEscapeKey = 0x0F;
constexpr uint16_t kEventMenuDisable = 0x418;
constexpr uint16_t kEventMenuEnable = 0x419;
constexpr int kBlinkPeriod = 6;
constexpr int kUnusedEntryHeight = 2;  // system-menu entries no task has added
constexpr int kPopupMinWidth = 80;
constexpr int kScreenMargin = 4;

bool read_object(Handle object, MenuObject* out) {
    *out = MenuObject{};
    return g_object_reader && object && g_object_reader(object, out) && menu_header(out->menu) &&
           window_record(out->window);
}

struct GcColors {
    uint32_t fill, edge2;
};
GcColors colors_of(Handle window) {
    WindowRecord* w = window_record(window);
    GCRecord* g = gc_record(w ? w->gc : 0);
    return g ? GcColors{g->fill, g->edge2} : GcColors{0xC0C0C0, 0x404040};
}

// The mouse relative to the window's client origin; false outside it (strictly).
bool mouse_in(Handle window, int* x, int* y) {
    int mx = HostCursorX(), my = HostCursorY();
    if (!point_in_window(window, mx, my)) return false;
    *x = mx - client_left(window);
    *y = my - client_top(window);
    return true;
}

// The item under the mouse in a shown menu: 0 for none, index 0, or a disabled item.
int item_under_mouse(Handle menu, Handle window) {
    int x, y;
    if (!mouse_in(window, &x, &y)) return 0;
    int index = MenuItemAt(menu, window, y);
    return TestMenuItemFlags(menu, index, ITEM_DISABLED) ? 0 : index;
}

void light(Handle menu, Handle window, int index) {
    MenuItem* item = menu_item(menu, index);
    if (!item) return;
    item->flags |= ITEM_HIGHLIGHT;
    FillMenuItemBar(menu, index, window, colors_of(window).edge2);
    DrawMenuItem(menu, index, window);
}

void unlight(Handle menu, Handle window, int index) {
    MenuItem* item = menu_item(menu, index);
    if (!item) return;
    item->flags &= uint16_t(~ITEM_HIGHLIGHT);
    FillMenuItemBar(menu, index, window, colors_of(window).fill);
    DrawMenuItem(menu, index, window);
}

// Makes (menu, window) the pair whose highlight follows the mouse.
void follow_in(Handle menu, Handle window) {
    MenuTaskState& s = g_menu_task;
    if (s.highlight_menu == menu && s.highlight_window == window) return;
    if (s.highlighted) unlight(s.highlight_menu, s.highlight_window, s.highlighted);
    s.highlight_menu = menu;
    s.highlight_window = window;
    s.highlighted = 0;
}

// The highlight follows the mouse over a menu shown in a window.
void follow_mouse(Handle menu, Handle window) {
    MenuTaskState& s = g_menu_task;
    follow_in(menu, window);
    int x, y;
    if (!mouse_in(window, &x, &y)) {
        if (s.highlighted) unlight(menu, window, s.highlighted);
        s.highlighted = 0;
        return;
    }
    int index = item_under_mouse(menu, window);
    if (index == s.highlighted) return;
    if (s.highlighted) unlight(menu, window, s.highlighted);
    s.highlighted = 0;
    if (index != 0 && !TestMenuItemFlags(menu, index, ITEM_SEPARATOR)) {
        light(menu, window, index);
        s.blink = 1;
        s.highlighted = index;
    }
}

void send_selection(Handle menu, uint32_t destination, uint16_t number) {
    EventRecord* e = event_record(SendEvent(TASK_ID_MENU, destination, EVENT_MENU_SELECT));
    if (!e) return;
    std::memcpy(e->data, &number, sizeof number);
    std::memcpy(e->data + 4, &menu, sizeof menu);
}

// The popup's choice: the system menu reports the entry's index to the task that added it,
// other menus their item's value to the menu's owner.
void choose_from_popup(Handle menu, int index) {
    uint32_t value = MenuItemValue(menu, index);
    if (index == 0 || value == 0) return;
    if (menu == g_menu_task.system_menu)
        send_selection(menu, value, uint16_t(index));
    else
        send_selection(menu, TaskId(menu_header(menu)->owner), uint16_t(value));
}

void initialise(Handle task) {
    MenuTaskState& s = g_menu_task;
    LogLine("init MenuTask.");
    s.task = task;
    s.popup_window =
        create_window(task, 0, uint16_t(kPopupMinWidth), uint16_t(kPopupMinWidth), WIN_FRAME);
    if (s.popup_window) {
        set_window_name(s.popup_window, "SystemMenu");
        BackingStore(s.popup_window);
    }
    s.system_menu = CreateMenu(task, kSystemMenuLastIndex);
    if (MenuHeader* h = menu_header(s.system_menu)) {
        h->flags = MENU_HELP_TEXT | MENU_TITLE | MENU_CUT_TEXT;
        SetMenuItem(s.system_menu, 0, "NOMA", "", 0);
        for (int i = 1; i <= kSystemMenuLastIndex; ++i)
            menu_item(s.system_menu, i)->height = kUnusedEntryHeight;
    }
}

// 0x412: the sender's entry at its item number, the sender's id as its value.
void add_entry(const EventRecord& e) {
    MenuTaskState& s = g_menu_task;
    if (!s.system_menu || !s.popup_window) {
        LogLine("NON SYSTEM MENU!");
        return;
    }
    uint16_t index;
    std::memcpy(&index, e.data, sizeof index);
    char label[kMenuEventLabelSize + 1] = {};
    std::memcpy(label, e.data + kMenuEventLabel, kMenuEventLabelSize);
    MenuItem* item = menu_item(s.system_menu, index);
    if (!item || index == 0) return;
    item->height = 0;
    SetMenuItem(s.system_menu, index, label, e.data + kMenuEventHelp, e.source);
}

void toggle_entry(const EventRecord& e, uint16_t mask) {
    uint16_t index;
    std::memcpy(&index, e.data, sizeof index);
    ToggleMenuItemFlags(g_menu_task.system_menu, index, mask, false);
}

// 0x415: the application moves the highlight of a shown menu to an item.
void application_request(const EventRecord& e) {
    MenuTaskState& s = g_menu_task;
    uint16_t index;
    Handle menu;
    std::memcpy(&index, e.data, sizeof index);
    std::memcpy(&menu, e.data + 4, sizeof menu);
    Handle window = e.value;
    if (!menu_header(menu) || !window_record(window)) return;
    follow_in(menu, window);
    if (s.highlighted) unlight(menu, window, s.highlighted);
    s.highlighted = 0;
    if (index != 0 && menu_item(menu, index) &&
        !TestMenuItemFlags(menu, index, ITEM_DISABLED | ITEM_SEPARATOR)) {
        light(menu, window, index);
        s.highlighted = index;
        s.blink = 1;
    }
}

// 0x317 and 0x318 for a shown selecter; an enter while an item stays highlighted blinks it.
void hover(const EventRecord& e, bool enter) {
    MenuTaskState& s = g_menu_task;
    Handle object;
    std::memcpy(&object, e.data, sizeof object);
    MenuObject o;
    if (!read_object(object, &o) || o.kind != MENU_OBJECT_SELECTER) return;
    if (!test_window_mode(o.window, WIN_SHOW)) return;
    follow_mouse(o.menu, o.window);
    if (!enter || !s.highlighted || !item_under_mouse(o.menu, o.window)) return;
    LogLine("brink");
    ++s.blink;
    GcColors c = colors_of(o.window);
    FillMenuItemBar(o.menu, s.highlighted, o.window, s.blink % kBlinkPeriod ? c.edge2 : c.fill);
    DrawMenuItem(o.menu, s.highlighted, o.window);
}

// 0x308: a press on a menu object.
void object_pressed(const EventRecord& e) {
    MenuTaskState& s = g_menu_task;
    Handle object;
    std::memcpy(&object, e.data, sizeof object);
    MenuObject o;
    if (!read_object(object, &o)) return;
    s.pressed_object = object;
    if (o.kind == MENU_OBJECT_POPUP) {
        OpenPopupMenu(o.menu);
        return;
    }
    if (o.kind == MENU_OBJECT_TEXTLINE) {
        // A text line takes every button (the left one places its cursor); only the right one
        // opens its menu.
        if (HostMouseButtons() == MOUSE_RIGHT && s.mode == 0) OpenPopupMenu(o.menu);
        return;
    }
    int x, y;
    int index = mouse_in(o.window, &x, &y) ? MenuItemAt(o.menu, o.window, y) : 0;
    if (index == 0) return;
    if (o.kind == MENU_OBJECT_MENUBAR) {
        ToggleMenuItemFlags(o.menu, index, ITEM_TICK, true);
        return;
    }
    if (TestMenuItemFlags(o.menu, index, ITEM_DISABLED)) return;
    s.pressed_index = index;
    s.mode = 2;
    SetMouseCapture(s.task);
    follow_in(o.menu, o.window);
    if (s.highlighted) unlight(o.menu, o.window, s.highlighted);
    light(o.menu, o.window, index);
    s.highlighted = index;
}

// The release of a held selecter or pull-down item.
void finish_held_item() {
    MenuTaskState& s = g_menu_task;
    ReleaseMouseCapture();
    MenuObject o;
    if (read_object(s.pressed_object, &o)) {
        // The hover highlight may have moved on to another item meanwhile.
        if (s.highlight_menu == o.menu && s.highlighted && s.highlighted != s.pressed_index)
            unlight(o.menu, o.window, s.highlighted);
        unlight(o.menu, o.window, s.pressed_index);
        if (s.highlight_menu == o.menu) s.highlighted = 0;
        int x, y;
        if (mouse_in(o.window, &x, &y) && MenuItemAt(o.menu, o.window, y) == s.pressed_index &&
            !TestMenuItemFlags(o.menu, s.pressed_index, ITEM_DISABLED))
            send_selection(o.menu, window_owner_id(o.parent),
                           uint16_t(MenuItemValue(o.menu, s.pressed_index)));
    }
    s.mode = 0;
    s.pressed_index = 0;
}

// The release that ends the popup: close it and report the item under the mouse.
void finish_popup() {
    MenuTaskState& s = g_menu_task;
    SendWindowEvent(s.task, s.popup_window);
    int index = item_under_mouse(s.popup_menu, s.popup_window);
    if (s.highlighted) {
        if (MenuItem* item = menu_item(s.highlight_menu, s.highlighted))
            item->flags &= uint16_t(~ITEM_HIGHLIGHT);
    }
    choose_from_popup(s.popup_menu, index);
    s.highlighted = 0;
    s.highlight_menu = s.highlight_window = 0;
    s.blink = 0;
    s.mode = 0;
    ReleaseMouseCapture();
}

void track_pointer() {
    MenuTaskState& s = g_menu_task;
    if (g_system.phase != PHASE_RUNNING || TestSystemFlag(FLAG_REDRAW_MOTION)) return;
    if (s.mode == 1) follow_mouse(s.popup_menu, s.popup_window);
    uint16_t buttons = HostMouseButtons();
    if (s.mode == 2 && buttons == 0) {
        finish_held_item();
    } else if (s.mode == 1 && buttons == 0) {
        finish_popup();
    } else if (buttons == MOUSE_RIGHT && s.mode == 0 && g_window_manager.capture != s.task &&
               !mouse_over_top_window()) {
        OpenPopupMenu(s.system_menu);
    }
}

// Returns false when the event ends the cycle (no tracking after it).
bool handle_event(Handle task, const EventRecord& e) {
    MenuTaskState& s = g_menu_task;
    switch (e.code) {
        case EVENT_SYSTEM_READY:
            initialise(task);
            break;
        case EVENT_MENU_ADD:
            add_entry(e);
            break;
        case EVENT_MENU_REQUEST:
            application_request(e);
            break;
        case kEventMenuDisable:
        case kEventMenuEnable:
            toggle_entry(e, ITEM_DISABLED);
            break;
        case EVENT_WINDOW_OPENED:
            if (e.value == s.popup_window) DrawMenu(s.popup_menu, s.popup_window);
            break;
        case EVENT_REQ_DRAW:
            if (e.value == s.popup_window) {
                s.mode = 1;
                follow_in(s.popup_menu, s.popup_window);
                DrawMenu(s.popup_menu, s.popup_window);
                follow_mouse(s.popup_menu, s.popup_window);
                RetDrawEvent(task, s.popup_window);
            }
            break;
        case EVENT_MOUSE_ENTER:
            hover(e, true);
            break;
        case EVENT_MOUSE_LEAVE:
            hover(e, false);
            break;
        case EVENT_OBJECT_NOTICE:
            object_pressed(e);
            break;
        case EVENT_KEY:
            return (e.word_a & 0xFF) == kEscapeKey;
        case EVENT_HALF_SECOND:
        case EVENT_QUARTER_SECOND:
            return false;
        default:
            break;
    }
    return true;
}

}  // namespace

void ResetMenus() {
    g_menu_task = {};
    ForgetShownMenus();
}

void SetMenuObjectReader(MenuObjectReader reader) {
    g_object_reader = reader;
}

void DrawObjectMenu(Handle object) {
    MenuObject o;
    if (read_object(object, &o)) DrawMenu(o.menu, o.window);
}

void OpenPopupMenu(Handle menu) {
    MenuTaskState& s = g_menu_task;
    WindowRecord* w = window_record(s.popup_window);
    if (!w || !menu_header(menu)) return;
    if (w->mode & WIN_OPEN) return;  // one popup at a time
    s.popup_menu = menu;
    SetAllMenuItemFlags(menu, ITEM_HIGHLIGHT, false);
    WindowRecord* root = window_record(g_window_manager.root);
    int screen_w = root ? root->width : 640, screen_h = root ? root->height : 480;
    int width = std::clamp(MenuWidth(menu, s.popup_window), kPopupMinWidth,
                           std::max(kPopupMinWidth, screen_w - 2 * kFrameWidth - kScreenMargin));
    int height = std::clamp(MenuHeight(menu, s.popup_window), 1,
                            std::max(1, screen_h - 2 * kFrameWidth - kScreenMargin));
    w = window_record(s.popup_window);
    if (width != w->width || height != w->height)
        resize_window(s.popup_window, width - w->width, height - w->height);
    s.highlight_menu = menu;
    s.highlight_window = s.popup_window;
    s.highlighted = 0;
    SetMouseCapture(s.task);
    // At the mouse, kept on the screen.
    int x = std::clamp(HostCursorX(), kFrameWidth,
                       std::max(kFrameWidth, screen_w - width - kFrameWidth));
    int y = std::clamp(HostCursorY(), kFrameWidth,
                       std::max(kFrameWidth, screen_h - height - kFrameWidth));
    SendWindowPointEvent(s.task, s.popup_window, int16_t(x), int16_t(y));
}

void MenuTask(Handle task) {
    if (ReciveEvent(task) == RECEIVE_EVENT) {
        if (const EventRecord* e = event_record(CurrentEvent(task))) {
            EventRecord copy = *e;  // handling sends events, which may move the record
            if (!handle_event(task, copy)) return;
        }
    }
    track_pointer();
}
