// The format of a background name comes from the settings file, so it is never handed to
// printf: a stray %d or %n or more %s places than labels would read arguments that are not
// there. FormatWithLabels fills only %s places, from the labels actually found.
#include "game/background_name.h"

#include <cstring>

#include "core/log.h"
#include "game/settings.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"

namespace {

constexpr int kFormatWords = 16;  // the format and up to 15 mode names

void append(char* out, size_t size, size_t& at, const char* text) {
    for (; *text && at + 1 < size; ++text)
        out[at++] = *text;
    out[at] = '\0';
}

}  // namespace

const char* mode_label(const IlvaneGame& game, const char* name) {
    const ModeNameTable& table = game.modes;
    for (int k = 0; k < table.count; ++k) {
        if (std::strcmp(table.words[k][0], name) != 0) continue;
        int value = GetNum(game.player, name);
        if (value < 0 || value + 1 >= kModeWords) return "";
        return table.words[k][value + 1];
    }
    return "";
}

void FormatWithLabels(const char* format, const char* const* labels, int count, char* out,
                      size_t size) {
    if (!size) return;
    size_t at = 0;
    int next = 0;
    out[0] = '\0';
    for (const char* p = format; *p && at + 1 < size; ++p) {
        if (p[0] == '%' && p[1] == 's') {
            if (next < count) append(out, size, at, labels[next]);
            ++next;
            ++p;
        } else if (p[0] == '%' && p[1] == '%') {
            out[at++] = '%';
            ++p;
        } else {
            out[at++] = *p;
        }
        out[at] = '\0';
    }
}

void bg_file_name(IlvaneGame& game, char* out, size_t size) {
    if (!game.bg_format[0]) {
        ReadSetting("BG_FORMAT", game.bg_format, sizeof game.bg_format);
        if (game.gsys) SetStr(game.gsys, "bg_format", game.bg_format);
    }
    char words[kFormatWords][kGameTextSize];
    int count = SplitList(game.bg_format, &words[0][0], kFormatWords, kGameTextSize);
    if (count == 0) {
        if (size) out[0] = '\0';
        return;
    }
    const char* labels[kFormatWords] = {};
    int labels_used = count - 1;
    for (int i = 0; i < labels_used; ++i)
        labels[i] = mode_label(game, words[i + 1]);
    // Five modes are taken as six, the sixth being the label of no mode.
    if (labels_used == 5) labels[labels_used++] = mode_label(game, "");
    switch (labels_used) {
        case 4:
            LogLine("graphic name get TEST.　パラが四個の場合"_sj);
            break;
        case 6:
            LogLine("graphic name get TEST.　パラが六個の場合"_sj);
            break;
        case 7:
            LogLine("graphic name get TEST.　パラが七個の場合"_sj);
            break;
        case 8:
            LogLine("graphic name get TEST.　パラが八個の場合"_sj);
            break;
        default:
            break;
    }
    FormatWithLabels(words[0], labels, labels_used, out, size);
    if (labels_used == 9) LogLine(out);
}
