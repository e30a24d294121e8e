// The result screen compares the player record with the automatic save's copy, so the numbers
// it shows in blue and red are what changed since the last AutoSave.
#include "game/result_screen.h"

#include <cstdio>

#include "game/settings.h"
#include "resource/resource.h"
#include "window/colors.h"
#include "window/draw.h"
#include "window/win_bitmap.h"
#include "window/win_text.h"

namespace {

constexpr int kResultEntries = 10;
constexpr int kLabelWidth = 60;
constexpr int kLabelHeight = 34;
constexpr int kCorner = 6;

// An outline with cut corners around an item name.
void label_box(Handle window, int x, int y, Handle gc) {
    const int r = x + kLabelWidth - 1, b = y + kLabelHeight - 1;
    LineGC(window, x + kCorner, y, r - kCorner, y, gc);
    LineGC(window, r - kCorner, y, r, y + kCorner, gc);
    LineGC(window, r, y + kCorner, r, b - kCorner, gc);
    LineGC(window, r, b - kCorner, r - kCorner, b, gc);
    LineGC(window, r - kCorner, b, x + kCorner, b, gc);
    LineGC(window, x + kCorner, b, x, b - kCorner, gc);
    LineGC(window, x, b - kCorner, x, y + kCorner, gc);
    LineGC(window, x, y + kCorner, x + kCorner, y, gc);
}

void result_entry(IlvaneGame& game, Handle window, const char* name, int x, int y) {
    Handle gc = game.screen.gc_title;
    label_box(window, x + 20, y - 5, gc);
    WinGCMessage(window, x + 24, y, name, gc);
    char text[kGameTextSize];
    if (ItemType(game.characters, name) == ITEMstring) {
        const char* value = GetStr(game.player, name);
        WinColorMessage(window, x + 120, y + 10, value ? value : "", ColorByName("white"));
        return;
    }
    int value = GetNum(game.player, name);
    std::snprintf(text, sizeof text, "%4d", value);
    WinColorMessage(window, x + 120, y + 10, text, ColorByName("white"));
    if (!game.player_copy) return;
    int before = GetNum(game.player_copy, name);
    if (value > before) {
        std::snprintf(text, sizeof text, "+%d", value - before);
        WinColorMessage(window, x + 180, y + 10, text, ColorByName("blue"));
    } else if (value < before) {
        std::snprintf(text, sizeof text, "-%d", before - value);
        WinColorMessage(window, x + 180, y + 10, text, ColorByName("red"));
    }
}

}  // namespace

void draw_result(IlvaneGame& game) {
    Handle window = game.save_window;
    char text[kGameTextSize];
    if (ReadSetting("RESULT_BACKGRAPHIC", text, sizeof text) && text[0])
        WinDrawBMPFile(window, 0, 0, text);
    int y = 50;
    if (ReadSetting("RESULT_TITLE", text, sizeof text) && text[0]) {
        WinGCMessage(window, 100, 30, text, game.screen.gc_title);
        y = 120;
    }
    for (int n = 1; n <= kResultEntries; ++n) {
        char key[16];
        std::snprintf(key, sizeof key, "RESULT%d", n);
        if (!ReadSetting(key, text, sizeof text)) break;
        result_entry(game, window, text, 20, y);
        y += 36;
    }
}
