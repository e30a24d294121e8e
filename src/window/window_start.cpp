#include "window/window_start.h"

#include <cstring>

#include "core/config.h"
#include "host/message_box.h"
#include "host/program_thread.h"
#include "host/screen.h"
#include "host/sjis_literal.h"
#include "kernel/startup.h"
#include "window/colors.h"
#include "window/gc.h"
#include "window/redraw.h"
#include "window/system_dialog.h"
#include "window/window.h"
#include "window/window_manager.h"

namespace {

// Root background when BACKSCREEN_COLOR names no entry of the colour table: a dark slate.
constexpr uint32_t kFallbackBackground = 0x503C28;
constexpr uint32_t kBlack = 0x000000;

Handle table_gc(int fill, int edge1, int edge2) {
    return CreateGC(SystemColor(fill), SystemColor(edge1), SystemColor(edge2), kBlack);
}

Handle rgb_gc(uint32_t fill, uint32_t edge1, uint32_t edge2) {
    return CreateGC(NearestColor(fill), NearestColor(edge1), NearestColor(edge2), kBlack);
}

// The active GC from ACTIVE_COLOR, for true colour.
Handle true_colour_active(const char* name, Handle system_gc) {
    const uint32_t white = NearestColor(0xFFFFFF);
    if (std::strstr(name, "GREEN"))
        return rgb_gc(RGBColor(100, 200, 100), RGBColor(150, 250, 150), RGBColor(50, 100, 50));
    if (std::strstr(name, "RED"))
        return rgb_gc(RGBColor(200, 100, 100), RGBColor(250, 150, 150), RGBColor(100, 50, 50));
    if (std::strstr(name, "BLUE"))
        return rgb_gc(RGBColor(100, 100, 200), RGBColor(150, 150, 250), RGBColor(50, 50, 100));
    if (std::strstr(name, "WHITE"))
        return rgb_gc(RGBColor(230, 230, 230), white, RGBColor(160, 160, 160));
    if (std::strstr(name, "YELLOW"))
        return rgb_gc(RGBColor(210, 210, 0), RGBColor(250, 250, 60), RGBColor(140, 140, 0));
    if (std::strstr(name, "PURPLE"))
        return rgb_gc(RGBColor(210, 110, 210), RGBColor(250, 150, 250), RGBColor(150, 60, 150));
    GCRecord* g = gc_record(system_gc);
    if (!g) return 0;
    uint32_t fill = g->fill, edge1 = g->edge1, edge2 = g->edge2;
    return CreateGC(fill, edge1, edge2, kBlack);
}

// The active GC from ACTIVE_COLOR, for palette numbers.
Handle palette_active(const char* name) {
    if (std::strstr(name, "GREEN")) return table_gc(8, 12, 4);
    if (std::strstr(name, "BLUE")) return table_gc(5, 9, 1);
    if (std::strstr(name, "PINK")) return table_gc(7, 11, 3);
    return table_gc(6, 10, 2);
}

void create_system_gcs() {
    WindowManager& m = g_window_manager;
    m.system_gc = g_use_color == 1 ? table_gc(8, 12, 4)
                                   : rgb_gc(RGBColor(120, 120, 120), RGBColor(200, 200, 200),
                                            RGBColor(50, 50, 50));
    m.third_gc = CreateGC(NearestColor(0xFFFFFF), 10, 2, kBlack);
    m.active_gc = m.system_gc;

    char value[kIniValueSize];
    const char* name = SysString("ACTIVE_COLOR", value) ? value : "";
    if (g_use_color == 3)
        m.active_gc = true_colour_active(name, m.system_gc);
    else if (g_use_color == 1)
        m.active_gc = palette_active(name);
    if (!m.system_gc || !m.active_gc) HostMessageBox("SYSTEM GCが作成できません"_sj);
}

}  // namespace

void StartWindowSystem() {
    ResetWindowManager();
    WindowManager& m = g_window_manager;
    m.spacing_x = m.spacing_y = 20;

    int16_t index = SysNumber("BACKSCREEN_COLOR");
    uint32_t background = SystemColor(index, kFallbackBackground);
    Handle root = create_window(0, 0, uint16_t(g_screen_width), uint16_t(g_screen_height),
                                WIN_OPEN | WIN_DRAWABLE);
    Handle root_gc = CreateGC(background, NearestColor(0xFFFFFF), kBlack, NearestColor(0xFFFFFF));
    WindowRecord* r = window_record(root);
    if (!r) {
        HostMessageBox("RootWindow Create ERROR!!");
    } else {
        set_window_name(root, "SystemRootWindow");
        r = window_record(root);
        r->gc = root_gc;
        r->depth = 1;
        m.root = root;
    }
    create_system_gcs();
    InstallSystemDialogs();
    // The host's later paints repaint every window through a redraw motion.
    HostSetRepaintHandler(RedrawAllWindows);
}
