// The editor: replacing one word everywhere in a 1 MB text (the text taken out of its blocks,
// the replacement, the text put back and the editing area redrawn).
#include <benchmark/benchmark.h>

#include <string>

#include "core/log.h"
#include "kernel/task.h"
#include "kit/boot.h"
#include "text/text.h"
#include "window/editor.h"
#include "window/text_task.h"

namespace {

void BM_ReplaceOneWordIn1MB(benchmark::State& state) {
    BootWindowSystem(800, 600, 256u << 20, 1u << 16);
    CloseErrorLog();
    Handle task = RegisterTask("EditTask", 0, 0);
    OpenTaskEvents(task);
    ResetEditor();
    ResetTextTask();
    InitEditor(task);
    int slot = OpenEditor();
    std::string content;
    for (int i = 0; content.size() < (1u << 20); ++i)
        content += "line " + std::to_string(i) + " holds the word alpha and more text\n";
    for (auto _ : state) {
        state.PauseTiming();
        SetTextBytes(EditorText(slot), content.data(), content.size());
        state.ResumeTiming();
        benchmark::DoNotOptimize(EditorReplace(slot, "alpha", "omega", true, true));
    }
    ResetEditor();
    ShutDownBoot();
}
BENCHMARK(BM_ReplaceOneWordIn1MB)->Unit(benchmark::kMillisecond);

}  // namespace
