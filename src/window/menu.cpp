// Menu records, their item operations, menu files and item geometry.
#include "window/menu.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/lines.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "resource/resource.h"
#include "window/font.h"
#include "window/gc.h"
#include "window/window.h"

namespace {

constexpr int kMaxLastIndex = 255;  // the last index is a byte
constexpr int kItemPadding = 4;     // added to the font's line height for the default height
constexpr int kTextLeft = 6;
constexpr int kTickRoom = 14;  // the check mark and its gap, when a menu has ticks

bool sjis_lead(uint8_t b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Copies at most size - 1 bytes of `text` without splitting a double-byte character.
void copy_text(char* out, size_t size, const char* text) {
    size_t n = 0;
    if (text) {
        while (text[n] && n < size - 1) {
            size_t step = sjis_lead(uint8_t(text[n])) && text[n + 1] ? 2 : 1;
            if (n + step > size - 1) break;
            n += step;
        }
        std::memcpy(out, text, n);
    }
    out[n] = '\0';
}

// Field n of a menu file line: field 0 up to the first space, field n after the n-th run of
// spaces up to the next space.
std::string field(const std::string& line, int n) {
    size_t pos = 0;
    for (int i = 0; i < n; ++i) {
        pos = line.find(' ', pos);
        if (pos == std::string::npos) return "";
        pos = line.find_first_not_of(' ', pos);
        if (pos == std::string::npos) return "";
    }
    size_t end = line.find(' ', pos);
    return line.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
}

std::vector<std::string> file_lines(const char* file) {
    std::vector<std::string> lines;
    long size = FileSize(file);
    if (size <= 0) return lines;
    std::vector<char> buffer(size_t(size) + 1);
    if (!ReadWholeFile(file, buffer.data(), long(buffer.size()))) return lines;
    std::string text(buffer.data(), size_t(size));
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line.substr(0, kLineFileMaxLine));
        pos = end + 1;
    }
    return lines;
}

bool has_ticks(Handle menu) {
    for (int i = 0; i < MenuItemCount(menu); ++i)
        if (menu_item(menu, i)->flags & ITEM_TICK) return true;
    return false;
}

}  // namespace

MenuHeader* menu_header(Handle menu) {
    if (!menu) return nullptr;
    HandleEntry* e = handle_entry(menu);
    if (!e || !e->body || e->owner != g_resources.menu || e->size < sizeof(MenuHeader))
        return nullptr;
    return reinterpret_cast<MenuHeader*>(record_body(menu));
}

MenuItem* menu_item(Handle menu, int index) {
    MenuHeader* h = menu_header(menu);
    if (!h || index < 0 || index > h->last_index) return nullptr;
    if (handle_entry(menu)->size < sizeof(MenuHeader) + sizeof(MenuItem) * (index + 1u))
        return nullptr;
    return reinterpret_cast<MenuItem*>(reinterpret_cast<uint8_t*>(h + 1)) + index;
}

int MenuItemCount(Handle menu) {
    MenuHeader* h = menu_header(menu);
    return h ? h->last_index + 1 : 0;
}

Handle CreateMenu(Handle owner, int last_index) {
    if (last_index < 0 || last_index > kMaxLastIndex) return 0;
    uint32_t size = uint32_t(sizeof(MenuHeader) + sizeof(MenuItem) * (last_index + 1));
    Handle menu = CreateRecord(g_resources.menu, -1, size);
    uint8_t* body = record_body(menu);
    if (!body) return 0;
    std::memset(body, 0, size);
    MenuHeader* h = menu_header(menu);
    h->last_index = uint8_t(last_index);
    h->owner = owner;
    return menu;
}

void DeleteMenu(Handle menu) {
    if (menu_header(menu)) RemoveRecord(0, g_resources.menu, menu);
}

