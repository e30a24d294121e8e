// Menus: the record and its operations, menu files, item geometry, and MenuTask with the
// window manager: the system popup menu, entries from other tasks, selecters and pull-downs
// held with the mouse capture, menu bar ticks, the highlight; golden screenshots of a popup, a
// selecter and a pull-down.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "host/bitmap.h"
#include "host/input.h"
#include "host/sjis_literal.h"
#include "host/surface.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "resource/resource.h"
#include "support/golden.h"
#include "window/draw.h"
#include "window/gc.h"
#include "window/menu.h"
#include "window/menu_task.h"
#include "window/panel.h"
#include "window/window.h"
#include "window/window_events.h"
#include "window/window_manager.h"
#include "window/window_task.h"
#include "window_env.h"

namespace {

std::map<Handle, MenuObject> g_objects;

bool read_object(Handle object, MenuObject* out) {
    auto it = g_objects.find(object);
    if (it == g_objects.end()) return false;
    *out = it->second;
    return true;
}

class MenuTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        RegisterSystemTasks();
        SetMenuObjectReader(read_object);
        user_ = NewTask("User");
        SendEvent(TASK_ID_MANAGER, TASK_ID_ALL, EVENT_SYSTEM_READY);
        Run();
        HostSetMouseButtons(0);
        HostSetCursor(300, 230);
    }
    void TearDown() override {
        SetMenuObjectReader(nullptr);
        g_objects.clear();
        HostResetInput();
        WindowTest::TearDown();
    }

    // Both tasks until neither has anything left to look at; MenuTask's tracking runs on
    // each call.
    void Run(int rounds = 3) {
        for (int r = 0; r < rounds; ++r) {
            for (int i = 0; i < 200 && CurrentEvent(g_tasks.window) != g_event_tail; ++i)
                WindowTask(g_tasks.window);
            for (int i = 0; i < 200 && CurrentEvent(g_tasks.menu) != g_event_tail; ++i)
                MenuTask(g_tasks.menu);
            MenuTask(g_tasks.menu);
        }
    }

    // An open window of the user whose contents are drawn (no redraw motion left running).
    Handle Open(int x, int y, int width, int height) {
        Handle w = OpenAt(user_, x, y, width, height);
        RetDrawEvent(user_, w);
        Run();
        return w;
    }

    void AddEntry(Handle task, uint16_t item, const char* label, const char* help) {
        AddMenuItemEvent(task, item, label, help);
        Run();
    }

    // 0x413 events sent so far to `id`, as their first data field.
    std::vector<uint16_t> Selections(uint32_t id) {
        std::vector<uint16_t> out;
        for (const EventRecord& e : EventsTo(id))
            if (e.code == EVENT_MENU_SELECT) {
                uint16_t v;
                std::memcpy(&v, e.data, 2);
                out.push_back(v);
            }
        return out;
    }

    // The screen position of the middle of item `index` of a menu shown in `window`.
    void PointAt(Handle menu, Handle window, int index) {
        HostSetCursor(client_left(window) + 20, client_top(window) +
                                                    MenuItemTop(menu, index, window) +
                                                    MenuItemHeight(menu, index, window) / 2);
    }

    // A menu object of `kind` with its sub-window at (x, y) in `parent`.
    Handle MenuObjectAt(MenuObjectKind kind, Handle parent, int x, int y, int width, int height,
                        Handle menu, Handle gc = 0) {
        Handle sub = create_window(window_record(parent)->owner, parent, uint16_t(width),
                                   uint16_t(height), WIN_SUBWINDOW | WIN_SHOW);
        if (gc) set_window_gc(sub, gc);
        set_rectangle(sub, x, y, width, height);
        window_depth();
        Handle object = 0x7E000000 + Handle(g_objects.size()) + 1;
        g_objects[object] = MenuObject{kind, sub, parent, menu};
        return object;
    }

    void Press(Handle object) {
        Handle h = SendEvent(TASK_ID_WINDOW, TASK_ID_MENU, EVENT_OBJECT_NOTICE);
        std::memcpy(event_record(h)->data, &object, 4);
        HostSetMouseButtons(MOUSE_LEFT);
        Run();
    }

    Handle Menu(const std::vector<const char*>& labels, Handle owner = 0) {
        Handle menu = CreateMenu(owner ? owner : user_, int(labels.size()) - 1);
        for (size_t i = 0; i < labels.size(); ++i)
            SetMenuItem(menu, int(i), labels[i], "", uint32_t(100 + i));
        return menu;
    }

    Handle user_ = 0;
};

