// The window manager's drawing cost.
#include <benchmark/benchmark.h>

#include "core/system.h"
#include "kit/boot.h"
#include "window/redraw.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

constexpr int kWindows = 20;

// One full redraw motion (every window marked, then drawn rear to front, one step per owner's
// answer) over 20 framed, semi-transparent 300 x 200 windows with control bars, cascaded so
// that each overlaps the ones before it. The owners draw nothing of their own, so this is the
// window manager's own share: walking, decorations, frames and the darkened backgrounds.
void BM_RedrawMotion20SemitransWindows(benchmark::State& state) {
    BootWindowSystem(800, 600, 256u << 20, 1u << 16);
    std::vector<Handle> windows;
    for (int i = 0; i < kWindows; ++i) {
        Handle w = create_window(0, 0, 300, 200,
                                 WIN_FRAME | WIN_CONTROLBAR | WIN_CLOSEBOX | WIN_SEMITRANS);
        open_window(w, 20 + i * 22, 30 + i * 15);
        continue_redraw_motion(w);
        windows.push_back(w);
    }
    int steps = 0;
    for (auto _ : state) {
        RedrawAllWindows();
        // Answer each draw request until the motion ends.
        for (int i = 0; TestSystemFlag(FLAG_REDRAW_MOTION) && i < 1000; ++i) {
            continue_redraw_motion(windows[0]);
            ++steps;
        }
    }
    state.counters["steps_per_motion"] =
        benchmark::Counter(double(steps) / double(state.iterations()));
    ShutDownBoot();
}
BENCHMARK(BM_RedrawMotion20SemitransWindows)->Unit(benchmark::kMillisecond);

}  // namespace
