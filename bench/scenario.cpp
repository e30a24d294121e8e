// The scenario interpreter's two hot paths: the record search over a play list of 1,000 records
// with typical conditions (the matching record last, so every condition is evaluated), and the
// scan of one 4 KB page with 50 tags (drawing tags kept, expressions run, text-library words
// and player items replaced, unknown tags left), without file I/O.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "core/system.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "kernel/task.h"
#include "kit/boot.h"
#include "resource/resource.h"

namespace {

struct Game {
    Handle task = 0;
    Handle last = 0;
    std::string page;

    Game() {
        static TempFolder folder("bench-scenario");
        StoreSystemFlags(0);
        BootKernel(64u << 20, 1u << 14);
        task = RegisterTask("Ilvane", 0, 0);
        Handle characters = CreateResource(task, "chars", "Charcter");
        for (const char* name : {"ILVrequest", "mode", "old_mode", "count", "hp", "day", "flag"})
            CreateItem(characters, name, ITEMlong, 4);
        CreateItem(characters, "nick", ITEMstring, 32);
        Handle player = CreateRecord(characters, 1, 0);
        SetNum(player, "mode", 7);
        SetNum(player, "hp", 40);
        SetNum(player, "day", 3);
        SetStr(player, "nick", "Alma");

        Handle play_list = CreateResource(task, "PlayList.res", "PlayList");
        CreateItem(play_list, "Compare", ITEMstring, 256);
        CreateItem(play_list, "Compute", ITEMstring, 256);
        CreateItem(play_list, "TEXT", ITEMstring, 4096);
        for (int i = 0; i < 1000; ++i) {
            Handle r = CreateRecord(play_list, -1, 0);
            // Typical conditions: the mode and day of the story, a flag and a threshold.
            std::string compare = i == 999 ? "mode==7&&day==3&&hp>=10"
                                           : "mode==" + std::to_string(i % 20 + 10) +
                                                 "&&day==" + std::to_string(i % 7) +
                                                 "&&flag==1||hp>" + std::to_string(100 + i);
            SetStr(r, "Compare", compare.c_str());
            SetStr(r, "TEXT", "text");
            last = r;
        }

        Handle library = CreateResource(task, "tlibsave.res", "TextLIBt");
        CreateItem(library, "textlib_word", ITEMstring, 32);
        CreateItem(library, "Compare", ITEMstring, 64);
        CreateItem(library, "Text", ITEMstring, 256);
        const char* words[][3] = {{"town", "day==1", "the harbour"},
                                  {"town", "day==3", "the old town"},
                                  {"hero", "hp>0", "the wanderer"}};
        for (auto& w : words) {
            Handle r = CreateRecord(library, -1, 0);
            SetStr(r, "textlib_word", w[0]);
            SetStr(r, "Compare", w[1]);
            SetStr(r, "Text", w[2]);
        }

        ResetScenario();
        ResetGame();
        g_game.play_list = play_list;
        g_game.text_lib = library;
        g_game.player = player;

        // 50 tags in about 4 KB of prose.
        const char* tags[] = {"<font_color 2>", "<wait 10>", "<Compute hp=hp+1;count=0>",
                              "<town>",         "<nick>",    "<font_size 1>",
                              "<hero>",         "<unknown>", "<BGFormat1>",
                              "<Sheets 0>"};
        std::string prose(66, 'a');
        for (int i = 0; i < 50; ++i)
            page += prose + tags[i % 10];
    }
};

Game& game() {
    static Game g;
    return g;
}

void BM_FindScenarioRecordOf1000(benchmark::State& state) {
    Game& g = game();
    for (auto _ : state)
        if (find_scenario_record(g.task) != g.last) std::abort();
}
BENCHMARK(BM_FindScenarioRecordOf1000)->Unit(benchmark::kMicrosecond);

void BM_ScanPageWith50Tags(benchmark::State& state) {
    Game& g = game();
    char output[kScenarioTextSize];
    for (auto _ : state) {
        std::memcpy(g_scenario.text, g.page.c_str(), g.page.size() + 1);
        g_scenario.continuation = 0;
        exec_command(g.task, g_scenario.text, output);
        benchmark::DoNotOptimize(output);
    }
    state.counters["page_bytes"] = double(g.page.size());
}
BENCHMARK(BM_ScanPageWith50Tags)->Unit(benchmark::kMicrosecond);

}  // namespace
