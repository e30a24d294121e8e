// A slot's summary comes from its two files' first records. A slot read once stays in the pool
// as its own resource (the resource writer's name is the slot file's name), so the grid reads
// each file at most once per run; save_slot reads a slot again after writing it.
#include "game/slot_grid.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "game/calendar.h"
#include "game/save_slot.h"
#include "game/settings.h"
#include "host/services.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"
#include "resource/resource_file.h"
#include "window/colors.h"
#include "window/draw.h"
#include "window/win_text.h"
#include "window/window.h"

namespace {

constexpr int kSummaryItems = 32;
constexpr int kSummaryLine = 16;  // a line is written once it is longer than this

Handle slot_record(Handle task, const char* file, Handle like) {
    const ResourceAttr* attr = resource_attr(like);
    if (!attr) return 0;
    char data_name[sizeof attr->data_name];
    std::memcpy(data_name, attr->data_name, sizeof data_name);
    Handle resource = FindResource(file, data_name);
    if (!resource) resource = OpenResource(task, file, data_name);
    return resource ? FirstRecord(resource) : 0;
}

void slot_summary(IlvaneGame& game, Handle task, int n, int x, int y) {
    Handle window = game.save_window;
    const uint32_t white = ColorByName("white");
    char file[64];
    SlotCharacterFile(n, file, sizeof file);
    Handle character = slot_record(task, file, game.characters);
    SlotGsysFile(n, file, sizeof file);
    Handle gsys = slot_record(task, file, game.gsystem);

    char text[kGameTextSize];
    int shown = 0;
    if (game.date_sts == 0) {
        const char* name = character ? GetStr(character, "名前"_sj) : nullptr;
        std::snprintf(text, sizeof text, "No%d:%s", n, name ? name : "");
        shown = 1;
    } else if (game.date_sts == 2) {
        shown = time_text(character, text, sizeof text);
    } else {
        shown = record_date_text(gsys, text, sizeof text);
    }
    if (shown) WinColorMessage(window, x + 10, y + 5, text, white);

    char list[kGameTextSize];
    if (!ReadSetting("SAVE_STSITEM", list, sizeof list)) return;
    char items[kSummaryItems][kModeWordSize];
    int count = SplitList(list, &items[0][0], kSummaryItems, kModeWordSize);
    std::string line;
    int line_y = y + 30;
    for (int i = 0; i < count; ++i) {
        char part[kModeWordSize + 16];
        std::snprintf(part, sizeof part, "%.21s:%d ", items[i],
                      character ? GetNum(character, items[i]) : -1);
        line += part;
        if (line.size() > kSummaryLine) {
            WinColorMessage(window, x + 10, line_y, line.c_str(), white);
            line_y += 25;
            line.clear();
        }
    }
    if (!line.empty()) WinColorMessage(window, x + 10, line_y, line.c_str(), white);

    SlotCharacterFile(n, file, sizeof file);
    char time[64] = "";
    HostFileTime(file, time);
    WinColorMessage(window, x + 60, y + 78, time, ColorByName("lightgray"));
}

}  // namespace

void draw_slot_grid(IlvaneGame& game, Handle task) {
    const WindowRecord* main = window_record(game.main_window);
    if (!main || !game.save_window) return;
    const int width = main->width;
    const int height = main->height;
    const int cw = width / 3;
    const int ch = (height - 20) / 6;
    if (cw <= 0 || ch <= 0) return;
    int n = 1;
    for (int x = 0; x <= width; x += cw) {
        for (int y = 0; y <= height - 100; y += ch) {
            if (SlotExists(n))
                slot_summary(game, task, n, x, y);
            else
                WinColorMessage(game.save_window, x + 5, y + 5, "no data", ColorByName("white"));
            ++n;
            Rectangle(game.save_window, x, y, uint16_t(cw), uint16_t(ch), ColorByName("white"));
        }
    }
}
