// The anime player's cost.
//
//   BM_AnimeStepNewPicture200x110  one tick of an animation whose script line shows the other
//                                  of two cached 200 x 110 pictures: the line is read and
//                                  parsed, the picture found in the cache and drawn.
//                                  Target: under 50 µs.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "host/bmp_write.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "kit/boot.h"
#include "present/anime_data.h"
#include "present/anime_task.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

void picture(const char* name, uint32_t colour) {
    std::vector<uint32_t> pixels(200 * 110);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = colour ^ uint32_t(i * 2654435761u >> 8 & 0x3F3F3F);
    HostWriteBmp(name, pixels.data(), 200, 110);
}

void BM_AnimeStepNewPicture200x110(benchmark::State& state) {
    TempFolder folder("bench-anime");
    BootWindowSystem(800, 600, 256u << 20, 1u << 16);
    RegisterSystemTasks();
    SendEvent(TASK_ID_MANAGER, TASK_ID_ANIME, EVENT_START);
    for (int i = 0; i < 20; ++i)
        AnimeTask(g_tasks.anime);
    picture("a.bmp", 0x204080);
    picture("b.bmp", 0x806020);
    WriteFileBytes("bench.ani", "pic a.bmp\npic b.bmp\n");
    Handle window = create_window(0, 0, 400, 300, 0);
    open_window(window, 100, 100);
    EventRecord* e = event_record(SendEvent(30, TASK_ID_ANIME, EVENT_EFFECT_REQUEST));
    e->long_a = ANIME_START;
    AnimeRequestData d{};
    d.window = window;
    std::strcpy(d.script, "bench.ani");
    std::memcpy(e->data, &d, sizeof d);
    for (int i = 0; i < 20; ++i)
        AnimeTask(g_tasks.anime);
    Handle record = FindAnimeByWindow(window);
    // Both pictures into the cache first.
    sync_anime(g_tasks.anime, record);
    sync_anime(g_tasks.anime, record);
    int16_t line = 0;
    for (auto _ : state) {
        anime_data(record)->line = line;
        line ^= 1;
        if (sync_anime(g_tasks.anime, record)) state.SkipWithError("the animation ended");
    }
    ShutDownBoot();
}
BENCHMARK(BM_AnimeStepNewPicture200x110)->Unit(benchmark::kMicrosecond);

}  // namespace
