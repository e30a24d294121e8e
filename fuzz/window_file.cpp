// Arbitrary bytes as a window definition file: missing, huge and negative sizes, object lines
// with missing or absurd fields, long lines, stray bytes. No crash, no hang, and no window or
// object window with a side of 0 or above 4096 pixels may come out of it.
#include <cstdint>
#include <cstdlib>

#include "fuzz_args.h"
#include "fuzz_folder.h"
#include "host/clock.h"
#include "host/message_box.h"
#include "host/screen.h"
#include "host/surface.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/startup.h"
#include "kernel/task.h"
#include "kit/boot.h"
#include "window/colors.h"
#include "window/font.h"
#include "window/object.h"
#include "window/window.h"
#include "window/window_file.h"
#include "window/window_manager.h"
#include "window/window_start.h"

namespace {

Handle task = 0;

bool set_up() {
    EnterFuzzFolder("window-file", "Sys.error.elogfile /dev/null\n");
    StoreSystemFlags(FLAG_TRACE);
    BootWindowSystem(320, 240, 64u << 20, 1u << 15);
    task = RegisterTask("Loader", 0, 0);
    OpenTaskEvents(task);
    return true;
}

bool sane(Handle window) {
    const WindowRecord* w = window_record(window);
    return w && w->width <= 4096 && w->height <= 4096;
}

}  // namespace

// Paths made absolute first, then the set-up (its folder, log and pool are made before the
// first input, so the leak check of each input does not count them).
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);
    set_up();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) return 0;
    WriteFuzzFile("fuzz.win", data, size);
    Handle window = ReadWindowFile(task, "fuzz.win");
    if (!window) return 0;
    const WindowRecord* w = window_record(window);
    if (!sane(window) || w->width == 0 || w->height == 0) __builtin_trap();
    for (Handle h = w->first_object; h;) {
        const ObjectRecord* o = object_record(h);
        if (!o || !sane(o->window)) __builtin_trap();
        h = o->next;
    }
    // Drawn as a player would see it, then gone again.
    open_window(window, 0, 0);
    close_window(window);
    DestroyWindow(window);
    return 0;
}
