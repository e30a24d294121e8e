// Item values: numbers and texts by name path, searches by key value, copying and dumping.
#include <cstring>
#include <string>

#include "core/log.h"
#include "host/sjis_literal.h"
#include "resource/item_access.h"
#include "resource/record_index.h"
#include "resource/resource.h"

namespace {

// Type of a number access: an element of a long array when the path holds a "[".
int number_type(const char* path) {
    return find_bracket(path) ? ITEMlongArray : ITEMlong;
}

// Offset of a number item (or of an array element) for the searches; false when undefined.
bool number_offset(const ResourceAttr* attr, const char* item, uint32_t* offset) {
    bool element = find_bracket(item) != nullptr;
    const ItemDesc* d = find_item(attr, item, element, offset);
    if (!d) return false;
    if (element) {
        int index = dimension(item);
        if (index < 0 || (uint64_t(index) + 1) * 4 > d->size) return false;
        *offset += uint32_t(index) * 4;
    }
    return true;
}

// The text at `address` in `record`, never read past the body.
std::string bounded_text(Handle record, const char* address) {
    return std::string(address, strnlen(address, body_room(record, address)));
}

}  // namespace

int32_t SetNum(Handle record, const char* path, int32_t value) {
    if (!path || !path[0]) {
        LogLine("SetNum() name is NULL");
        return -1;
    }
    char* address = get_adr2(record, path, number_type(path));
    if (!address) return -1;
    HandleEntry* e = handle_entry(record);
    const ItemDesc* d = e ? item_desc(FindItem(e->owner, path)) : nullptr;
    if (d && (d->flags & ITEM_LIMITED)) {
        if (value < d->lower) {
            LogLinef("   low number %d set limit upper %d lower %d(number<lower)", int(value),
                     int(d->upper), int(d->lower));
            value = d->lower;
        } else if (value > d->upper) {
            LogLinef("    up number %d set limit upper %d lower %d(number<lower)", int(value),
                     int(d->upper), int(d->lower));
            value = d->upper;
        }
    }
    StoreLong(address, value);
    return value;
}

int SetStr(Handle record, const char* path, const char* text) {
    if (!path || !path[0] || !text) {
        LogLine("SetStr() para is NULL");
        return -1;
    }
    HandleEntry* e = handle_entry(record);
    const ItemDesc* d = e ? item_desc(FindItem(e->owner, path)) : nullptr;
    if (!d) return -1;
    char* address = get_adr2(record, path, ITEMstring);
    if (!address) return -1;
    size_t size = d->size;
    size_t length = std::strlen(text);
    if (length >= size) {
        LogLinef("SetStr()で長い文字列が指定されました。　%s"_sj, path);
        if (size > 0) {
            std::memcpy(address, text, size - 1);
            address[size - 1] = '\0';
        }
        return -1;
    }
    std::memcpy(address, text, length + 1);
    return 1;
}

int32_t GetNum(Handle record, const char* path) {
    if (!path) return -1;
    const char* address = get_adr2(record, path, number_type(path));
    return address ? LoadLong(address) : -1;
}

char* GetStr(Handle record, const char* path) {
    return get_adr2(record, path, ITEMstring);
}

Handle SearchRecordNum(Handle resource, const char* item, int mode, int32_t value) {
    ResourceAttr* attr = resource_attr(resource);
    if (!attr || !attr->first_item || !item || mode < 1 || mode > 3) return 0;
    uint32_t offset = 0;
    if (!number_offset(attr, item, &offset)) return 0;
    for (Handle h = FirstRecord(resource); h; h = NextRecord(h)) {
        const char* address = body_address(h, offset, 4);
        if (!address) continue;
        int32_t v = LoadLong(address);
        if ((mode == 1 && v == value) || (mode == 2 && v > value) || (mode == 3 && v < value))
            return h;
    }
    return 0;
}

Handle SearchRecordStr(Handle resource, const char* item, const char* text) {
    ResourceAttr* attr = resource_attr(resource);
    if (!attr || !attr->first_item || !item || !text) return 0;
    uint32_t offset = 0;
    const ItemDesc* d = find_item(attr, item, false, &offset);
    if (!d) return 0;
    size_t length = std::strlen(text);
    for (Handle h = FirstRecord(resource); h; h = NextRecord(h)) {
        const char* address = body_address(h, offset, d->size);
        if (!address) continue;
        size_t stored = strnlen(address, body_room(h, address));
        if (stored == length && std::memcmp(address, text, length) == 0) return h;
    }
    return 0;
}

int CopyRecord(Handle source, Handle destination) {
    HandleEntry* se = handle_entry(source);
    HandleEntry* de = handle_entry(destination);
    if (!se || !de) return 0;
    ResourceAttr* source_attr = resource_attr(se->owner);
    if (!source_attr || !source_attr->first_item) return 1;
    Handle destination_resource = de->owner;
    Handle item = source_attr->first_item;
    for (uint32_t limit = chain_walk_limit(); item && limit--;) {
        const ItemDesc* d = item_desc(item);
        if (!d) break;
        std::string name(d->name, strnlen(d->name, sizeof d->name));
        item = d->next;
        const ItemDesc* target = item_desc(FindItemExact(destination_resource, name.c_str()));
        if (!target) continue;
        switch (target->type) {
            case ITEMstring:
                if (const char* text = GetStr(source, name.c_str())) {
                    std::string copy = bounded_text(source, text);
                    SetStr(destination, name.c_str(), copy.c_str());
                }
                break;
            case ITEMlong:
            case 2: {
                int32_t value = GetNum(source, name.c_str());
                if (value != -1) SetNum(destination, name.c_str(), value);
                break;
            }
            default:
                LogLine("CopyRecord()　Item Error"_sj);
                break;
        }
    }
    return 0;
}

int DumpRecords(Handle resource) {
    ResourceAttr* attr = resource_attr(resource);
    if (!attr || !attr->first_item) return 1;
    if (!LogLineActive()) return 0;
    for (Handle h = FirstRecord(resource); h; h = NextRecord(h)) {
        uint32_t offset = 0;
        uint32_t limit = chain_walk_limit();
        for (Handle item = resource_attr(resource)->first_item; item && limit--;) {
            const ItemDesc* d = item_desc(item);
            if (!d) break;
            if (d->type == ITEMstring) {
                if (const char* address = body_address(h, offset, d->size))
                    LogLinef("%.21s   %s", d->name, bounded_text(h, address).c_str());
            } else if (d->type == ITEMlong) {
                if (const char* address = body_address(h, offset, 4))
                    LogLinef("%.21s   %d", d->name, int(LoadLong(address)));
            }
            offset += d->size;
            item = d->next;
        }
    }
    return 0;
}
