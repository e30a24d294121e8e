// The select menu from a select list: words separated by "," or ";", each a label, a label and
// ":value", or a label, "?condition" and ":value". Word k fills select item k; the items after
// the last word are emptied and cannot be chosen.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "game/scenario.h"
#include "game/scenario_context.h"
#include "resource/compute.h"
#include "window/menu.h"

namespace {

bool is_list_separator(char c) {
    return c == ',' || c == ';';
}

// The next word of the list into `out` (cut to `size`); the position after it.
const char* next_word(const char* p, char* out, size_t size) {
    while (is_list_separator(*p))
        ++p;
    const char* start = p;
    while (*p && !is_list_separator(*p))
        ++p;
    size_t length = std::min(size_t(p - start), size - 1);
    std::memcpy(out, start, length);
    out[length] = '\0';
    return p;
}

// Splits a word into its label and value; the value stays `position` without a colon or when
// the condition fails.
int32_t word_value(char* word, int position) {
    char* mark = std::strpbrk(word, "?:");
    if (!mark) return position;
    char kind = *mark;
    *mark = '\0';
    char* rest = mark + 1;
    if (kind == ':') return int32_t(std::strtol(rest, nullptr, 10));
    // "?condition:value": the value follows the last colon, since a condition may hold colons
    // of its own (name paths).
    char* colon = std::strrchr(rest, ':');
    if (!colon) return position;
    *colon = '\0';
    if (!CompareRecordCopy(g_game.player, rest)) return position;
    return int32_t(std::strtol(colon + 1, nullptr, 10));
}

}  // namespace

int SelectValues(const char* list, int32_t* values) {
    const char* p = list ? list : "";
    int count = 0;
    for (int k = 1; k <= kSelectItems; ++k) {
        char word[kSelectListSize];
        p = next_word(p, word, sizeof word);
        if (word[0]) values[count++] = word_value(word, k);
    }
    return count;
}

void FillSelectMenu(const char* list) {
    Handle menu = g_game.screen.select_menu;
    const char* p = list ? list : "";
    int count = 0;
    for (int k = 1; k <= kSelectItems; ++k) {
        char word[kSelectListSize];
        p = next_word(p, word, sizeof word);
        if (!word[0]) {
            SetMenuItem(menu, k, "", " ", uint32_t(-1));
            if (MenuItem* item = menu_item(menu, k)) item->flags |= ITEM_DISABLED;
            continue;
        }
        ++count;
        int32_t value = word_value(word, k);
        SetMenuItem(menu, k, word, " ", uint32_t(value));
        if (MenuItem* item = menu_item(menu, k)) item->flags &= uint16_t(~ITEM_DISABLED);
    }
    g_scenario.select_count = count;
}
