// The tag table: every command tag the interpreter knows, by exact name (case included), and
// the helpers the tag families share. The table is sorted by name so a tag is found with a
// binary search; a page of many tags costs a few comparisons per tag.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <string_view>

#include "core/log.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/scenario_internal.h"
#include "kernel/event.h"
#include "kernel/task.h"
#include "present/effect_data.h"
#include "window/draw.h"
#include "window/win_text.h"

namespace {

struct TagEntry {
    const char* name;
    TagHandler handler;
};

// Sorted by strcmp order.
constexpr TagEntry kTags[] = {
    {"AutoSave", TagAutoSave},
    {"BG", TagBg},
    {"BGFormat1", TagBgFormat1},
    {"BGFormat2", TagBgFormat2},
    {"BGFormat3", TagBgFormat3},
    {"BackGraphic", TagBackGraphic},
    {"BlackOut", TagBlackOut},
    {"CloseGraphic", TagCloseGraphic},
    {"CloseMessage", TagCloseMessage},
    {"CloseSTS", TagCloseSts},
    {"CloseSelect", TagCloseSelect},
    {"Compute", TagCompute},
    {"CutGraphic", TagCutGraphic},
    {"GetPlayer", TagGetPlayer},
    {"NoText", TagNoText},
    {"OffMenuGraphic", TagOffMenuGraphic},
    {"OpenMessage", TagOpenMessage},
    {"OpenSTS", TagOpenSts},
    {"OpenTitle", TagOpenTitle},
    {"PlayMIDI", TagPlayMidi},
    {"PlayWAVE", TagPlayWave},
    {"RestoreSave", TagRestoreSave},
    {"Result", TagResult},
    {"Select", TagSelect},
    {"SetMenuGraphic", TagSetMenuGraphic},
    {"Sheets", TagSheets},
    {"StopWAVE", TagStopWave},
    {"WhiteOut", TagWhiteOut},
    {"font_color", TagDrawing},
    {"font_size", TagDrawing},
    {"input", TagInput},
    {"mput", TagPutPicture},
    {"wait", TagDrawing},
};

constexpr bool sorted_table() {
    for (size_t i = 1; i < std::size(kTags); ++i)
        if (std::string_view(kTags[i - 1].name) >= std::string_view(kTags[i].name)) return false;
    return true;
}
static_assert(sorted_table(), "the tag table must stay sorted");

const TagEntry* find_tag(const char* name) {
    auto it = std::lower_bound(
        std::begin(kTags), std::end(kTags), name,
        [](const TagEntry& e, const char* n) { return std::strcmp(e.name, n) < 0; });
    return it != std::end(kTags) && std::strcmp(it->name, name) == 0 ? it : nullptr;
}

}  // namespace

int tag_dispatch(Handle task, const char* name, const char* parameters) {
    const TagEntry* tag = find_tag(name);
    return tag ? tag->handler(task, parameters ? parameters : "") : TAG_TEXT;
}

bool IsTableTag(const char* name) {
    return find_tag(name) != nullptr;
}

char* TagParam(const char* p, int n, char* out, size_t size) {
    out[0] = '\0';
    for (int i = 1;; ++i) {
        if (IsParamSeparator(*p)) ++p;
        const char* start = p;
        while (*p && !IsParamSeparator(*p))
            ++p;
        if (i == n) {
            size_t length = std::min(size_t(p - start), size - 1);
            std::memcpy(out, start, length);
            out[length] = '\0';
            return out;
        }
        if (!*p) return out;
    }
}

int TagNumber(const char* parameters, int n) {
    char word[32];
    TagParam(parameters, n, word, sizeof word);
    int value = 0;
    for (const char* p = word; *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + (*p - '0');
    return value;
}

void SendEffectRequest(Handle task, uint16_t type, Handle object, uint32_t mode, uint32_t color) {
    EventRecord* e = event_record(SendEvent(TaskId(task), TASK_ID_EFFECT, EVENT_EFFECT_REQUEST));
    if (!e) return;
    e->long_a = type;
    e->value = color;
    EffectRequestData d{};
    d.mode = mode;
    d.window = g_game.main_window;
    d.x = int16_t(g_scenario.effect_x);
    d.y = int16_t(g_scenario.effect_y);
    d.object = object;
    std::memcpy(e->data, &d, sizeof d);
}

void ShowDebugText(int x, int y, int width, int height, uint32_t fill, int tx, int ty,
                   const char* text, uint32_t color) {
    char shown[24];
    size_t length = std::strlen(text);
    if (length > 20) {
        std::memcpy(shown, text, 20);
        std::memcpy(shown + 20, "..", 3);
    } else {
        std::memcpy(shown, text, length + 1);
    }
    Handle window = g_game.main_window;
    FillRectangle(window, x, y, uint16_t(width), uint16_t(height), fill);
    WinColorMessage(window, tx, ty, shown, color);
    LogLine(shown);
}
