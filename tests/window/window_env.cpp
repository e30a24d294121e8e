#include "window_env.h"

#include "host/clock.h"
#include "host/input.h"
#include "host/screen.h"
#include "host/script_input.h"
#include "host/surface.h"
#include "kernel/startup.h"
#include "kernel/task.h"
#include "resource/resource.h"
#include "window/colors.h"
#include "window/font.h"
#include "window/redraw.h"
#include "window/window.h"
#include "window/window_events.h"
#include "window/window_manager.h"
#include "window/window_objects.h"
#include "window/window_start.h"

void WindowTest::SetUp() {
    NomaTest::SetUp();
    BootWindowSystem(kScreenWidth, kScreenHeight);
}

void WindowTest::TearDown() {
    ShutDownBoot();
    NomaTest::TearDown();
}

Handle WindowTest::NewTask(const char* name) {
    Handle task = RegisterTask(name, 0, 0);
    OpenTaskEvents(task);
    return task;
}

Handle WindowTest::OpenAt(Handle owner, int x, int y, int width, int height, uint32_t mode) {
    Handle w = create_window(owner, 0, uint16_t(width), uint16_t(height), mode);
    open_window(w, x, y);
    return w;
}

std::vector<uint16_t> WindowTest::CodesTo(uint32_t id) {
    std::vector<uint16_t> codes;
    for (const EventRecord& e : EventsTo(id))
        codes.push_back(e.code);
    return codes;
}

void WindowTest::ForgetEvents() {
    for (EventRecord* r = event_record(g_event_head); r; r = event_record(r->next))
        r->destination = 0;
}

void WindowTest::UseScreen(int width, int height, const std::string& ini) {
    WriteFile("NOMA.ini", "Sys.error.elogfile test.log\n" + ini);
    g_screen_width = int16_t(width);
    g_screen_height = int16_t(height);
    ASSERT_TRUE(HostCreateSurface(width, height));
    StartWindowSystem();
}

void WindowTest::PlayFromNow(const std::vector<std::pair<int, const char*>>& events) {
    std::string lines;
    for (const auto& [at, what] : events)
        lines += std::to_string(HostTickCount() + at) + " " + what + "\n";
    WriteFile("from_now.input", lines);
    std::string error;
    ASSERT_TRUE(HostLoadScript("from_now.input", &error)) << error;
}

uint32_t WindowTest::Pixel(int x, int y) {
    return HostSurfacePixels()[y * kScreenWidth + x];
}
