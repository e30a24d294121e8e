// Arbitrary bytes as a menu file: MenuCount missing, negative or huge, "Mes" lines with missing
// or absurd fields, texts longer than an item holds, double-byte characters cut by the end of
// a field or the file. A menu that loads must stay inside its record and draw.
#include <cstdint>
#include <cstring>
#include <string>

#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "fuzz_args.h"
#include "fuzz_folder.h"
#include "host/clock.h"
#include "host/message_box.h"
#include "host/screen.h"
#include "host/surface.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/startup.h"
#include "kit/boot.h"
#include "resource/resource.h"
#include "window/colors.h"
#include "window/font.h"
#include "window/menu.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window/window_start.h"

namespace {

Handle window = 0;

bool set_up() {
    EnterFuzzFolder("menu-file", "Sys.error.elogfile /dev/null\n");
    StoreSystemFlags(FLAG_TRACE);
    BootWindowSystem(320, 240, 64u << 20, 1u << 14);
    window = create_window(0, 0, 200, 200, WIN_FRAME);
    open_window(window, 10, 10);
    return true;
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
    WriteFuzzFile("menu.txt", data, size);
    Handle menu = LoadMenuFile(0, "menu.txt");
    if (!menu) return 0;
    int count = MenuItemCount(menu);
    if (count < 2 || count > 256) __builtin_trap();
    for (int i = 0; i < count; ++i) {
        const MenuItem* item = menu_item(menu, i);
        if (!item || !std::memchr(item->label, 0, sizeof item->label) ||
            !std::memchr(item->help, 0, sizeof item->help))
            __builtin_trap();
        if (item->value != 0 && item->value != uint32_t(i)) __builtin_trap();
    }
    menu_header(menu)->flags = uint8_t(size & 0x07);
    DrawMenu(menu, window);
    if (MenuItemAt(menu, window, int(size % 300)) >= count) __builtin_trap();
    DeleteMenu(menu);
    return 0;
}