Handle LoadMenuFile(Handle owner, const char* file) {
    int count = GetIniNumber("MenuCount", file);
    if (count < 1) {
        char text[512];
        std::snprintf(text, sizeof text, "ﾒﾆｭ-ﾌｧｲﾙにMenuCountが記述されていません:%s."_sj, file);
        SystemErrorReport(0, 0, text);
        return 0;
    }
    std::vector<std::string> lines = file_lines(file);
    if (lines.empty()) return 0;
    Handle menu = CreateMenu(owner, std::min(count, kMaxLastIndex));
    if (!menu) return 0;
    for (const std::string& line : lines) {
        if (line.compare(0, 3, "Mes") != 0) continue;
        long number = std::strtol(field(line, 3).c_str(), nullptr, 10);
        if (number < 0 || number > MenuItemCount(menu) - 1) continue;
        SetMenuItem(menu, int(number), field(line, 1).c_str(), field(line, 2).c_str(),
                    uint32_t(number));
    }
    return menu;
}

void SetMenuItem(Handle menu, int index, const char* label, const char* help, uint32_t value) {
    MenuItem* item = menu_item(menu, index);
    if (!item) return;
    copy_text(item->label, sizeof item->label, label);
    copy_text(item->help, sizeof item->help, help);
    item->value = value;
}

void SetMenuItemValue(Handle menu, int index, uint32_t value) {
    if (MenuItem* item = menu_item(menu, index)) item->value = value;
}

uint32_t MenuItemValue(Handle menu, int index) {
    MenuItem* item = menu_item(menu, index);
    return item ? item->value : 0;
}

uint16_t TestMenuItemFlags(Handle menu, int index, uint16_t mask) {
    MenuItem* item = menu_item(menu, index);
    return item ? item->flags & mask : 0;
}

uint16_t ToggleMenuItemFlags(Handle menu, int index, uint16_t mask, bool redraw) {
    MenuItem* item = menu_item(menu, index);
    if (!item) return 0;
    if (item->flags & mask)
        item->flags &= uint16_t(~mask);
    else
        item->flags |= mask;
    uint16_t left = item->flags & mask;
    if (redraw) {
        Handle window = MenuShownIn(menu);
        if (window && test_window_mode(window, WIN_DRAWABLE)) DrawMenu(menu, window);
    }
    return left;
}

void SetAllMenuItemFlags(Handle menu, uint16_t mask, bool set) {
    for (int i = 0; i < MenuItemCount(menu); ++i) {
        MenuItem* item = menu_item(menu, i);
        item->flags = set ? uint16_t(item->flags | mask) : uint16_t(item->flags & ~mask);
    }
}

int MenuItemHeight(Handle menu, int index, Handle window) {
    MenuItem* item = menu_item(menu, index);
    if (!item) return 0;
    if (item->height) return item->height;
    WindowRecord* w = window_record(window);
    GCRecord* g = gc_record(w ? w->gc : 0);
    return FontLineHeight(g ? g->font : 0) + kItemPadding;
}

int MenuItemTop(Handle menu, int index, Handle window) {
    int top = 0;
    for (int i = 0; i < index && i < MenuItemCount(menu); ++i)
        top += MenuItemHeight(menu, i, window);
    return top;
}

int MenuHeight(Handle menu, Handle window) {
    return MenuItemTop(menu, MenuItemCount(menu), window);
}

int MenuWidth(Handle menu, Handle window) {
    WindowRecord* w = window_record(window);
    GCRecord* g = gc_record(w ? w->gc : 0);
    int cell = FontCellWidth(g ? g->font : 0);
    bool help = menu_header(menu) && (menu_header(menu)->flags & MENU_HELP_TEXT);
    int widest = 0;
    for (int i = 0; i < MenuItemCount(menu); ++i) {
        MenuItem* item = menu_item(menu, i);
        int bytes = int(strnlen(item->label, sizeof item->label));
        if (help && item->help[0]) bytes += 1 + int(strnlen(item->help, sizeof item->help));
        widest = std::max(widest, bytes * cell);
    }
    return widest + 2 * kTextLeft + (has_ticks(menu) ? kTickRoom : 0);
}

int MenuItemAt(Handle menu, Handle window, int y) {
    if (y < 0) return 0;
    int top = 0;
    for (int i = 0; i < MenuItemCount(menu); ++i) {
        int height = MenuItemHeight(menu, i, window);
        if (y >= top && y < top + height) return i;
        top += height;
    }
    return 0;
}