TEST_F(MenuTest, RecordsAndItemOperations) {
    Handle menu = CreateMenu(user_, 3);
    EXPECT_EQ(handle_entry(menu)->size, 16u + 4u * 132u);
    EXPECT_EQ(menu_item(menu, 4), nullptr);
    EXPECT_EQ(CreateMenu(user_, 256), 0u) << "the last index is a byte";

    // Texts longer than their fields are cut without splitting a double-byte character.
    std::string long_label = "x";
    for (int i = 0; i < 20; ++i)
        long_label += "字"_sj;
    SetMenuItem(menu, 1, long_label.c_str(), std::string(100, 'h').c_str(), 9);
    EXPECT_EQ(std::strlen(menu_item(menu, 1)->label), 31u) << "x and 15 characters";
    EXPECT_EQ(std::strlen(menu_item(menu, 1)->help), 81u);
    EXPECT_EQ(MenuItemValue(menu, 1), 9u);

    // Toggling sets the bits when none was set and clears them otherwise.
    EXPECT_EQ(ToggleMenuItemFlags(menu, 2, ITEM_TICK | ITEM_DISABLED, false),
              ITEM_TICK | ITEM_DISABLED);
    menu_item(menu, 3)->flags = ITEM_TICK;
    EXPECT_EQ(ToggleMenuItemFlags(menu, 3, ITEM_TICK | ITEM_DISABLED, false), 0);
    SetAllMenuItemFlags(menu, ITEM_TICK, false);
    EXPECT_EQ(TestMenuItemFlags(menu, 2, 0xFFFF), ITEM_DISABLED);
}

