// Items: definition, lookup by name, limits, offsets and addresses in record bodies.
#include <cstdlib>
#include <cstring>

#include "core/log.h"
#include "host/sjis_literal.h"
#include "resource/item_access.h"
#include "resource/record_index.h"
#include "resource/resource.h"

namespace {

bool is_lead_byte(uint8_t c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// The first `c` of `text` whose preceding byte is not a Shift-JIS lead byte.
const char* find_marker(const char* text, char c) {
    for (const char* p = text; *p; ++p)
        if (*p == c && (p == text || !is_lead_byte(uint8_t(p[-1])))) return p;
    return nullptr;
}

// Bytes an item takes in the body, by its type; -1 for a type that is not recognised.
int64_t item_size_by_type(int type, uint32_t size) {
    switch (type) {
        case 1:
        case 2:
        case ITEMlong:
            return 4;
        case ITEMstring:
        case 8:
            return size;
        case ITEMlongArray:
            return int64_t(size) * 4;
        default:
            return -1;
    }
}

// Bytes an access of `type` reads or writes at the item's address.
uint32_t access_bytes(int type, const ItemDesc* desc) {
    return (type == ITEMstring || type == 8) ? desc->size : 4;
}

// item_offsetsize with the descriptor, logging as it does.
int offset_of(Handle resource, const char* name, int type, ItemDesc** desc) {
    ResourceAttr* attr = resource_attr(resource);
    if (!attr || !name) return -1;
    uint32_t offset = 0;
    ItemDesc* d = find_item(attr, name, type == ITEMlongArray, &offset);
    if (!d) {
        LogLinef("item_offsetsize()で指定 %s:%sで%s(type%d)が見つかりませんでした。"_sj, attr->name,
                 attr->data_name, name, type);
        return -1;
    }
    if (d->type != type)
        LogLinef("item_offsetsize()で呼び出した%s:%s:%s type %dは指定タイプ %dと違います"_sj,
                 attr->name, attr->data_name, d->name, int(d->type), type);
    if (desc) *desc = d;
    return int(offset);
}

}  // namespace

const char* find_bracket(const char* text) {
    return find_marker(text, '[');
}

ItemDesc* find_item(const ResourceAttr* attr, const char* name, bool element, uint32_t* offset) {
    if (!attr || !name) return nullptr;
    size_t length = std::strlen(name);
    if (element) {
        if (const char* bracket = find_bracket(name)) length = size_t(bracket - name);
    }
    uint32_t sum = 0;
    uint32_t limit = chain_walk_limit();
    for (Handle h = attr->first_item; h && limit--;) {
        ItemDesc* d = item_desc(h);
        if (!d) break;
        if (strnlen(d->name, sizeof d->name) == length && std::memcmp(d->name, name, length) == 0) {
            if (offset) *offset = sum;
            return d;
        }
        sum += d->size;
        h = d->next;
    }
    return nullptr;
}

ResourceAttr* owner_attr(Handle record) {
    HandleEntry* e = handle_entry(record);
    return e ? resource_attr(e->owner) : nullptr;
}

char* body_address(Handle record, uint32_t offset, uint32_t bytes) {
    HandleEntry* e = handle_entry(record);
    if (!e) return nullptr;
    uint64_t room = uint64_t(e->size) + 1;  // the body and its spare byte
    if (1 + uint64_t(offset) + bytes > room) return nullptr;
    return reinterpret_cast<char*>(handle_body(record)) + 1 + offset;
}

uint32_t body_room(Handle record, const char* address) {
    HandleEntry* e = handle_entry(record);
    const char* body = reinterpret_cast<const char*>(handle_body(record));
    if (!e || !body || address < body || address > body + e->size + 1) return 0;
    return uint32_t(body + e->size + 1 - address);
}

Handle CreateItem(Handle resource, const char* name, int type, uint32_t size) {
    ResourceAttr* attr = resource_attr(resource);
    if (!attr || !name) return 0;
    if (attr->record_count != 0 || attr->first_record)
        LogLinef(
            "Warrning!! CreateItem がReocrdを作成された後呼ばれました　%s:%s(%dbyte) Req %s"_sj,
            attr->name, attr->data_name, int(attr->active_bytes), name);
    Handle item = CreateRecord(g_resources.item, -1, sizeof(ItemDesc));
    if (!item) {
        LogLine("CreateItem in CreateRecord() Error!");
        return 0;
    }
    attr = resource_attr(resource);  // re-read after the allocation
    ItemDesc* d = item_desc(item);
    if (!attr || !d) return 0;
    std::memset(d, 0, sizeof *d);  // a reused descriptor keeps nothing of its past
    std::memcpy(d->name, name, strnlen(name, sizeof d->name - 1));
    d->type = uint8_t(type);
    d->flags = 0;
    ++attr->item_count;
    if (ItemDesc* last = item_desc(attr->last_item))
        last->next = item;
    else
        attr->first_item = item;
    attr->last_item = item;

    int64_t item_size = item_size_by_type(type, size);
    if (item_size < 0) {
        LogLine("CreateItemで認識されないItem番号が指定されました。"_sj);
        item_size = 0;
    } else if (type == ITEMstring && size == 0) {
        LogLine("CreateItem()でITEMstring指定でサイズが0です。"_sj);
    }
    d->size = uint32_t(item_size);
    attr->record_size += uint32_t(item_size);
    return item;
}

Handle FindItem(Handle resource, const char* name) {
    if (!name) return 0;
    const char* used = name;
    if (name[0] == '.') {
        const char* dot = std::strchr(name + 1, '.');
        if (!dot) return 0;
        used = dot + 1;
    }
    if (!used[0]) return 0;
    return FindItemExact(resource, used);
}

Handle FindItemExact(Handle resource, const char* name) {
    ResourceAttr* attr = resource_attr(resource);
    if (!attr || !name || !name[0]) return 0;
    uint32_t limit = chain_walk_limit();
    for (Handle h = attr->first_item; h && limit--;) {
        ItemDesc* d = item_desc(h);
        if (!d) break;
        if (field_equals(d->name, sizeof d->name, name)) return h;
        h = d->next;
    }
    return 0;
}

int ItemType(Handle resource, const char* name) {
    if (!name) return -1;
    const char* used = name;
    if (name[0] == '.') used = std::strrchr(name, '.') + 1;
    ItemDesc* d = item_desc(FindItemExact(resource, used));
    return d ? d->type : -1;
}

int SetLimit(Handle resource, const char* name, int32_t upper, int32_t lower) {
    ItemDesc* d = item_desc(FindItem(resource, name));
    if (!d) return 1;
    d->upper = upper;
    d->lower = lower;
    d->flags |= ITEM_LIMITED;
    return 0;
}

int32_t GetUpperLimit(Handle record, const char* name) {
    HandleEntry* e = handle_entry(record);
    if (!e) return -1;
    ItemDesc* d = item_desc(FindItem(e->owner, name));
    return d ? d->upper : -1;
}

int item_offsetsize(Handle resource, const char* name, int type) {
    return offset_of(resource, name, type, nullptr);
}

int dimension(const char* name) {
    if (!name) return -1;
    const char* open = find_bracket(name);
    if (!open) return -1;
    const char* close = find_marker(open + 1, ']');
    if (!close) {
        LogLine("dimension() Error");
        return -1;
    }
    return int(std::strtol(open + 1, nullptr, 10));
}

char* get_adr(Handle record, const char* name, int type) {
    if (!name || !name[0]) {
        LogLine("get_adr()でnameがNULLです"_sj);
        return nullptr;
    }
    HandleEntry* e = handle_entry(record);
    if (!e) return nullptr;
    ItemDesc* desc = nullptr;
    int offset = offset_of(e->owner, name, type, &desc);
    if (offset < 0) return nullptr;
    uint32_t bytes = access_bytes(type, desc);
    if (type == ITEMlongArray) {
        int index = dimension(name);
        // An element lies inside its array, never before or after it.
        if (index < 0 || (uint64_t(index) + 1) * 4 > desc->size) return nullptr;
        offset += index * 4;
    }
    return body_address(record, uint32_t(offset), bytes);
}
