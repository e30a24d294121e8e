// The game's save and load paths and its status window: saving a slot (both files, each
// written to a temporary file, flushed to the disk and renamed), loading a slot and rebuilding
// the screen, and drawing a status sheet when the settings hold 60 entries. On the test game of
// tests/game/data with its 800 x 600 screen.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "core/system.h"
#include "game/game_data.h"
#include "game/game_init.h"
#include "game/game_resources.h"
#include "game/save_slot.h"
#include "game/screen.h"
#include "game/status_sheet.h"
#include "kernel/task.h"
#include "kit/boot.h"
#include "kit/game_folder.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

// One game, booted once for every benchmark of the program.
struct BenchGame {
    TempFolder folder{"noma-bench-game"};
    IlvaneGame game;
    Handle task = 0;
    BenchGame() {
        BootWindowSystem(800, 600, 128u << 20, 16384);
        StoreSystemFlags(0);
        InstallTestGame();
        WriteTestPictures();
        // Sixty status entries over the installed ones.
        std::string settings;
        for (int i = 1; i <= 60; ++i)
            settings += "DISPLAY" + std::to_string(i) + " " +
                        (i % 4 == 0   ? "place"
                         : i % 4 == 1 ? "hp"
                         : i % 4 == 2 ? "gold"
                                      : "level") +
                        "\n";
        WriteFileBytes("system/ilvane.res", settings + ReadFileBytes("system/ilvane.res"));
        task = RegisterTask("Ilvane", 0, 0);
        OpenTaskEvents(task);
        create_fonts(game);
        if (load_game_data(game, task) != 0) std::abort();
        init_ilvane(game, task);
        if (!create_screen(game, task)) std::abort();
        install_screen_hooks(game);
        set_window_mode(game.status_window, WIN_SHOW | WIN_OPEN);
        game.status_open = true;
        open_window(game.main_window, 0, 0);
        save_slot(game, task, 1);
    }
};

BenchGame& bench_game() {
    static BenchGame* g = new BenchGame;
    return *g;
}

void BM_SaveSlot(benchmark::State& state) {
    BenchGame& g = bench_game();
    for (auto _ : state)
        save_slot(g.game, g.task, 2);
}
BENCHMARK(BM_SaveSlot)->Unit(benchmark::kMillisecond);

void BM_LoadSlotAndRebuild(benchmark::State& state) {
    BenchGame& g = bench_game();
    for (auto _ : state)
        load_slot(g.game, g.task, 1);
}
BENCHMARK(BM_LoadSlotAndRebuild)->Unit(benchmark::kMillisecond);

void BM_StatusSheetOf60Entries(benchmark::State& state) {
    BenchGame& g = bench_game();
    int sheet = 0;
    for (auto _ : state) {
        g.game.now_sheet = sheet;
        benchmark::DoNotOptimize(draw_status_sheet(g.game));
        sheet = (sheet + 1) % 6;
    }
}
BENCHMARK(BM_StatusSheetOf60Entries)->Unit(benchmark::kMicrosecond);

}  // namespace
