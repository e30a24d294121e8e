// The menus' drawing cost.
//
//   BM_OpenSystemPopup20Items  opening the system popup menu with 20 entries at the mouse: the
//                              screen under the popup saved, the framed window drawn, the menu
//                              drawn with its title, texts and one highlighted entry; then the
//                              popup closed again (its backing store put back). Target: the
//                              opening under 1 ms.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "kit/boot.h"
#include "window/menu.h"
#include "window/menu_task.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

void BM_OpenSystemPopup20Items(benchmark::State& state) {
    BootWindowSystem(800, 600, 256u << 20, 1u << 17);
    RegisterSystemTasks();
    SendEvent(TASK_ID_MANAGER, TASK_ID_ALL, EVENT_SYSTEM_READY);
    for (int i = 0; i < 10; ++i)
        MenuTask(g_tasks.menu);
    Handle menu = g_menu_task.system_menu;
    Handle popup = g_menu_task.popup_window;
    for (int i = 1; i <= kSystemMenuLastIndex; ++i) {
        char label[32], help[64];
        std::snprintf(label, sizeof label, "Entry%02d", i);
        std::snprintf(help, sizeof help, "what entry %d does", i);
        SetMenuItem(menu, i, label, help, 30);
        menu_item(menu, i)->height = 0;
    }
    menu_item(menu, 5)->flags |= ITEM_HIGHLIGHT;
    resize_window(popup, MenuWidth(menu, popup) - window_record(popup)->width,
                  MenuHeight(menu, popup) - window_record(popup)->height);
    for (auto _ : state) {
        open_window(popup, 200, 40);
        DrawMenu(menu, popup);
        close_window(popup);
    }
    ShutDownBoot();
}
// Every open and close sends the owners a few events, which stay in the chain here.
BENCHMARK(BM_OpenSystemPopup20Items)->Unit(benchmark::kMicrosecond)->Iterations(2000);

}  // namespace
