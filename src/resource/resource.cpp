// Resources: creation, the system-wide resource chain, lookup by name and the chain check.
#include "resource/resource.h"

#include <cstdio>
#include <cstring>

#include "core/config.h"
#include "core/log.h"
#include "host/sjis_literal.h"
#include "resource/record_index.h"
#include "resource/task_record.h"

ResourceChain g_resource_chain;
SystemResources g_resources;
uint16_t g_current_group = 0;

namespace {

// Copies `text` into a name field of `size` bytes, cut to size-1 bytes, the rest cleared.
void copy_name(char* field, size_t size, const char* text) {
    std::memset(field, 0, size);
    std::memcpy(field, text, strnlen(text, size - 1));
}

// Blank field: blanks and a NUL in the last byte.
void blank_field(char* field, size_t size) {
    std::memset(field, ' ', size - 1);
    field[size - 1] = '\0';
}

const char* resource_name_or_empty(Handle resource) {
    ResourceAttr* attr = resource_attr(resource);
    return attr ? attr->name : "";
}

}  // namespace

void ResetResources() {
    g_resources = {};
    g_resource_chain = {};
    g_current_group = 0;
    index_reset();
}

ResourceAttr* resource_attr(Handle resource) {
    if (!index_is_resource(resource)) return nullptr;
    return reinterpret_cast<ResourceAttr*>(handle_body(resource));
}

ItemDesc* item_desc(Handle item) {
    HandleEntry* e = handle_entry(item);
    if (!e || !g_resources.item || e->owner != g_resources.item || e->size < sizeof(ItemDesc))
        return nullptr;
    return reinterpret_cast<ItemDesc*>(handle_body(item));
}

uint8_t* record_body(Handle record) {
    return handle_body(record);
}

Handle FindResource(const char* name, const char* data_name) {
    if (!name || !data_name) return 0;
    return index_find_resource(name, data_name);
}

Handle CreateResource(Handle task, const char* name, const char* data_name) {
    if (!name || !data_name) return 0;
    Handle found = FindResource(name, data_name);
    if (found) {
        if (TaskRecord* t = task_record(task)) t->last_opened_resource = found;
        return found;
    }
    if (TestSystemFlag(FLAG_RESOUCE_TEST)) {
        if (std::strlen(name) >= sizeof(ResourceAttr::name)) LogSystemMessage(79, name);
        if (std::strlen(data_name) >= sizeof(ResourceAttr::data_name))
            LogSystemMessage(80, data_name);
    }
    Handle resource = PoolAlloc(sizeof(ResourceAttr));
    if (!resource) return 0;

    // Append to the system chain.
    Handle old_last = g_resource_chain.last;
    if (ResourceAttr* last = resource_attr(old_last)) last->next_resource = resource;
    if (!g_resource_chain.first) g_resource_chain.first = resource;
    g_resource_chain.last = resource;

    TaskRecord* t = task_record(task);
    auto* attr = reinterpret_cast<ResourceAttr*>(handle_body(resource));
    std::memset(attr, 0, sizeof *attr);
    attr->prev_resource = old_last;
    attr->group = t ? t->group : 0;
    copy_name(attr->name, sizeof attr->name, name);
    copy_name(attr->data_name, sizeof attr->data_name, data_name);
    // The owner name as configured at start-up (USER_NAME, read once then).
    static_assert(sizeof attr->user == sizeof g_system.owner_name);
    std::memcpy(attr->user, g_system.owner_name, sizeof attr->user);
    attr->user[sizeof attr->user - 1] = '\0';
    attr->created = ClockNow();
    blank_field(attr->tag, sizeof attr->tag);
    blank_field(attr->mark, sizeof attr->mark);
    index_add_resource(resource);

    ++g_resource_chain.resource_count;
    if (t) {
        attr->owner_task = t->id;
        t->last_opened_resource = resource;
    }

    if (TestSystemFlag(FLAG_RESOUCE_TEST) && LogLineActive()) {
        if (t)
            LogLinef("%.28sの要求でResourceを作成  AttName:%s"_sj, t->name, attr->name);
        else
            LogLinef("初期化中にResourceを作成  AttName:%s"_sj, attr->name);
        LogLinef("\tﾘｿｰｽ･ｱﾄﾘﾋﾞｭｰﾄ情報 res name:%s data name:%s"_sj, attr->name, attr->data_name);
        LogLinef("\tﾘｿｰｽ･ﾃｰﾌﾞﾙ情報 count %ld  top att:%s  end att:%s"_sj,
                 long(g_resource_chain.resource_count),
                 resource_name_or_empty(g_resource_chain.first),
                 resource_name_or_empty(g_resource_chain.last));
        LogLinef("\tHANDLE adr %x  RESOURCE adr %x", handle_entry_address(resource),
                 handle_block_address(resource));
    }
    return resource;
}

int CheckRecordChain(Handle resource) {
    ResourceAttr* attr = resource_attr(resource);
    if (!attr) return 1;
    if (TestSystemFlag(FLAG_RESOUCE_TEST))
        LogLinef("ﾙｰﾌﾟ･ﾁｪｯｸ  RESOUCE %s %d/%d"_sj, attr->name, int(attr->active_count),
                 int(attr->record_count));
    // A looped chain stops at the walk limit, which no real count reaches.
    uint32_t limit = chain_walk_limit();
    int forward = 0, backward = 0;
    for (Handle h = attr->first_record; h && uint32_t(forward) <= limit; ++forward) {
        HandleEntry* e = handle_entry(h);
        if (!e) break;
        h = e->next;
    }
    for (Handle h = attr->last_record; h && uint32_t(backward) <= limit; ++backward) {
        HandleEntry* e = handle_entry(h);
        if (!e) break;
        h = e->prev;
    }
    // The record count is a 16-bit field: compare the walk's counts in its width.
    if (forward != backward || uint16_t(forward) != attr->record_count) {
        LogLinef("ﾙｰﾌﾟ･ﾁｪｯｸ error %d/%d"_sj, forward, backward);
        return 1;
    }
    return 0;
}
