#include "present_env.h"

#include <cstring>
#include <map>

#include "host/surface.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "present/effect_data.h"
#include "present/effect_task.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

struct FakeMessage {
    Handle window;
    Handle gc;
    std::string text;
};
std::map<Handle, FakeMessage> g_messages;
Handle g_next_object = 0x7F000001;

bool read_fake(Handle object, EffectMessage* out) {
    auto it = g_messages.find(object);
    if (it == g_messages.end()) return false;
    out->window = it->second.window;
    out->gc = it->second.gc;
    out->text = it->second.text.c_str();
    return true;
}

}  // namespace

void PresentTest::SetUp() {
    NomaTest::SetUp();
    BootWindowSystem(kWidth, kHeight);
    RegisterSystemTasks();
    owner_ = RegisterTask("Scene", 0, 0);
    OpenTaskEvents(owner_);
    owner_id_ = TaskId(owner_);
    SetEffectMessageReader(read_fake);
}

void PresentTest::TearDown() {
    SetEffectMessageReader(nullptr);
    g_messages.clear();
    ShutDownBoot();
    NomaTest::TearDown();
}

void PresentTest::Pump(void (*task_function)(Handle), Handle task) {
    for (int i = 0; i < 10000; ++i) {
        task_function(task);
        if (CurrentEvent(task) == g_event_tail) return;
    }
}

Handle PresentTest::OpenWindow(int x, int y, int width, int height, uint32_t mode, Handle gc) {
    Handle w = create_window(owner_, 0, uint16_t(width), uint16_t(height), mode);
    if (gc) set_window_gc(w, gc);
    open_window(w, x, y);
    return w;
}

Handle PresentTest::MessageObject(Handle window, Handle gc, const std::string& text) {
    Handle object = g_next_object++;
    g_messages[object] = FakeMessage{window, gc, text};
    return object;
}

void PresentTest::SetMessageText(Handle object, const std::string& text) {
    g_messages[object].text = text;
}

void PresentTest::StartEffects() {
    SendEvent(TASK_ID_MANAGER, TASK_ID_EFFECT, EVENT_START);
    Pump(EffectTask, g_tasks.effect);
}

void PresentTest::RequestEffect(uint16_t type, Handle window, Handle object, uint32_t mode,
                                uint32_t color, int x, int y, int width, int height,
                                uint16_t word) {
    EventRecord* e = event_record(SendEvent(owner_id_, TASK_ID_EFFECT, EVENT_EFFECT_REQUEST));
    e->word_a = word;
    e->long_a = type;
    e->value = color;
    EffectRequestData d{mode,           window,          int16_t(x), int16_t(y),
                        int16_t(width), int16_t(height), object};
    std::memcpy(e->data, &d, sizeof d);
    Pump(EffectTask, g_tasks.effect);
}

void PresentTest::TickEffects(int n) {
    for (int i = 0; i < n; ++i) {
        SendEvent(TASK_ID_EVENT, TASK_ID_ALL, EVENT_TICK);
        Pump(EffectTask, g_tasks.effect);
    }
}

uint32_t PresentTest::Pixel(int x, int y) {
    return HostSurfacePixels()[y * kWidth + x] & 0xFFFFFF;
}
