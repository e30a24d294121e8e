// Arbitrary bytes as an animation script, started in a window and played for a bounded number
// of ticks with presses, pauses, focus requests and a stop: unknown commands, numbers out of
// range, jumps anywhere, sequence formats with stray or many '%', overlong words, lines cut in
// a double-byte character. Nothing may crash, read past a buffer or leave records behind.
#include <cstdint>
#include <cstring>
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
#include "present/anime_data.h"
#include "present/anime_task.h"
#include "resource/resource.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

Handle window = 0;
uint32_t owner_id = 0;

void picture(const char* name, int width, int height, uint32_t colour) {
    std::vector<uint32_t> pixels(size_t(width) * height, colour);
    if (!HostWriteBmp(name, pixels.data(), width, height)) __builtin_trap();
}

void pump() {
    for (int i = 0; i < 64 && CurrentEvent(g_tasks.anime) != g_event_tail; ++i)
        AnimeTask(g_tasks.anime);
}

void request(uint32_t type, int x = 0, int y = 0, int w = 0, int h = 0) {
    EventRecord* e = event_record(SendEvent(owner_id, TASK_ID_ANIME, EVENT_EFFECT_REQUEST));
    if (!e) __builtin_trap();
    e->long_a = type;
    AnimeRequestData d{};
    d.window = window;
    d.x = int16_t(x);
    d.y = int16_t(y);
    d.focus_width = int16_t(w);
    d.focus_height = int16_t(h);
    std::strcpy(d.script, "fuzz.ani");
    std::memcpy(e->data, &d, sizeof d);
    pump();
}

void set_up() {
    EnterFuzzFolder("anime-script", "Sys.error.elogfile /dev/null\n");
    StoreSystemFlags(FLAG_TRACE);
    BootWindowSystem(320, 240, 64u << 20, 1u << 14);
    OpenTaskEvents(RegisterTask("AnimeTask", TASK_ID_ANIME, 0));
    Handle owner = RegisterTask("Scene", 0, 0);
    OpenTaskEvents(owner);
    owner_id = TaskId(owner);
    SendEvent(TASK_ID_MANAGER, TASK_ID_ANIME, EVENT_START);
    pump();
    if (!g_anime.resource) __builtin_trap();
    window = create_window(owner, 0, 200, 120, 0);
    open_window(window, 10, 10);
    picture("a.bmp", 40, 30, 0x0000FF);
    picture("p1.bmp", 20, 20, 0x00FF00);
    picture("p2.bmp", 30, 10, 0xFF0000);
    picture("p001.bmp", 8, 8, 0x808080);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);
    set_up();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 14) return 0;
    WriteFuzzFile("fuzz.ani", data, size);
    request(ANIME_START, int(size % 50), 3);
    for (int tick = 0; tick < 120; ++tick) {
        SendEvent(TASK_ID_EVENT, TASK_ID_ALL, EVENT_TICK);
        pump();
        switch (tick % 29) {
            case 5:
                request(ANIME_PRESS);
                break;
            case 9:
                request(ANIME_SET_FOCUS, 30, 9, 1 + int(size % 60), 7);
                break;
            case 13:
                request(ANIME_MOVE_FOCUS, -3, 400);
                break;
            case 17:
                request(ANIME_DEBUG);
                break;
            case 21:
                request(ANIME_START_STOP);
                break;
            case 22:
                request(ANIME_START_STOP);
                break;
            case 25:
                request(ANIME_FOCUS_OFF);
                break;
            default:
                break;
        }
    }
    // Stops until the window has no animation, then the kept ones go with the free cache.
    for (int i = 0; i < 4 && FindAnimeByWindow(window); ++i)
        request(ANIME_STOP);
    request(ANIME_FREE_CACHE);
    if (RecordCount(g_anime.resource) != 0 || RecordCount(g_anime.cache) != 0 ||
        RecordCount(g_anime.graphics) != 0 || g_anime.count != 0)
        __builtin_trap();
    while (EndEvent() == 0) {
    }
    return 0;
}
