#include "text/item_data.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/config.h"
#include "core/log.h"
#include "core/system.h"
#include "resource/resource.h"
#include "resource/resource_file.h"
#include "resource/task_record.h"
#include "text/str.h"
#include "text/text.h"

namespace {

constexpr size_t kMaxLine = 2047;         // longest line taken
constexpr size_t kMaxItemName = 20;       // longest item name
constexpr size_t kMaxWord = 19;           // longest type word or number
constexpr size_t kMaxQuotedValue = 2055;  // longest quoted string value

// A keyword test: `text` is taken as `keyword` when all of it occurs inside the keyword, so
// the keyword itself and every fragment of it pass (an empty text never does).
bool is_keyword(const char* keyword, const char* text) {
    return FindText(keyword, text) != 0;
}

const ItemDataWatcher* watcher = nullptr;

// Copies the next blank-separated word of `p` into `out`, keeping at most `limit` characters,
// and returns the position after the word.
const char* next_word(const char* p, char* out, size_t limit) {
    while (*p == ' ')
        ++p;
    size_t n = 0;
    for (; *p && *p != ' ' && *p != '\n'; ++p)
        if (n < limit) out[n++] = *p;
    out[n] = '\0';
    return p;
}

// A decimal number (optional sign, digits up to the first other character) modulo 2^bits.
uint64_t parse_decimal(const char* word) {
    bool negative = *word == '-';
    if (*word == '-' || *word == '+') ++word;
    uint64_t value = 0;
    for (; *word >= '0' && *word <= '9'; ++word)
        value = value * 10 + uint64_t(*word - '0');
    return negative ? uint64_t(0) - value : value;
}
int16_t number16(const char* word) {
    return int16_t(uint16_t(parse_decimal(word)));
}
int32_t number32(const char* word) {
    return int32_t(uint32_t(parse_decimal(word)));
}

// Line y of the text, cut to the longest line taken; false when there is no such line.
bool fetch_line(Handle text, int y, std::vector<char>& line) {
    if (!GetTextLine(text, y, line.data(), line.size())) return false;
    line[kMaxLine] = '\0';
    return true;
}

std::string task_name(Handle task) {
    TaskRecord* t = task_record(task);
    return t ? std::string(t->name, strnlen(t->name, sizeof t->name)) : std::string();
}

// Defines the item of an `Item` line: the type word is tested against each type keyword on
// its own, so a word that passes several defines the item once for each.
void define_item(Handle resource, const char* rest) {
    char name[kMaxItemName + 1], type[kMaxWord + 1], first[kMaxWord + 1], second[kMaxWord + 1];
    rest = next_word(rest, name, kMaxItemName);
    rest = next_word(rest, type, kMaxWord);
    rest = next_word(rest, first, kMaxWord);
    next_word(rest, second, kMaxWord);
    LogLinef("CreateItemData()  item  %s  type %s", name, type);
    if (is_keyword("ITEMlimited", type)) {
        CreateItem(resource, name, ITEMlong, 4);
        SetLimit(resource, name, number16(first), number16(second));
    }
    if (is_keyword("ITEMstring", type)) {
        // A negative size (a number past 32767 cut to 16 bits) would make the record size
        // wrap: it counts as 0.
        int16_t size = number16(first);
        CreateItem(resource, name, ITEMstring, size > 0 ? uint32_t(size) : 0);
    }
    if (is_keyword("ITEMlong", type)) CreateItem(resource, name, ITEMlong, 4);
}

// The reader of record blocks.
struct BlockReader {
    Handle resource;
    Handle before;
    Handle text;
    Handle record = 0;
    std::vector<char> line = std::vector<char>(kTextLineSize);

    bool new_record(int y) {
        record = CreateRecord(resource, -1, 0);
        if (!record) return false;
        if (before) MoveRecordBefore(before, record);
        if (watcher && watcher->record) watcher->record(watcher->context, record, y);
        return true;
    }

    // A string value from `p`: a quoted value may go on over the following lines, which are
    // consumed (`y` moves to the line holding the closing quote).
    std::string string_value(const char* p, int& y, bool& quoted) {
        while (*p == ' ' || *p == ';' || *p == ',')
            ++p;
        quoted = *p == '"';
        if (!quoted) return p;
        std::string value;
        ++p;
        for (;;) {
            const char* quote = std::strchr(p, '"');
            size_t n = quote ? size_t(quote - p) : std::strlen(p);
            if (value.size() < kMaxQuotedValue)
                value.append(p, std::min(n, kMaxQuotedValue - value.size()));
            if (quote || !fetch_line(text, y + 1, line)) break;
            ++y;
            if (value.size() < kMaxQuotedValue) value += '\n';
            p = line.data();
        }
        return value;
    }

