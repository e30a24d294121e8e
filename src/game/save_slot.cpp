// The resource writer saves a resource under its own name, so a slot is written by giving the
// resource the slot's file name for the length of the save. A slot resource that an earlier
// load or summary left in memory is read again after the save, so the slot grid never shows a
// stale summary.
#include "game/save_slot.h"

#include <cstdio>
#include <cstring>

#include "core/log.h"
#include "game/rebuild_screen.h"
#include "game/scenario_context.h"
#include "host/file.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "resource/resource.h"
#include "resource/resource_file.h"
#include "window/draw.h"
#include "window/window.h"

namespace {

constexpr int kResourceNameSize = sizeof(ResourceAttr::name);

// Saves `resource` under `file`; its own name is kept and put back afterwards.
void save_as(Handle task, Handle resource, const char* file) {
    ResourceAttr* attr = resource_attr(resource);
    if (!attr) return;
    char own_name[kResourceNameSize];
    std::memcpy(own_name, attr->name, sizeof own_name);
    char data_name[sizeof attr->data_name];
    std::memcpy(data_name, attr->data_name, sizeof data_name);
    std::snprintf(attr->name, sizeof attr->name, "%s", file);
    ForgetRecordIndex(resource);
    SaveResource(task, resource);
    attr = resource_attr(resource);
    std::memcpy(attr->name, own_name, sizeof own_name);
    ForgetRecordIndex(resource);
    // A copy of this slot read earlier in this run is now out of date.
    if (Handle loaded = FindResource(file, data_name); loaded && loaded != resource)
        OpenResource(task, file, data_name);
}

const char* data_name_of(Handle resource) {
    const ResourceAttr* attr = resource_attr(resource);
    return attr ? attr->data_name : "";
}

void store_gsys(IlvaneGame& game) {
    Handle g = game.gsys;
    SetStr(g, "menu_str", g_scenario.select_list);
    SetNum(g, "select_menu", g_scenario.select_pending ? 1 : 0);
    SetStr(g, "backgraphic_name", game.background_file);
    SetNum(g, "now_sheet", game.now_sheet);
    SetNum(g, "sts_open", game.status_open ? 1 : 0);
    SetStr(g, "base_text", g_scenario.continuation >= 0 ? g_scenario.text : "");
    const char* stored = GetStr(g, "backgraphic_name");
    LogLinef("save_gsys() graphic_name %s %s", game.background_file, stored ? stored : "");
}

void load_gsys(IlvaneGame& game, Handle task, int n) {
    if (!game.gsystem || !game.gsys) return;
    char file[kResourceNameSize];
    SlotGsysFile(n, file, sizeof file);
    char data_name[sizeof ResourceAttr::data_name];
    std::snprintf(data_name, sizeof data_name, "%s", data_name_of(game.gsystem));
    Handle loaded = OpenResource(task, file, data_name);
    Handle first = loaded ? FirstRecord(loaded) : 0;
    if (!first) return;
    CopyRecord(first, game.gsys);
    const char* name = GetStr(game.gsys, "backgraphic_name");
    LogLinef("load_gsys() graphic_name %s %s", game.background_file, name ? name : "");
    const char* format = GetStr(game.gsys, "bg_format");
    if (format && format[0]) std::snprintf(game.bg_format, sizeof game.bg_format, "%s", format);
    game.now_sheet = GetNum(game.gsys, "now_sheet");
    if (game.now_sheet < 0) game.now_sheet = 0;
    bool open = GetNum(game.gsys, "sts_open") > 0;
    if (open != game.status_open && game.hooks.show_status_window)
        game.hooks.show_status_window(game, open);
    game.status_open = open;
    rebuild_screen(game, task);
}

}  // namespace

void SlotCharacterFile(int n, char* out, size_t size) {
    std::snprintf(out, size, "system\\ilvane_char%02d.res", n);
}

void SlotGsysFile(int n, char* out, size_t size) {
    std::snprintf(out, size, "system\\ilvane_gsys%02d.res", n);
}

bool SlotExists(int n) {
    char file[kResourceNameSize];
    SlotCharacterFile(n, file, sizeof file);
    FILE* f = HostFileOpen(file, "rb");
    if (!f) return false;
    HostFileClose(f);
    return true;
}

void save_slot(IlvaneGame& game, Handle task, int n) {
    char file[kResourceNameSize];
    SlotCharacterFile(n, file, sizeof file);
    save_as(task, game.characters, file);
    if (!game.gsystem || !game.gsys) {
        MessageDialog("gsys.res is NULL");
        return;
    }
    store_gsys(game);
    SlotGsysFile(n, file, sizeof file);
    save_as(task, game.gsystem, file);
}

void load_slot(IlvaneGame& game, Handle task, int n) {
    char file[kResourceNameSize];
    SlotCharacterFile(n, file, sizeof file);
    char data_name[sizeof ResourceAttr::data_name];
    std::snprintf(data_name, sizeof data_name, "%s", data_name_of(game.characters));
    Handle loaded = game.characters ? OpenResource(task, file, data_name) : 0;
    Handle first = loaded ? FirstRecord(loaded) : 0;
    if (first && game.player) CopyRecord(first, game.player);
    load_gsys(game, task, n);
}

int slot_click(IlvaneGame& game, Handle task, int x, int y) {
    const WindowRecord* w = window_record(game.main_window);
    if (!w) return 1;
    int width = w->width;
    int height = w->height;
    int cw = width / 3;
    int ch = (height - 20) / 6;
    if (cw <= 0 || ch <= 0 || x < 0 || y < 0) return 0;
    int column = x / cw;
    int row = y / ch;
    int n = column * 6 + row + 1;
    WinSemitransRectangle(game.save_window, column * cw, row * ch, uint16_t(cw), uint16_t(ch), 100);
    char text[64];
    switch (game.save_mode) {
        case SaveWindowMode::Load:
            if (!SlotExists(n)) return 0;
            std::snprintf(text, sizeof text, "No%d を読み込みます"_sj, n);
            if (YesNoDialog(text) != 1) return 0;
            load_slot(game, task, n);
            return 1;
        case SaveWindowMode::Save:
            std::snprintf(text, sizeof text, "No%d に保存します"_sj, n);
            if (YesNoDialog(text) != 1) return 0;
            if (SlotExists(n)) MessageDialog("上書きします"_sj);
            save_slot(game, task, n);
            return 1;
        default:
            return 1;
    }
}
