// Arbitrary bytes as a start-screen file, shown by the start screen's task: keys cut anywhere,
// button values with missing or absurd numbers, texts too long for a button, names of pictures
// and programs that do not exist, a logo that is clicked away. Each input is shown through a
// string event, its first button (if any) is clicked and the title screen must go again
// without leaving windows or pictures behind.
#include <cstdint>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "fuzz_args.h"
#include "fuzz_folder.h"
#include "host/bmp_write.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "kit/boot.h"
#include "present/start_screen.h"
#include "resource/resource.h"
#include "window/object.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window/window_mouse.h"

namespace {

Handle sender = 0;

void cycles(int n) {
    for (int i = 0; i < n; ++i)
        RunCycles();
}

int own_windows() {
    int n = 0;
    for (Handle h = window_record(g_window_manager.root)->first_child; h;
         h = window_record(h)->next)
        n += window_record(h)->owner == g_tasks.start_screen;
    return n;
}

void set_up() {
    EnterFuzzFolder("start-screen", "Sys.error.elogfile /dev/null\nStartScreenFile screen.txt\n");
    StoreSystemFlags(FLAG_TRACE | FLAG_LOOP_EXIT);
    BootWindowSystem(320, 240, 64u << 20, 1u << 15);
    RegisterSystemTasks();
    sender = RegisterTask("Game", 0, 0);
    OpenTaskEvents(sender);
    std::vector<uint32_t> pixels(64 * 48, 0x336699);
    if (!HostWriteBmp("back.bmp", pixels.data(), 64, 48)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);
    set_up();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 13) return 0;
    WriteFuzzFile("screen.txt", data, size);
    // Odd sizes come in through the start event (with the logo, when the file names one) and
    // a click that takes a logo away; even sizes through a string event.
    if (size % 2) {
        SendEvent(TASK_ID_MANAGER, TASK_ID_START_SCREEN, EVENT_START);
        cycles(30);
        if (g_start_screen.logo_window) {
            route_click(160, 120, 1);
            cycles(30);
        }
    } else {
        SendStringEvent(sender, TASK_ID_START_SCREEN, "screen.txt");
        cycles(30);
    }
    Handle title = g_start_screen.title_window;
    if (!title || !window_record(title) || own_windows() != 1) __builtin_trap();
    // The first button, or a click in the middle when there is none.
    int x = 160, y = 120;
    if (Handle b = NthObject(title, OBJ_MESSAGE_BUTTON, 1)) {
        Handle sub = object_record(b)->window;
        x = client_left(sub) + window_record(sub)->width / 2;
        y = client_top(sub) + window_record(sub)->height / 2;
    }
    route_click(x, y, 1);
    cycles(30);
    if (own_windows() > 1) __builtin_trap();
    while (EndEvent() == 0) {
    }
    return 0;
}