    // An item value line; false when it names no item of the resource.
    bool item_line(int& y) {
        char name[kMaxItemName + 1];
        const char* rest = next_word(line.data(), name, kMaxItemName);
        ItemDesc* desc = item_desc(FindItem(resource, name));
        if (!desc) {
            LogLinef("ApendItemData() itemname non %s", name);
            if (watcher && watcher->unknown_item)
                watcher->unknown_item(watcher->context, record, name, y);
            return false;
        }
        if (watcher && watcher->value) watcher->value(watcher->context, record, name, y);
        if (desc->type == ITEMlong) {
            char value[kMaxWord + 1];
            next_word(rest, value, kMaxWord);
            LogLinef("ApendItemData() num set %s = %s", name, value);
            SetNum(record, name, number32(value));
        } else if (desc->type == ITEMstring) {
            bool quoted;
            std::string value = string_value(rest, y, quoted);
            if (quoted && TestSystemFlag(FLAG_RESOUCE_TEST))
                LogLinef("ApendItemData() str set %s = %s(len%d)", name, value.c_str(),
                         int(value.size()));
            SetStr(record, name, value.c_str());
        } else {
            LogLinef("CreateItemData() type error %d", int(desc->type));
        }
        return true;
    }

    bool read() {
        bool in_block = false;
        for (int y = 1; fetch_line(text, y, line); ++y) {
            if (!in_block) {
                if (is_keyword("StartData", line.data())) {
                    if (!new_record(y)) return false;
                    in_block = true;
                }
                continue;
            }
            if (is_keyword("EndData", line.data())) {
                in_block = false;
                continue;
            }
            // A block start inside a block makes a new record, and the line is then read as a
            // value line too.
            if (is_keyword("StartData", line.data()) && !new_record(y)) return false;
            if (!item_line(y)) return false;
        }
        return true;
    }
};

}  // namespace

void SetItemDataWatcher(const ItemDataWatcher* w) {
    watcher = w;
}

Handle ApendItemData(Handle resource, Handle before, Handle text) {
    if (!resource_attr(resource) || !text_header(text)) return 0;
    BlockReader reader{resource, before, text};
    if (!reader.read()) return 0;
    if (TestSystemFlag(FLAG_RESOUCE_TEST)) {
        ResourceAttr* attr = resource_attr(resource);
        LogLinef("ResourceINFO %s:%s  record_size/count %d/%d size %d", attr->name, attr->data_name,
                 int(attr->record_size), int(attr->record_count),
                 int(attr->record_size * attr->record_count));
        LogLinef("\titem count %d   record active count %d", int(attr->item_count),
                 int(attr->active_count));
    }
    return resource;
}

Handle CreateItemData(Handle task, const char* file_name) {
    if (!file_name) return 0;
    Handle text = CreateText(task, file_name, 0);
    if (!text || ReadTextFile(text) != 0) return 0;

    char resource_name[kIniValueSize], data_name[kIniValueSize];
    if (!GetIniString("ResourceName", resource_name, file_name)) {
        LogLinef("CreateItemData() %s Non ResourceName", file_name);
        return 0;
    }
    if (!GetIniString("DataName", data_name, file_name)) {
        LogLinef("CreateItemData() %s Non DataName", file_name);
        return 0;
    }
    LogLinef("Create New Resource for CreateItemData()   res %s/%s  req task%s", resource_name,
             data_name, task_name(task).c_str());

    if (Handle saved = OpenResource(task, resource_name, data_name)) return saved;
    Handle resource = CreateResource(task, resource_name, data_name);
    if (!resource) {
        LogLine("CreateItemData() resource create error!");
        return 0;
    }

    std::vector<char> line(kTextLineSize);
    for (int y = 1; fetch_line(text, y, line); ++y) {
        char keyword[kMaxLine + 1];
        const char* rest = next_word(line.data(), keyword, kMaxLine);
        if (is_keyword("Item", keyword)) define_item(resource, rest);
    }
    LogLine("*********** Data Create *********");
    ApendItemData(resource, 0, text);
    return resource;
}

Handle LoadItemData(Handle task, Handle resource, const char* file_name) {
    if (!resource_attr(resource) || !file_name) return 0;
    Handle text = CreateText(task, file_name, 0);
    if (!text || ReadTextFile(text) != 0) return 0;
    return ApendItemData(resource, FirstRecord(resource), text);
}
