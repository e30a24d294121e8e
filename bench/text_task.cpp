// The text task: typing one character at the end of a 1,000-line text (the insertion and the
// redraw of the line, with the cursor hidden and drawn again).
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "core/log.h"
#include "core/pool.h"
#include "kit/boot.h"
#include "text/text.h"
#include "window/object.h"
#include "window/text_task.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

void BM_TypeAtTheEndOf1000Lines(benchmark::State& state) {
    BootWindowSystem(800, 600, 256u << 20, 1u << 16);
    CloseErrorLog();
    Handle w = create_window(0, 0, 600, 400, WIN_FRAME | WIN_CONTROLBAR);
    open_window(w, 10, 30);
    set_window_mode(w, WIN_OPEN | WIN_DRAWABLE);
    Handle text = CreateText(0, "BENCH.TXT", 0);
    text_delete(text, 0, 0, 1);
    std::string content;
    for (int i = 0; i < 1000; ++i)
        content += "line " + std::to_string(i) + " of a text typed into the field\n";
    text_insert(text, 0, 0, content.c_str(), int(content.size()));
    Handle field = CreateTextLine(text, w, 1, 10, 10, 560, 360);
    set_window_mode(object_record(field)->window, WIN_OPEN | WIN_DRAWABLE);
    TextLineState s;
    std::memcpy(&s, object_record(field)->text, sizeof s);
    s.top_line = 1000 - s.visible_lines + 1;
    std::memcpy(object_record(field)->text, &s, sizeof s);
    FocusTextField(field);
    TextHeader* h = text_header(text);
    h->cursor_y = uint16_t(s.visible_lines - 1);
    TextKey('a', 0, 0);
    char line[64];
    if (!GetRawTextLine(text, 1000, line, sizeof line) || std::string(line) != "a")
        state.SkipWithError("the key did not reach the field");
    text_delete(text, 0, 1000, 1);
    text_header(text)->cursor_x = 0;
    int typed = 0;
    for (auto _ : state) {
        TextKey('a', 0, 0);
        if (++typed == 60) {
            // Keep the line inside the field: take the typed characters away again.
            state.PauseTiming();
            text_delete(text, 0, 1000, typed);
            text_header(text)->cursor_x = 0;
            typed = 0;
            state.ResumeTiming();
        }
    }
    ShutDownBoot();
}
BENCHMARK(BM_TypeAtTheEndOf1000Lines);

}  // namespace
