// The effect player's drawing cost.
//
//   BM_TypewriterStepOutlined20px  one step of the typewriter: one outlined double-byte
//                                  character of a 20-pixel font (seven glyph draws: six shadow
//                                  copies and the character). Target: under 20 µs.
//   BM_WhiteOutPass800x600         one mosaic pass of the white-out over an 800 x 600 window
//                                  (the pass of s = 7: 32-pixel squares on a 20-pixel grid).
//                                  Target: under 2 ms.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "kit/boot.h"
#include "present/effect_data.h"
#include "present/effect_task.h"
#include "resource/resource.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

Handle g_window = 0;
Handle g_gc = 0;
std::string g_text;

bool read_message(Handle, EffectMessage* out) {
    out->window = g_window;
    out->gc = g_gc;
    out->text = g_text.c_str();
    return true;
}

// The window system on an 800 x 600 screen, the effect task started, one open window.
void boot() {
    BootWindowSystem(800, 600, 256u << 20, 1u << 16);
    RegisterSystemTasks();
    SendEvent(TASK_ID_MANAGER, TASK_ID_EFFECT, EVENT_START);
    for (int i = 0; i < 20; ++i)
        EffectTask(g_tasks.effect);
    g_gc = CreateGC(0x202020, 0x404040, 0x101010, 0xFFFFFF);
    SetGCFont(g_gc, CreateFont(20, 24, 0, nullptr));
    g_window = create_window(0, 0, 800, 600, 0);
    set_window_gc(g_window, g_gc);
    open_window(g_window, 0, 0);
    SetEffectMessageReader(read_message);
}

Handle new_record(uint16_t type) {
    Handle record = CreateRecord(g_effect.resource, -1, sizeof(EffectData));
    EffectData* r = effect_data(record);
    std::memset(r, 0, sizeof *r);
    r->type = type;
    r->window = g_window;
    r->object = 1;
    r->color = r->base_color = 0xFFFFFF;
    return record;
}

void BM_TypewriterStepOutlined20px(benchmark::State& state) {
    boot();
    g_text.clear();
    for (int i = 0; i < 200; ++i)
        g_text += "霧"_sj;
    Handle record = new_record(EFFECT_TEXT);
    for (auto _ : state) {
        if (text_draw(record) != 0) {  // the page is full: start it again
            EffectData* r = effect_data(record);
            r->position = 0;
            r->flags = 0;
        }
    }
    SetEffectMessageReader(nullptr);
    ShutDownBoot();
}
BENCHMARK(BM_TypewriterStepOutlined20px)->Unit(benchmark::kMicrosecond);

void BM_WhiteOutPass800x600(benchmark::State& state) {
    boot();
    Handle record = new_record(EFFECT_WHITE_OUT);
    for (auto _ : state) {
        effect_data(record)->position = 2;  // s = 7
        FadeStep(record);
    }
    SetEffectMessageReader(nullptr);
    ShutDownBoot();
}
BENCHMARK(BM_WhiteOutPass800x600)->Unit(benchmark::kMicrosecond);

}  // namespace
