// Tags that play sound and put pictures on the screen: MIDI and wave files, pictures drawn
// with pure green as the transparent colour, backgrounds, cut-in pictures and the pictures of
// select items. A file that does not load draws or attaches nothing.
#include <cstring>

#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/scenario_internal.h"
#include "host/bitmap.h"
#include "host/bitmap_draw.h"
#include "host/bmp.h"
#include "window/menu.h"
#include "window/win_bitmap.h"

namespace {

constexpr uint32_t kPureGreen = 0x00FF00;  // 0x00BBGGRR
constexpr size_t kFileNameSize = 260;

bool ends_with(const char* text, const char* tail) {
    size_t n = std::strlen(text), m = std::strlen(tail);
    return n >= m && std::strcmp(text + n - m, tail) == 0;
}

// A BMP file as a bitmap of our own, or 0.
uint32_t load_bitmap(const char* file) {
    if (!file[0] || !HostLoadBmp(file)) return 0;
    return HostTakeBmpBitmap();
}

int bg_format(Handle task, const char* key) {
    if (g_scenario.load_bg_format) g_scenario.load_bg_format(task, key);
    return TAG_DONE;
}

// Select item n of the select menu, or nullptr.
MenuItem* select_item(const char* parameters) {
    int n = TagNumber(parameters, 1);
    if (n < 1 || n >= MenuItemCount(g_game.screen.select_menu)) return nullptr;
    return menu_item(g_game.screen.select_menu, n);
}

}  // namespace

int TagPlayMidi(Handle, const char* parameters) {
    char file[kFileNameSize];
    TagParam(parameters, 1, file, sizeof file);
    if (g_scenario.play_midi) g_scenario.play_midi(file);
    return TAG_DONE;
}

int TagPlayWave(Handle, const char* parameters) {
    char file[kFileNameSize];
    TagParam(parameters, 1, file, sizeof file);
    if (g_scenario.play_wave) g_scenario.play_wave(file, 1);
    return TAG_DONE;
}

int TagStopWave(Handle, const char*) {
    if (g_scenario.play_wave) g_scenario.play_wave("", 0);
    return TAG_DONE;
}

int TagPutPicture(Handle, const char* parameters) {
    char file[kFileNameSize];
    int x = TagNumber(parameters, 1), y = TagNumber(parameters, 2);
    TagParam(parameters, 3, file, sizeof file);
    uint32_t bitmap = load_bitmap(file);
    if (!bitmap) return TAG_DONE;
    uint32_t mask = HostMakeTransparencyMask(bitmap, kPureGreen);
    if (mask) WinMaskedBitmap(g_game.main_window, x, y, bitmap, mask);
    HostDeleteBitmap(mask);
    HostDeleteBitmap(bitmap);
    return TAG_DONE;
}

int TagBgFormat1(Handle task, const char*) {
    return bg_format(task, "BG_FORMAT");
}
int TagBgFormat2(Handle task, const char*) {
    return bg_format(task, "BG_FORMAT2");
}
int TagBgFormat3(Handle task, const char*) {
    return bg_format(task, "BG_FORMAT3");
}

int TagBackGraphic(Handle task, const char*) {
    if (g_scenario.show_background_format) g_scenario.show_background_format(task);
    return TAG_DONE;
}

int TagBg(Handle task, const char* parameters) {
    char file[kFileNameSize];
    TagParam(parameters, 1, file, sizeof file);
    if (g_scenario.show_background_file) g_scenario.show_background_file(task, file);
    return TAG_DONE;
}

int TagCutGraphic(Handle task, const char* parameters) {
    int slot = TagNumber(parameters, 1);
    if (slot >= kCutInSlots) return TAG_DONE;
    char file[kFileNameSize];
    TagParam(parameters, 2, file, sizeof file);
    // The slot keeps a short name: CloseGraphic tells an animation by what the slot holds.
    TagParam(parameters, 2, g_scenario.cut_in[slot], kCutInNameSize);
    if (g_scenario.open_cut_in) g_scenario.open_cut_in(task, slot, file);
    return TAG_DONE;
}

int TagCloseGraphic(Handle task, const char* parameters) {
    int slot = TagNumber(parameters, 1);
    if (slot >= kCutInSlots) return TAG_DONE;
    if (g_scenario.close_cut_in) g_scenario.close_cut_in(task, slot);
    return TAG_DONE;
}

int TagSetMenuGraphic(Handle, const char* parameters) {
    char file[kFileNameSize];
    TagParam(parameters, 2, file, sizeof file);
    if (!select_item(parameters) || !file[0]) return TAG_DONE;
    uint32_t bitmap = load_bitmap(file);
    if (!bitmap) return TAG_DONE;
    MenuItem* item = select_item(parameters);
    // A picture attached before is released, not lost.
    if (item->picture) HostDeleteBitmap(item->picture);
    item->picture = bitmap;
    item->flags |= ITEM_PICTURE;
    return TAG_DONE;
}

int TagOffMenuGraphic(Handle, const char* parameters) {
    MenuItem* item = select_item(parameters);
    if (!item) return TAG_DONE;
    if (item->picture) HostDeleteBitmap(item->picture);
    item->picture = 0;
    item->flags &= uint16_t(~ITEM_PICTURE);
    return TAG_DONE;
}

// Cut-in slot names are checked by the game's close action (an animation is stopped only when
// the slot's name ends in ".ani"); this is the test it uses.
bool CutInIsAnimation(int slot) {
    return slot >= 0 && slot < kCutInSlots && ends_with(g_scenario.cut_in[slot], ".ani");
}
