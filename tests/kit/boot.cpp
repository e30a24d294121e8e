#include "kit/boot.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/compose.h"
#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "host/clock.h"
#include "host/input.h"
#include "host/message_box.h"
#include "host/screen.h"
#include "host/sjis.h"
#include "host/surface.h"
#include "kernel/event.h"
#include "kernel/event_task.h"
#include "kernel/scheduler.h"
#include "kernel/startup.h"
#include "kernel/task.h"
#include "present/anime_data.h"
#include "present/effect_task.h"
#include "present/start_screen.h"
#include "resource/resource.h"
#include "window/colors.h"
#include "window/font.h"
#include "window/menu_task.h"
#include "window/object.h"
#include "window/system_dialog.h"
#include "window/window.h"
#include "window/window_manager.h"
#include "window/window_objects.h"
#include "window/window_start.h"

TempFolder::TempFolder(const char* tag) {
    char here[4096];
    previous_ = getcwd(here, sizeof here) ? here : "/";
    std::string pattern = std::string("/tmp/") + tag + "-XXXXXX";
    if (!mkdtemp(pattern.data()) || chdir(pattern.c_str()) != 0) std::abort();
    path_ = pattern;
}

TempFolder::~TempFolder() {
    if (chdir(previous_.c_str()) != 0) std::abort();
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void BootPool(uint32_t bytes, uint32_t entries) {
    HostSetHeadless(true);
    HostUseVirtualClock(true);
    HostResetInput();
    InstallSystemHooks();
    ResetResources();
    if (!CreatePoolSized(bytes, entries)) std::abort();
}

void BootKernel(uint32_t bytes, uint32_t entries) {
    BootPool(bytes, entries);
    if (!CreateSystemResources()) std::abort();
    ResetKernel();
    g_max_event = 255;
    g_system.current_time = ClockNow();
    InitEvents();
}

void BootWindowSystem(int width, int height, uint32_t bytes, uint32_t entries) {
    BootPool(bytes, entries);
    if (!CreateSystemResources()) std::abort();
    g_screen_width = int16_t(width);
    g_screen_height = int16_t(height);
    if (!HostCreateSurface(width, height)) std::abort();
    g_use_color = 3;
    PrepareSystemColors();
    CreateSystemFonts();
    ResetKernel();
    g_max_event = 255;
    InitEvents();
    StartWindowSystem();
    g_system.phase = PHASE_RUNNING;
}

void RegisterSystemTasks() {
    const struct {
        const char* name;
        uint32_t id;
    } tasks[] = {{"Ilvane", 0},      {"NomaManager", 1},     {"EventTask", 9}, {"KeyTask", 22},
                 {"WindowTask", 2},  {"MenuTask", 7},        {"TextTask", 18}, {"AnimeTask", 11},
                 {"EffectTask", 12}, {"StartScreenTEST", 19}};
    for (const auto& t : tasks)
        OpenTaskEvents(RegisterTask(t.name, t.id, 0));
}

void ShutDownBoot() {
    g_window_object_hooks = {};
    ResetEffects();
    ResetAnime();
    ResetStartScreen();
    ResetMenus();
    ResetWindowManager();
    ResetEvents();
    ResetKernel();
    g_use_color = 0;
    ResetResources();
    DestroyPool();
    HostUseVirtualClock(false);
}

void WriteFileBytes(const std::string& name, const std::string& content) {
    std::ofstream out(name, std::ios::binary);
    out << content;
}

std::string ReadFileBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> ReadLines(const std::string& name) {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileBytes(name));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Sj(const std::string& utf8) {
    return Utf8ToSjis(utf8);
}

std::string Utf8(const std::string& sjis) {
    return SjisToUtf8(sjis);
}

std::string ObjectPoint(uint32_t window, uint16_t number, int dx, int dy) {
    Handle sub = object_record(ReqObject(window, number))->window;
    return std::to_string(client_left(sub) + dx) + " " + std::to_string(client_top(sub) + dy);
}

std::string DialogButtonPoint(int dialog, int value) {
    centre_window(SystemDialogWindow(dialog));
    return ObjectPoint(SystemDialogWindow(dialog), uint16_t(value), 10, 10);
}
