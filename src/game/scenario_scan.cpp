// The scan of a scenario text: plain text is copied to the page, command tags are executed
// and removed from the text, text-library words and the player's string items are replaced in
// the text itself and scanned again, and a Select or input tag ends the page.
//
// The source is edited in place. The read position and the write position move together (every
// step either copies one byte or changes the source at the read position), so the page never
// holds more bytes than the source; replacements grow the source only within its buffer, so a
// word that expands to itself stops when the buffer is full instead of running on.
#include <algorithm>
#include <cstring>
#include <string>

#include "core/log.h"
#include "game/scenario.h"
#include "game/scenario_context.h"
#include "game/scenario_internal.h"
#include "host/sjis_literal.h"
#include "resource/resource.h"
#include "text/str.h"

namespace {

constexpr size_t kTagTextMax = 2047;  // bytes of tag text the scan looks at
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

// Bytes from `source` to the end of the buffer it lies in: the text buffer, or else the text
// itself; never more than a page holds.
size_t source_capacity(const char* source) {
    const char* begin = g_scenario.text;
    if (source >= begin && source < begin + kScenarioTextSize)
        return size_t(begin + kScenarioTextSize - source);
    return std::min(std::strlen(source) + 1, kScenarioTextSize);
}

bool in_text_buffer(const char* p) {
    return p >= g_scenario.text && p < g_scenario.text + kScenarioTextSize;
}

// Replaces [from, to) of the source by `text` when the result fits the capacity.
bool replace_in_source(char* source, size_t capacity, char* from, char* to, const char* text) {
    size_t length = std::strlen(source), cut = size_t(to - from), added = std::strlen(text);
    if (length - cut + added + 1 > capacity) return false;
    ReplaceSection(source, from, to, text);
    return true;
}

void delete_section(char* from, char* to) {
    std::memmove(from, to, std::strlen(to) + 1);
}

unsigned scans_started = 0;

// The resource whose item a name or name path names: a path ".Resource:Data.key:value.item"
// names its own resource, every other form the player record's.
Handle named_resource(const char* path) {
    const HandleEntry* e = handle_entry(g_game.player);
    Handle own = e ? e->owner : 0;
    if (path[0] != '.' || std::count(path, path + std::strlen(path), ':') != 2) return own;
    const char* colon = std::strchr(path + 1, ':');
    const char* dot = std::strchr(colon + 1, '.');
    if (!dot) return own;
    std::string name(path + 1, colon), data_name(colon + 1, dot);
    return FindResource(name.c_str(), data_name.c_str());
}

// The text of the player's string item (or the string item a name path selects), or nullptr.
const char* player_text(const char* name) {
    if (ItemType(named_resource(name), name) != ITEMstring) return nullptr;
    return get_adr2(g_game.player, name, ITEMstring);
}

struct Tag {
    char text[kTagTextMax + 1];
    char name[kTagTextMax + 1];
    char parameters[kTagTextMax + 1];
};

// Splits the tag text between '<' and `close` into its name and its parameters without blanks.
void read_tag(const char* open, const char* close, Tag* tag) {
    size_t length = std::min(size_t(close - open - 1), kTagTextMax);
    std::memcpy(tag->text, open + 1, length);
    tag->text[length] = '\0';
    SplitTagText(tag->text, tag->name, tag->parameters);
}

}  // namespace

void SplitTagText(const char* text, char* name, char* parameters) {
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    const char* start = p;
    while (*p && *p != ' ' && *p != '\t' && *p != ';' && *p != ',')
        ++p;
    std::memcpy(name, start, size_t(p - start));
    name[p - start] = '\0';
    std::strcpy(parameters, p);
    RemoveBlanks(parameters);
}

int exec_command(Handle task, char* source, char* output) {
    const size_t capacity = source_capacity(source);
    char* r = source;
    char* w = output;
    bool no_text = false;
    Tag tag;
    const unsigned scan = ++scans_started;
    for (;;) {
        if (!*r || size_t(r - source) >= capacity - 1) {
            *w = '\0';
            g_scenario.continuation = kNoContinuation;
            return 0;
        }
        if (*r == '>') LogLinef("ERROR TAG>-%s- line %d", r, 1971);
        char* close = *r == '<' ? std::strchr(r + 1, '>') : nullptr;
        if (!close) {  // plain text, and a '<' that is never closed
            *w++ = *r++;
            continue;
        }
        read_tag(r, close, &tag);
        int result = tag_dispatch(task, tag.name, tag.parameters);
        if (scans_started != scan) {
            // The tag played a page of its own (a restored save rebuilds the screen and its
            // page): the text under this scan has been replaced, so this scan ends here.
            *w = '\0';
            return 0;
        }
        if (LogLineActive())
            LogLinef("ret exec_command() %d code -%s- para -%s-(exe %d)", result, tag.text,
                     tag.parameters, result);
        if (g_scenario.debug) ShowDebugText(220, 25, 140, 20, kBlack, 230, 30, tag.name, kWhite);
        switch (result) {
            case TAG_DONE:
                delete_section(r, close + 1);
                break;
            case TAG_STOP:
                if (!close[1]) {
                    *r = '\0';
                    *w = '\0';
                    g_scenario.continuation = kNoContinuation;
                    LogLinef("あれまlen　%d"_sj, 1);
                    return 2;
                }
                g_scenario.continuation =
                    in_text_buffer(r) ? int(r - g_scenario.text) : kNoContinuation;
                delete_section(r, close + 1);
                *w = '\0';
                return no_text ? 3 : 0;
            case TAG_NO_TEXT:
                no_text = true;
                *w++ = *r++;
                break;
            case TAG_DRAW:
                *w++ = *r++;
                break;
            default: {
                Handle library = find_textlib_record(tag.name);
                if (!library) {
                    const char* item = player_text(tag.name);
                    if (!item)
                        LogLinef(" 未定義ﾀｸﾞでTextLIBにもありません。 -%s- exe%d"_sj, tag.name, 0);
                    else
                        replace_in_source(source, capacity, r, close + 1, item);
                } else {
                    LogLinef(" textlib展開 -%s-"_sj, tag.name);
                    const char* text = GetStr(library, "Text");
                    if (!text) {
                        LogLine("ERROR!! decode Text is null");
                    } else if (std::strlen(text) < 2) {
                        LogLine("decode TextLib Nullstring");
                        delete_section(r, close + 1);
                        break;
                    } else {
                        LogLinef("\ttextlib get str -%s-", text);
                        replace_in_source(source, capacity, r, close + 1, text);
                    }
                }
                if (*r) *w++ = *r++;
                break;
            }
        }
    }
}

void delete_tag(char* text) {
    if (!text) return;
    for (char* p = std::strchr(text, '<'); p; p = std::strchr(p, '<')) {
        char* close = std::strchr(p, '>');
        if (!close) {
            LogLine("delete_tag >タグ記述ミス"_sj);
            return;
        }
        delete_section(p, close + 1);
    }
}