TEST_F(MenuTest, HitGeometry) {
    Handle window = OpenAt(user_, 10, 10, 120, 200);
    Handle menu = CreateMenu(user_, 4);
    // Default height: the window font's line height (16 + 4) + 4 = 24.
    menu_item(menu, 1)->height = 10;
    menu_item(menu, 3)->height = 1;
    struct Case {
        int y, item;
    };
    const Case cases[] = {{-1, 0}, {0, 0},  {23, 0}, {24, 1}, {33, 1}, {34, 2},
                          {57, 2}, {58, 3}, {59, 4}, {82, 4}, {83, 0}, {500, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(MenuItemAt(menu, window, c.y), c.item) << "y " << c.y;
    EXPECT_EQ(MenuHeight(menu, window), 83);
    EXPECT_EQ(MenuItemTop(menu, 3, window), 58);
}

TEST_F(MenuTest, MenuFiles) {
    WriteFile("menu.txt",
              "MenuCount 4\nMes Open 開く 2\nMessage Save 保存 3\nmes lower x 1\n"
              "Mes Far away 9\nMes Bad\nItem Other 1\n");
    Handle menu = LoadMenuFile(user_, "menu.txt");
    ASSERT_NE(menu, 0u);
    EXPECT_EQ(MenuItemCount(menu), 5);
    EXPECT_STREQ(menu_item(menu, 2)->label, "Open");
    EXPECT_EQ(std::string(menu_item(menu, 2)->help), "開く");
    EXPECT_EQ(MenuItemValue(menu, 2), 2u);
    EXPECT_STREQ(menu_item(menu, 3)->label, "Save") << "\"Message\" begins with Mes";
    EXPECT_STREQ(menu_item(menu, 1)->label, "") << "lines must begin with Mes exactly";
    EXPECT_STREQ(menu_item(menu, 0)->label, "Bad") << "a missing number reads as 0";

    for (const char* text : {"Mes A b 1\n", "MenuCount 0\nMes A b 1\n"}) {
        WriteFile("bad.txt", text);
        EXPECT_EQ(LoadMenuFile(user_, "bad.txt"), 0u);
    }
    // Each is an error report (here without its dialog, so only its log lines).
    EXPECT_EQ(LogCount(Sj("でエラーが発生！")), 2);
    EXPECT_EQ(LoadMenuFile(user_, "missing.txt"), 0u);
}

TEST_F(MenuTest, EntriesBeforeTheSystemMenuAreDropped) {
    ResetMenus();
    AddEntry(user_, 3, "Early", "too early");
    EXPECT_TRUE(Logged("NON SYSTEM MENU!"));
    EXPECT_EQ(g_menu_task.system_menu, 0u);
}

TEST_F(MenuTest, SystemMenuChoiceReachesTheTaskThatAddedTheEntry) {
    EXPECT_TRUE(Logged("init MenuTask."));
    Handle other = NewTask("Other");
    AddEntry(user_, 3, "Third", "the user's entry");
    AddEntry(other, 4, "Fourth", "the other's entry");
    Handle menu = g_menu_task.system_menu;
    EXPECT_EQ(MenuItemValue(menu, 3), TaskId(user_));

    HostSetMouseButtons(MOUSE_RIGHT);
    Run();
    EXPECT_EQ(g_menu_task.mode, 1);
    Handle popup = g_menu_task.popup_window;
    EXPECT_TRUE(test_window_mode(popup, WIN_OPEN));
    EXPECT_EQ(g_window_manager.capture, g_tasks.menu);
    PointAt(menu, popup, 3);
    Run();
    EXPECT_EQ(g_menu_task.highlighted, 3);
    EXPECT_TRUE(TestMenuItemFlags(menu, 3, ITEM_HIGHLIGHT));
    HostSetMouseButtons(0);
    Run();
    EXPECT_FALSE(test_window_mode(popup, WIN_OPEN));
    EXPECT_EQ(g_menu_task.mode, 0);
    EXPECT_EQ(g_window_manager.capture, 0u);
    EXPECT_EQ(Selections(TaskId(user_)), std::vector<uint16_t>{3});
    EXPECT_TRUE(Selections(TaskId(other)).empty());

    // A release over the title, or over an entry nobody added, chooses nothing.
    for (int index : {0, 9}) {
        HostSetCursor(300, 230);
        HostSetMouseButtons(MOUSE_RIGHT);
        Run();
        PointAt(menu, popup, index);
        HostSetMouseButtons(0);
        Run();
    }
    EXPECT_EQ(Selections(TaskId(user_)).size(), 1u);
    EXPECT_TRUE(Selections(TaskId(other)).empty());

    // A disabled entry is neither highlighted nor chosen.
    EventRecord* e = event_record(SendEvent(TaskId(user_), TASK_ID_MENU, 0x418));
    uint16_t item = 3;
    std::memcpy(e->data, &item, 2);
    HostSetCursor(300, 230);
    HostSetMouseButtons(MOUSE_RIGHT);
    Run();
    PointAt(menu, popup, 3);
    Run();
    EXPECT_EQ(g_menu_task.highlighted, 0);
    HostSetMouseButtons(0);
    Run();
    EXPECT_EQ(Selections(TaskId(user_)).size(), 1u);
}

TEST_F(MenuTest, SelecterItemHeldWithTheCaptureAndReleasedOverItself) {
    Handle window = Open(20, 20, 250, 180);
    Handle menu = Menu({"", "One", "Two", "Three"});
    menu_item(menu, 3)->flags |= ITEM_DISABLED;
    Handle selecter = MenuObjectAt(MENU_OBJECT_SELECTER, window, 10, 10, 120, 100, menu);
    Handle sub = g_objects[selecter].window;
    DrawObjectMenu(selecter);
    EXPECT_EQ(MenuShownIn(menu), sub);

    PointAt(menu, sub, 2);
    Press(selecter);
    EXPECT_EQ(g_menu_task.mode, 2);
    EXPECT_EQ(g_window_manager.capture, g_tasks.menu);
    EXPECT_TRUE(TestMenuItemFlags(menu, 2, ITEM_HIGHLIGHT));
    HostSetMouseButtons(0);
    Run();
    EXPECT_EQ(g_menu_task.mode, 0);
    EXPECT_EQ(g_window_manager.capture, 0u);
    EXPECT_FALSE(TestMenuItemFlags(menu, 2, ITEM_HIGHLIGHT));
    EXPECT_EQ(Selections(TaskId(user_)), std::vector<uint16_t>{102});

    // Moving off the item before the release sends nothing; so does pressing a disabled item
    // or the title row.
    // The hover highlight follows meanwhile, and nothing stays lit after the release.
    PointAt(menu, sub, 1);
    Press(selecter);
    PointAt(menu, sub, 2);
    SendObjectEvent(TASK_ID_MENU, EVENT_MOUSE_ENTER, window, selecter);
    Run();
    EXPECT_EQ(g_menu_task.highlighted, 2);
    HostSetMouseButtons(0);
    Run();
    for (int i = 1; i <= 3; ++i)
        EXPECT_FALSE(TestMenuItemFlags(menu, i, ITEM_HIGHLIGHT)) << i;
    for (int index : {3, 0}) {
        PointAt(menu, sub, index);
        Press(selecter);
        EXPECT_EQ(g_menu_task.mode, 0);
        HostSetMouseButtons(0);
        Run();
    }
    EXPECT_EQ(Selections(TaskId(user_)).size(), 1u);
}

TEST_F(MenuTest, ApplicationRequestMovesTheHighlight) {
    Handle window = Open(20, 20, 250, 180);
    Handle menu = Menu({"", "One", "Two", "Three"});
    menu_item(menu, 3)->flags |= ITEM_DISABLED;
    Handle selecter = MenuObjectAt(MENU_OBJECT_SELECTER, window, 10, 10, 120, 100, menu);
    Handle sub = g_objects[selecter].window;
    DrawObjectMenu(selecter);
    auto request = [&](uint16_t item) {
        EventRecord* e = event_record(SendEvent(TaskId(user_), TASK_ID_MENU, EVENT_MENU_REQUEST));
        e->value = sub;
        std::memcpy(e->data, &item, 2);
        std::memcpy(e->data + 4, &menu, 4);
        Run();
    };
    const GCRecord gc = *gc_record(window_record(sub)->gc);
    auto bar = [&](int index) {
        return Pixel(client_left(sub) + 3, client_top(sub) + MenuItemTop(menu, index, sub) + 1);
    };
    request(1);
    request(2);
    EXPECT_EQ(g_menu_task.highlighted, 2);
    EXPECT_FALSE(TestMenuItemFlags(menu, 1, ITEM_HIGHLIGHT));
    EXPECT_EQ(bar(1), gc.fill) << "the old bar is painted over";
    request(3);  // disabled: nothing stays highlighted
    EXPECT_EQ(g_menu_task.highlighted, 0);
    EXPECT_EQ(bar(2), gc.fill);
}

TEST_F(MenuTest, MenuBarItemsTogglePopupObjectsOpenTheirMenu) {
    Handle window = Open(20, 20, 250, 180);
    Handle bar_menu = Menu({"", "Sound", "Fast"});
    Handle bar = MenuObjectAt(MENU_OBJECT_MENUBAR, window, 10, 10, 100, 100, bar_menu);
    PointAt(bar_menu, g_objects[bar].window, 2);
    Press(bar);
    EXPECT_TRUE(TestMenuItemFlags(bar_menu, 2, ITEM_TICK));
    HostSetMouseButtons(0);
    Press(bar);
    EXPECT_FALSE(TestMenuItemFlags(bar_menu, 2, ITEM_TICK));
    HostSetMouseButtons(0);
    Run();

    Handle owner = NewTask("Owner");
    Handle popup_menu = Menu({"", "Cut", "Copy"}, owner);
    Handle popup = MenuObjectAt(MENU_OBJECT_POPUP, window, 150, 10, 60, 60, popup_menu);
    HostSetCursor(client_left(window) + 160, client_top(window) + 20);
    Press(popup);
    EXPECT_EQ(g_menu_task.mode, 1);
    EXPECT_EQ(g_menu_task.popup_menu, popup_menu);
    PointAt(popup_menu, g_menu_task.popup_window, 2);
    HostSetMouseButtons(0);
    Run();
    EXPECT_EQ(Selections(TaskId(owner)), std::vector<uint16_t>{102}) << "the item's value";
}

TEST_F(MenuTest, GoldenSystemPopupWithAHighlightedItem) {
    AddEntry(user_, 3, "SysInfo", "SYSTEM情報"_sj);
    AddEntry(user_, 5, "WindowSTS", "Window Sts Loging!");
    AddEntry(user_, 7, "終了"_sj, "SYSTEMの終了"_sj);
    HostSetCursor(40, 30);
    HostSetMouseButtons(MOUSE_RIGHT);
    Run();
    PointAt(g_menu_task.system_menu, g_menu_task.popup_window, 5);
    Run();
    CompareGolden("menu_system_popup.png");
}

TEST_F(MenuTest, GoldenSelecterAndPullDownWithADisabledItemAndATick) {
    Handle gc = CreateGC(0x5A4632, 0x8C7864, 0x281E14, 0xF0F0F0);
    Handle window = Open(10, 10, 300, 220);
    set_window_gc(window, gc);
    FillRectangle(window, 0, 0, 300, 220, 0x3C2814);
    Handle choices = Menu({"", "北の森へ行く"_sj, "村に戻る"_sj, "宿屋で休む"_sj});
    Handle selecter = MenuObjectAt(MENU_OBJECT_SELECTER, window, 10, 10, 140, 100, choices, gc);
    Handle options =
        Menu({"Options", "Sound", "Fast text", "", "A very long entry text", "Picture"});
    menu_header(options)->flags = MENU_TITLE | MENU_CUT_TEXT;
    menu_item(options, 1)->flags |= ITEM_TICK;
    menu_item(options, 2)->flags |= ITEM_DISABLED;
    menu_item(options, 3)->flags |= ITEM_SEPARATOR;
    menu_item(options, 3)->height = 8;
    uint32_t picture = HostCreateBitmap(14, 14);
    RasterTarget t = HostBitmapTarget(picture);
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 14; ++x)
            t.Row(y)[x] = (x + y) % 7 < 3 ? 0x30A0F0 : 0x2050A0;
    menu_item(options, 5)->flags |= ITEM_PICTURE;
    menu_item(options, 5)->picture = picture;
    Handle pulldown = MenuObjectAt(MENU_OBJECT_PULLDOWN, window, 160, 10, 130, 136, options, gc);
    for (Handle o : {selecter, pulldown})
        WinPanel(g_objects[o].window, 1, gc);
    DrawObjectMenu(selecter);
    DrawObjectMenu(pulldown);
    PointAt(choices, g_objects[selecter].window, 2);
    SendObjectEvent(TASK_ID_MENU, EVENT_MOUSE_ENTER, window, selecter);
    Run();
    CompareGolden("menu_selecter_pulldown.png");
}

}  // namespace
