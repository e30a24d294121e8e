// Arbitrary bytes as the text of a message object, typed out by the effect player: tags cut
// at the text's end or in the middle of a double-byte character, unknown tags, absurd sizes and
// waits, line feeds and escapes anywhere. The typewriter must end every page and the text, and
// RedrawEffect must end in every mode, without reading past the text.
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
#include "kernel/task.h"
#include "kit/boot.h"
#include "present/effect_data.h"
#include "present/effect_task.h"
#include "resource/resource.h"
#include "window/colors.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window/window_start.h"

namespace {

Handle window = 0;
Handle gc = 0;
std::string text;

bool read_message(Handle, EffectMessage* out) {
    out->window = window;
    out->gc = gc;
    out->text = text.c_str();
    return true;
}

bool set_up() {
    EnterFuzzFolder("effect-text", "Sys.error.elogfile /dev/null\nBACKSCREEN_COLOR 17\n");
    StoreSystemFlags(FLAG_TRACE);
    BootWindowSystem(320, 240, 64u << 20, 1u << 14);
    OpenTaskEvents(RegisterTask("EffectTask", TASK_ID_EFFECT, 0));
    SendEvent(TASK_ID_MANAGER, TASK_ID_EFFECT, EVENT_START);
    for (int i = 0; i < 10; ++i)
        EffectTask(g_tasks.effect);
    if (!g_effect.resource) __builtin_trap();
    window = create_window(0, 0, 200, 120, 0);
    open_window(window, 10, 10);
    gc = CreateGC(0x202020, 0x404040, 0x606060, 0xFFFFFF);
    SetEffectMessageReader(read_message);
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
    if (size > 1 << 14) return 0;
    text.assign(reinterpret_cast<const char*>(data), size);

    Handle record = CreateRecord(g_effect.resource, -1, sizeof(EffectData));
    EffectData* r = effect_data(record);
    if (!r) return 0;
    std::memset(r, 0, sizeof *r);
    r->type = EFFECT_TEXT;
    r->window = window;
    r->object = 1;
    r->mode = size % 2;  // plain or outlined
    r->color = r->base_color = 0xFFFFFF;

    // Every step consumes at least one byte, so the page and the text end within size + 1.
    int steps = 0;
    while (effect_data(record) && !(effect_data(record)->flags & EFFECT_PAGE_DONE)) {
        if (TextEffectStep(record)) break;
        if (++steps > int(size) + 2) __builtin_trap();
    }
    for (int mode : {2, 0, 1, 1, 0})
        RedrawEffect(0, 1, mode);
    if (!font_record(gc_record(gc)->font)) __builtin_trap();
    RemoveEffect(record);
    // Notices to task 0 pile up otherwise.
    while (EndEvent() == 0) {
    }
    return 0;
}
