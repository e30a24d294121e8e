// Name paths: item, .item, .key:value.item and .Resource:Data.key:value.item.
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/log.h"
#include "host/sjis_literal.h"
#include "resource/item_access.h"
#include "resource/resource.h"

namespace {

// Text of a string item for a log line: bounded by the record's body; "(null)" when missing.
std::string log_text(Handle record, const char* address) {
    if (!address) return "(null)";
    return std::string(address, strnlen(address, body_room(record, address)));
}

// The address get_adr(record, name, type) gives, found without its log lines.
const char* quiet_address(Handle record, const char* name, int type) {
    uint32_t offset = 0;
    bool element = type == ITEMlongArray;
    ItemDesc* desc = find_item(owner_attr(record), name, element, &offset);
    if (!desc) return nullptr;
    if (!element)
        return body_address(record, offset, type == ITEMstring || type == 8 ? desc->size : 4);
    const char* bracket = find_bracket(name);
    if (!bracket || !std::strchr(bracket, ']')) return nullptr;
    long index = std::strtol(bracket + 1, nullptr, 10);
    if (index < 0 || (uint64_t(index) + 1) * 4 > desc->size) return nullptr;
    return body_address(record, offset + uint32_t(index) * 4, 4);
}

// Selects a record of `resource` by key (path .key:value.item) and addresses its item.
char* select_by_key(Handle resource, const char* path) {
    const char* colon = std::strchr(path + 1, ':');
    if (!colon) return nullptr;
    const char* dot = std::strchr(colon + 1, '.');
    if (!dot) return nullptr;
    std::string key(path + 1, colon);
    std::string value(colon + 1, dot);
    const char* item = dot + 1;

    ItemDesc* key_desc = item_desc(FindItemExact(resource, key.c_str()));
    Handle selected = key_desc && key_desc->type == ITEMstring
                          ? SearchRecordStr(resource, key.c_str(), value.c_str())
                          : SearchRecordNum(resource, key.c_str(), 1,
                                            int32_t(std::strtol(value.c_str(), nullptr, 10)));
    if (!selected) return nullptr;

    ItemDesc* item_d = item_desc(FindItemExact(resource, item));
    int item_type = item_d ? item_d->type : -1;
    // The two report lines come before the lookup's own lines, so they read the values
    // without logging.
    if (LogLineActive()) {
        LogLinef("adr2 call %s (%s:%s)type %d", item, key.c_str(), value.c_str(), item_type);
        std::string name = log_text(selected, quiet_address(selected, "名前"_sj, ITEMstring));
        const char* current = quiet_address(selected, item, item_type);
        if (item_type == ITEMstring)
            LogLinef("record check name %s -%s-", name.c_str(),
                     log_text(selected, current).c_str());
        else if (current)
            LogLinef("record check name %s -%d-", name.c_str(), int(LoadLong(current)));
        else
            LogLinef("record check name %s -(null)-", name.c_str());
    }
    return get_adr(selected, item, item_type);
}

}  // namespace

char* get_adr2(Handle record, const char* path, int type) {
    if (!path || !path[0]) return nullptr;
    if (path[0] != '.') return get_adr(record, path, type);
    int colons = 0;
    for (const char* p = path; *p; ++p)
        if (*p == ':') ++colons;
    LogLinef(" get_adr2()  -%s(type%d)-(コロン数:%d) (参考:long6,str3,)"_sj, path, type, colons);
    switch (colons) {
        case 0:
            return get_adr(record, path + 1, type);
        case 1: {
            HandleEntry* e = handle_entry(record);
            return e ? select_by_key(e->owner, path) : nullptr;
        }
        case 2: {
            LogLine("in get_path_resource()");
            const char* colon = std::strchr(path + 1, ':');
            const char* dot = std::strchr(colon + 1, '.');
            if (!dot) return nullptr;
            std::string name(path + 1, colon);
            std::string data_name(colon + 1, dot);
            Handle resource = FindResource(name.c_str(), data_name.c_str());
            return resource ? select_by_key(resource, dot) : nullptr;
        }
        default:
            return get_adr(record, path, type);
    }
}
