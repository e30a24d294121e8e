// Arbitrary text through tag_draw and DrawEscapedText into a window: unterminated and huge
// tags, stray lead bytes, escapes at the end of the text. Nothing may read past the text, and
// the GC must still name a live font afterwards.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "fuzz_folder.h"
#include "host/clock.h"
#include "host/message_box.h"
#include "host/screen.h"
#include "host/surface.h"
#include "kernel/event.h"
#include "kernel/startup.h"
#include "kit/boot.h"
#include "resource/resource.h"
#include "window/colors.h"
#include "window/escaped_text.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/tag_draw.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window/window_start.h"

namespace {

Handle window = 0;
Handle base_gc = 0;

bool set_up() {
    // An empty folder: <img> names are relative and find nothing but what the input names.
    EnterFuzzFolder("tag-draw", "Sys.error.elogfile /dev/null\nBACKSCREEN_COLOR 17\n");
    StoreSystemFlags(FLAG_TRACE);
    BootWindowSystem(320, 240, 64u << 20, 1u << 14);
    window = create_window(0, 0, 300, 200, WIN_FRAME);
    open_window(window, 10, 10);
    base_gc = CreateGC(0x202020, 0x404040, 0x606060, 0xFFFFFF);
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
    // The text ends at the input's end: a copy with a NUL, nothing after it.
    std::string text(reinterpret_cast<const char*>(data), size);
    std::string tagged = text;
    // File names stay inside the empty folder (backslashes are path separators too).
    for (char& c : tagged)
        if (c == '/' || c == '\\') c = '_';

    Handle gc = CopyGC(base_gc);
    if (!gc) return 0;
    tag_draw(window, int(size % 40), int(size % 30), tagged.c_str(), gc);
    if (!font_record(gc_record(gc)->font)) __builtin_trap();
    DrawEscapedText(window, 5, 5, text.c_str(), gc);
    DeactivateRecord(0, g_resources.gc, gc);  // reused by the next copy
    return 0;
}
