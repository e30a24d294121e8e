// From process start to the first story page of the demo, headless on the virtual clock: the
// host's start-up as the program runs it, the logo and the title screen taken away by clicks as
// early as they answer, the game's form built and its first page handed to the text effect.
// Reported: the real time of the whole start, the virtual time at which the first page was
// handed over and at which its first character was drawn, and the resident set afterwards.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/compose.h"
#include "app/start_up.h"
#include "core/system.h"
#include "game/game_data.h"
#include "game/scenario_context.h"
#include "host/clock.h"
#include "host/input.h"
#include "host/message_box.h"
#include "host/program_thread.h"
#include "host/script_input.h"
#include "host/window_proc.h"
#include "kernel/scheduler.h"
#include "kit/boot.h"
#include "present/effect_data.h"
#include "window/object.h"

namespace {

namespace fs = std::filesystem;

long resident_kb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

bool first_character_drawn() {
    Handle object = ReqObject(g_game.main_window, kMessageObject);
    const EffectData* e = effect_data(object ? FindEffectByObject(object, EFFECT_TEXT) : 0);
    return e && e->position > 0;
}

void BM_ProcessStartToFirstStoryPage(benchmark::State& state) {
    for (auto _ : state) {
        TempFolder folder("noma-bench-start");
        const fs::path demo = fs::path(NOMA_SOURCE_DIR) / "data/demo";
        fs::copy(demo, ".", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        // One cycle per RunCycles call, so the cycles can be watched.
        WriteFileBytes("NOMA.ini", ReadFileBytes("NOMA.ini") + "LOOP_EXIT ON\n");
        WriteFileBytes("start.input",
                       "45 down 400 300 left\n47 up\n110 down 215 482 left\n112 up\n"
                       "60000 close\n");
        const auto start = std::chrono::steady_clock::now();
        HostSetHeadless(true);
        HostUseVirtualClock(true);
        const uint32_t zero = HostTickCount();
        InstallSystemHooks();
        AppStartUp();
        std::string error;
        if (!HostLoadScript("start.input", &error)) state.SkipWithError(error.c_str());
        uint32_t page = 0, character = 0;
        for (int cycle = 0; cycle < 100000 && !character; ++cycle) {
            RunCycles();
            if (!page && g_scenario.drawing) page = HostTickCount() - zero;
            if (page && first_character_drawn()) character = HostTickCount() - zero;
        }
        const double real =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        state.SetIterationTime(real / 1000.0);
        state.counters["virtual_ms_to_page"] = page;
        state.counters["virtual_ms_to_first_character"] = character;
        state.counters["rss_kB"] = double(resident_kb());
        if (!page) state.SkipWithError("the first story page never came");
    }
}
// The host starts once per process: one run.
BENCHMARK(BM_ProcessStartToFirstStoryPage)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
