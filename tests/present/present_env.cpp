#include "present_env.h"

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

uint32_t PresentTest::Pixel(int x, int y) {
    return HostSurfacePixels()[y * kWidth + x] & 0xFFFFFF;
}

int PresentTest::LogCount(const std::string& part) {
    int n = 0;
    for (const std::string& line : LogLines())
        n += line.find(part) != std::string::npos;
    return n;
}
