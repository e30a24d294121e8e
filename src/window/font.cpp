#include "window/font.h"

#include <cstring>

#include "core/log.h"
#include "resource/resource.h"

namespace {

// Line height of the system fonts: the size and a little room between lines.
constexpr int kLineGap = 4;

Handle new_font(int number, int size, int line_height) {
    Handle h = CreateRecord(g_resources.font, number, sizeof(FontRecord));
    FontRecord* f = font_record(h);
    if (!f) return 0;
    std::memset(f, 0, sizeof *f);
    f->size = int16_t(size);
    f->line_height = int16_t(line_height);
    return h;
}

}  // namespace

FontRecord* font_record(Handle font) {
    if (!font) return nullptr;
    HandleEntry* e = handle_entry(font);
    if (!e || (e->flags & RECORD_INACTIVE) || e->size < sizeof(FontRecord)) return nullptr;
    return reinterpret_cast<FontRecord*>(handle_body(font));
}

Handle CreateSystemFont(int size, int line_height, int number) {
    Handle h = new_font(number, size, line_height);
    if (!h) LogLine("CreateSystemFont() error");
    return h;
}

Handle CreateFont(int size, int line_height, int attribute, const char* name) {
    Handle h = new_font(-1, size, line_height);
    FontRecord* f = font_record(h);
    if (!f) {
        LogLine("CreateFont() error!");
        return 0;
    }
    f->attribute = uint16_t(attribute);
    if (name) std::strncpy(f->face, name, sizeof f->face - 1);
    return h;
}

Handle FindFont(Handle task, int number) {
    return SelectRecord(task, g_resources.font, number);
}

void DeleteFont(Handle font) {
    if (font_record(font)) RemoveRecord(0, g_resources.font, font);
}

void CreateSystemFonts() {
    static constexpr int kSizes[6] = {8, 12, 18, 22, 24, 16};
    static constexpr int kNumbers[6] = {1, 2, 4, 5, 6, 3};
    for (int i = 0; i < 6; ++i)
        CreateSystemFont(kSizes[i], kSizes[i] + kLineGap, kNumbers[i]);
}

Handle SystemFont() {
    return g_resources.font ? search_record(g_resources.font, kSystemFontNumber) : 0;
}

void DrawFontText(int x, int y, const char* text, uint32_t color, Handle font) {
    FontRecord* f = font_record(font);
    if (!f || !text) return;
    HostTextOut(x, y, text, color, f->size, f->flags);
}

int FontCellWidth(Handle font) {
    return FontSize(font) / 2;
}

int FontSize(Handle font) {
    FontRecord* f = font_record(font);
    return f ? f->size : 16;
}

int FontLineHeight(Handle font) {
    FontRecord* f = font_record(font);
    return f ? f->line_height : 16 + kLineGap;
}
