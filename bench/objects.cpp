// Window objects: finding the object under a click, and drawing a window full of controls.
#include <benchmark/benchmark.h>

#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "host/clock.h"
#include "host/message_box.h"
#include "host/screen.h"
#include "host/sjis_literal.h"
#include "host/surface.h"
#include "kernel/event.h"
#include "kernel/startup.h"
#include "resource/resource.h"
#include "window/colors.h"
#include "window/font.h"
#include "window/object.h"
#include "window/window.h"
#include "window/window_draw.h"
#include "window/window_manager.h"
#include "window/window_objects.h"
#include "window/window_start.h"

namespace {

// A running window system on an 800 x 600 screen, without a log, and one open window.
Handle BootWithWindow(int width, int height) {
    HostSetHeadless(true);
    HostUseVirtualClock(true);
    CloseErrorLog();
    ResetResources();
    CreatePoolSized(256u << 20, 1u << 16);
    CreateSystemResources();
    g_screen_width = 800;
    g_screen_height = 600;
    HostCreateSurface(800, 600);
    g_use_color = 3;
    PrepareSystemColors();
    CreateSystemFonts();
    ResetKernel();
    InitEvents();
    StartWindowSystem();
    g_system.phase = PHASE_RUNNING;
    Handle w = create_window(0, 0, uint16_t(width), uint16_t(height), WIN_FRAME | WIN_CONTROLBAR);
    open_window(w, 10, 30);
    return w;
}

// 200 buttons in a 20 x 10 grid; the point lies on the first, so the search from the last
// object backwards passes every other one first (the worst case).
void BM_HitTest200Objects(benchmark::State& state) {
    Handle w = BootWithWindow(760, 520);
    for (int i = 0; i < 200; ++i)
        Button(w, uint16_t(i + 1), 5 + (i % 20) * 37, 5 + (i / 20) * 50, 34, 44);
    window_depth();
    int x = client_left(w) + 10, y = client_top(w) + 10;
    for (auto _ : state)
        benchmark::DoNotOptimize(ObjectUnderMouse(w, x, y));
    DestroyPool();
}
BENCHMARK(BM_HitTest200Objects)->Unit(benchmark::kNanosecond);

// draw_window over a window of 50 objects: 24 push buttons, 12 text buttons, 11 labels and a
// scroll bar (three objects).
void BM_DrawWindow50Objects(benchmark::State& state) {
    Handle w = BootWithWindow(600, 400);
    for (int i = 0; i < 24; ++i)
        Button(w, uint16_t(i + 1), 10 + (i % 6) * 80, 10 + (i / 6) * 34, 70, 26);
    for (int i = 0; i < 12; ++i)
        MessageButton(w, uint16_t(100 + i), 10 + (i % 4) * 110, 150 + (i / 4) * 40, "決定"_sj);
    for (int i = 0; i < 11; ++i)
        Label(w, uint16_t(200 + i), 10 + (i % 4) * 110, 280 + (i / 4) * 30, "ラベル"_sj);
    ScrollBar(w, 300, 570, 10, 300);
    for (auto _ : state)
        draw_window(w);
    DestroyPool();
}
BENCHMARK(BM_DrawWindow50Objects)->Unit(benchmark::kMicrosecond);

}  // namespace
