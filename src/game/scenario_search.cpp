// Finding what the story plays: the first scenario record, and the first text library record of
// a word, whose condition holds for the player record; and the two rewrites of expressions,
// ".gsys" references to graphic-system numbers and mode labels to their values.
//
// Conditions are evaluated on a copy of the stored text, so brackets are worked out afresh at
// each search. Only the ".gsys" rewrite goes back into the stored item: a reference is resolved
// at its first evaluation and keeps that value, as scenarios were written for.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/log.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/scenario_internal.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "resource/compute.h"
#include "resource/resource.h"

namespace {

constexpr char kGsys[] = ".gsys";
constexpr size_t kGsysLength = sizeof kGsys - 1;

bool ends_gsys_name(char c) {
    return c == ' ' || c == ';' || c == ',' || c == '=' || c == '+' || c == '-' || c == '/' ||
           c == '*' || c == '&' || c == '|' || c == '>' || c == '<' || c == '.';
}

bool is_lead_byte(uint8_t c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// -1 when the record has no (or an empty) Compare, else whether it holds for the player.
int condition_holds(Handle record, bool log_expression) {
    char* stored = GetStr(record, "Compare");
    if (!stored || !stored[0]) return -1;
    char work[kScenarioTextSize];
    ResolveStoredExpression(stored, work, sizeof work);
    if (log_expression) LogLine(work);
    return CompareRecordCopy(g_game.player, work);
}

}  // namespace

void ResolveStoredExpression(char* stored, char* work, size_t size) {
    size_t length = strnlen(stored, size - 1);
    std::memcpy(work, stored, length);
    work[length] = '\0';
    if (!std::strstr(work, kGsys)) return;
    expand_gsys_refs(work, size);
    // Written back only when it is no longer than the stored text: it fits where that lay.
    if (std::strlen(work) <= length) std::strcpy(stored, work);
}

Handle find_scenario_record(Handle) {
    for (Handle r = FirstRecord(g_game.play_list); r; r = NextRecord(r)) {
        int holds = condition_holds(r, false);
        if (holds < 0) break;
        if (holds) return r;
    }
    MessageDialog("プレイデータ検索ミス"_sj);
    return 0;
}

Handle find_textlib_record(const char* word) {
    for (Handle r = FirstRecord(g_game.text_lib); r; r = NextRecord(r)) {
        const char* name = GetStr(r, "textlib_word");
        if (!name || std::strcmp(name, word) != 0) continue;
        int holds = condition_holds(r, g_scenario.debug);
        if (holds < 0) return 0;
        if (holds) return r;
    }
    return 0;
}

void expand_gsys_refs(char* text, size_t capacity) {
    if (!text || capacity == 0) return;
    for (char* p = std::strstr(text, kGsys); p; p = std::strstr(p, kGsys)) {
        char* name = p + kGsysLength;
        if (!*name) return;
        ++name;  // the one separator after ".gsys"
        char* end = name;
        while (*end && !ends_gsys_name(*end))
            end += is_lead_byte(uint8_t(*end)) && end[1] ? 2 : 1;
        char item[64];
        size_t name_length = std::min(size_t(end - name), sizeof item - 1);
        std::memcpy(item, name, name_length);
        item[name_length] = '\0';
        char digits[16];
        int digit_count = std::snprintf(digits, sizeof digits, "%d",
                                        g_game.gsys ? GetNum(g_game.gsys, item) : -1);
        size_t reference = size_t(end - p), tail = std::strlen(end);
        if (size_t(digit_count) > reference && size_t(p - text) + digit_count + tail >= capacity) {
            p = end;  // no room to grow: the reference stays as written
            continue;
        }
        std::memmove(p + digit_count, end, tail + 1);
        std::memcpy(p, digits, size_t(digit_count));
        p += digit_count;
    }
}

void replace_mode_labels(char* expression) {
    if (!expression || !g_scenario.mode_word) return;
    char* p = expression;
    while (*p) {
        if (IsParamSeparator(*p)) {
            ++p;
            continue;
        }
        char* end = p;
        while (*end && !IsParamSeparator(*end))
            ++end;
        size_t length = size_t(end - p);
        int value = -1;
        for (int slot = 1; slot <= 19 && value < 0 && g_scenario.mode_word(slot, 0); ++slot)
            for (int k = 1; k <= 9; ++k) {
                const char* label = g_scenario.mode_word(slot, k);
                if (!label || !label[0]) break;
                if (std::strlen(label) == length && std::memcmp(label, p, length) == 0) {
                    value = k - 1;
                    break;
                }
            }
        if (value < 0) {
            p = end;
            continue;
        }
        // One digit in place of a label of at least one byte: the text never grows.
        *p = char('0' + value);
        std::memmove(p + 1, end, std::strlen(end) + 1);
        p += 1;
    }
}
