// Settings are read through the system's key-file reader on every start event, so an author
// can edit system\ilvane.res between runs of the title screen. Every table has a fixed room;
// values that do not fit are cut, never written past.
#include "game/settings.h"

#include <cstdio>
#include <cstring>

#include "core/config.h"
#include "core/log.h"
#include "host/sjis_literal.h"

namespace {

bool is_list_separator(char c) {
    return c == ' ' || c == ';' || c == ',' || c == '\t';
}

void copy_cut(char* out, size_t size, const char* text) {
    if (!size) return;
    size_t n = std::strlen(text);
    if (n >= size) n = size - 1;
    std::memcpy(out, text, n);
    out[n] = '\0';
}

}  // namespace

bool ReadSetting(const char* key, char* out, size_t size) {
    char value[kIniValueSize];
    if (size) out[0] = '\0';
    if (!GetIniString(key, value, kSettingsFile)) return false;
    copy_cut(out, size, value);
    return true;
}

int SettingNumber(const char* key) {
    return GetIniNumber(key, kSettingsFile);
}

bool SettingSwitch(const char* key) {
    return GetIniBool(key, kSettingsFile) == 1;
}

int SplitList(const char* text, char* words, int max_words, int word_size) {
    int count = 0;
    const char* p = text;
    while (count < max_words) {
        while (*p && is_list_separator(*p))
            ++p;
        if (!*p || *p == '\n' || *p == '\r') break;
        char* word = words + size_t(count) * size_t(word_size);
        int n = 0;
        for (; *p && !is_list_separator(*p) && *p != '\n' && *p != '\r'; ++p)
            if (n < word_size - 1) word[n++] = *p;
        word[n] = '\0';
        ++count;
    }
    return count;
}

void ReadDisplayEntries(IlvaneGame& game) {
    game.display_count = 0;
    game.highest_sheet = 0;
    int per_sheet = game.entries_per_sheet > 0 ? game.entries_per_sheet : 10;
    int i = 1;
    for (; i <= kDisplayEntries; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "DISPLAY%d", i);
        char* entry = game.display[i - 1];
        if (!ReadSetting(key, entry, kDisplayTextSize) || !entry[0]) break;
        game.display_count = i;
        if (i % per_sheet == 0) ++game.highest_sheet;
    }
    for (int k = game.display_count; k < kDisplayEntries; ++k)
        game.display[k][0] = '\0';
    LogLinef("STSメニュー　項目数%d  sheets %d"_sj, i, game.highest_sheet);
}

void ReadModeNames(ModeNameTable& table) {
    table = ModeNameTable{};
    for (int k = 1; k <= kModeSlots; ++k) {
        char key[16];
        char value[kIniValueSize];
        std::snprintf(key, sizeof key, "MODENAME%d", k);
        if (!ReadSetting(key, value, sizeof value)) break;
        SplitList(value, &table.words[k - 1][0][0], kModeWords, kModeWordSize);
        table.count = k;
    }
}

Calendar ReadCalendar() {
    Calendar c;
    int month = SettingNumber("MONTH");
    int day = SettingNumber("DAY");
    int week = SettingNumber("WEEK");
    if (month >= 0) c.month = month;
    if (day >= 0) c.day = day;
    if (week >= 0) c.week = week;
    return c;
}
