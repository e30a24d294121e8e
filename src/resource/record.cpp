// Records: creation and reuse, lookup by number, deactivation, removal and chain order.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/log.h"
#include "host/sjis_literal.h"
#include "resource/number_map.h"
#include "resource/record_index.h"
#include "resource/resource.h"
#include "resource/task_record.h"

namespace {

void warn_number_zero(int32_t number) {
    if (number == 0 && TestSystemFlag(FLAG_RESOUCE_TEST))
        LogLine("search_record でnumber 0を指定しました(warrning)"_sj);
}

// Moves a linked record to the end of its resource's chain.
void move_to_end(ResourceAttr* attr, Handle record) {
    HandleEntry* e = handle_entry(record);
    if (attr->last_record == record) return;
    if (HandleEntry* p = handle_entry(e->prev))
        p->next = e->next;
    else
        attr->first_record = e->next;
    if (HandleEntry* n = handle_entry(e->next)) n->prev = e->prev;
    HandleEntry* last = handle_entry(attr->last_record);
    if (last) last->next = record;
    e->prev = attr->last_record;
    e->next = 0;
    attr->last_record = record;
}

// Takes an inactive record of `size` back into use (CreateRecord with number -1).
Handle reuse_record(Handle resource, uint32_t size) {
    Handle record = index_reusable(resource, size);
    if (!record) return 0;
    ResourceAttr* attr = resource_attr(resource);
    index_record_detach(record);
    move_to_end(attr, record);
    HandleEntry* e = handle_entry(record);
    e->flags &= uint16_t(~RECORD_INACTIVE);
    index_record_relinked(resource, record);
    ++attr->active_count;
    attr->active_bytes += e->size;
    return record;
}

}  // namespace

Handle CreateRecord(Handle resource, int32_t number, uint32_t size) {
    if (!resource) return 0;
    ResourceAttr* attr = resource_attr(resource);
    if (!attr) {
        // Not the block of any resource of the system chain.
        if (TestSystemFlag(FLAG_RESOUCE_TEST)) LogSystemMessage(74, nullptr);
        return 0;
    }
    if (TestSystemFlag(FLAG_RESOUCE_TEST) && (number < -1 || number > 65536)) {
        LogSystemMessage(82, attr->name);
        return 0;
    }
    if (attr->record_size != 0) size = attr->record_size;

    if (number == -1) {
        if (attr->record_count != attr->active_count) {
            if (Handle reused = reuse_record(resource, size)) return reused;
            LogLine("ﾘｿｰｽ活性化ｴﾗｰ   active_resource()"_sj);
            LogLinef("     all/active   %d/%d", int(attr->record_count), int(attr->active_count));
            LogLine("           ﾘｿｰｽ･ﾁｪｰﾝに異常があります。"_sj);
        }
    } else if (Handle existing = search_record(resource, number)) {
        if (TestSystemFlag(FLAG_RESOUCE_TEST)) {
            LogLine("CreateRecord()で既存のﾘｿｰｽが呼ばれました"_sj);
            LogLinef("    %s:%s  number %d", attr->data_name, attr->name, int(number));
        }
        return existing;
    }

    // The body gets one spare byte: the last item ends one byte after the counted body.
    Handle record = size < 0xFFFF ? PoolAlloc(size + 1) : 0;
    attr = resource_attr(resource);  // the pool may have moved the block
    if (!record) {
        char detail[128];
        std::snprintf(detail, sizeof detail, "%s: %d byteのメモリを確保できません"_sj,
                      attr->data_name, int(size));
        ShowSystemMessage(1, detail);
        return 0;
    }
    std::memset(handle_body(record), 0, size + 1);

    HandleEntry* e = handle_entry(record);
    Handle old_last = attr->last_record;
    e->number = number;
    e->flags = 0;
    e->size = uint16_t(size);
    e->owner = resource;
    e->next = 0;
    e->prev = old_last;
    e->mark[0] = ' ';
    e->mark[1] = ' ';
    e->mark[2] = '\0';
    e->pad = 0;

    bool consistent = true;
    if (!attr->first_record && !old_last) {
        attr->first_record = attr->last_record = record;
    } else if (!attr->first_record || !old_last) {
        if (TestSystemFlag(FLAG_RESOUCE_TEST))
            LogLinef("%s  ｱﾄﾘﾋﾞｭｰﾄは top OR end ﾘｿｰｽが NULLです."_sj, attr->name);
        if (!attr->first_record)
            attr->first_record = record;
        else
            attr->last_record = record;
        consistent = false;
    } else {
        if (HandleEntry* last = handle_entry(old_last)) last->next = record;
        attr->last_record = record;
    }

    ++attr->record_count;
    ++attr->active_count;
    attr->active_bytes += size;
    ++g_resource_chain.record_count;
    g_resource_chain.record_bytes += size;

    if (consistent)
        index_record_appended(resource, record);
    else
        index_rebuild(resource);
    return record;
}

Handle search_record(Handle resource, int32_t number) {
    warn_number_zero(number);
    return index_search_number(resource, number);
}

uint32_t CreateRecordRun(Handle resource, const RecordSeed* seeds, uint32_t count, Handle* out,
                         void (*fill)(uint8_t* body, uint32_t size)) {
    ResourceAttr* attr = resource_attr(resource);
    if (!attr || count == 0 || attr->record_count || attr->active_count || attr->first_record ||
        attr->last_record)
        return 0;
    bool trace = TestSystemFlag(FLAG_RESOUCE_TEST);
    uint32_t record_size = attr->record_size;

    // The seeds CreateRecord would make new records of without a refusal. In an empty chain
    // every record made is active, so number -1 never reuses one; a number repeats only within
    // the seeds (most files number their records in rising order, which needs no lookup).
    static thread_local std::vector<uint32_t> blocks;
    static thread_local NumberMap seen;
    blocks.clear();
    seen.clear();
    bool rising = true;
    int32_t last_number = INT32_MIN;
    uint32_t taken = 0;
    for (; taken < count; ++taken) {
        const RecordSeed& seed = seeds[taken];
        uint32_t size = record_size ? record_size : seed.size;
        if (size >= 0xFFFF) break;
        if (trace && (seed.number < -1 || seed.number > 65536)) break;
        if (seed.number != -1) {
            if (rising && seed.number <= last_number) {
                rising = false;
                for (uint32_t k = 0; k < taken; ++k)
                    if (seeds[k].number != -1) seen.emplace(seeds[k].number, 1);
            }
            last_number = seed.number;
            if (!rising && !seen.emplace(seed.number, 1).second) break;
        }
        blocks.push_back(size + 1);  // the body and its spare byte
    }
    Handle first = PoolAllocRun(blocks.data(), taken);
    if (!first) return 0;
    attr = resource_attr(resource);  // the pool may have moved the block

    for (uint32_t i = 0; i < taken; ++i) {
        Handle record = first + i;
        const RecordSeed& seed = seeds[i];
        if (seed.number != -1) warn_number_zero(seed.number);
        uint32_t size = blocks[i] - 1;
        uint8_t* body = handle_body(record);
        if (seed.body)
            std::memcpy(body, seed.body, size);
        else
            std::memset(body, 0, size);
        body[size] = 0;
        if (fill) fill(body, size);
        HandleEntry* e = handle_entry(record);
        e->number = seed.number;
        e->flags = 0;
        e->size = uint16_t(size);
        e->owner = resource;
        e->next = i + 1 < taken ? record + 1 : 0;
        e->prev = i ? record - 1 : 0;
        e->mark[0] = ' ';
        e->mark[1] = ' ';
        e->mark[2] = '\0';
        e->pad = 0;
        attr->active_bytes += size;
        g_resource_chain.record_bytes += size;
        out[i] = record;
    }
    attr->first_record = first;
    attr->last_record = first + taken - 1;
    attr->record_count = uint16_t(attr->record_count + taken);
    attr->active_count = uint16_t(attr->active_count + taken);
    g_resource_chain.record_count += taken;
    index_run_appended(resource, first, taken);
    return taken;
}

Handle SelectRecord(Handle task, Handle resource, int32_t number) {
    if (TaskRecord* t = task_record(task)) t->last_opened_resource = resource;
    Handle record = search_record(resource, number);
    HandleEntry* e = handle_entry(record);
    if (!e || (e->flags & RECORD_INACTIVE)) return 0;
    if (TaskRecord* t = task_record(task)) t->last_selected_record = record;
    return record;
}

int DeactivateRecord(Handle /*task*/, Handle resource, Handle record) {
    ResourceAttr* attr = resource_attr(resource);
    HandleEntry* e = handle_entry(record);
    if (!attr || !e) return 1;
    e->flags |= RECORD_INACTIVE;
    --attr->active_count;
    attr->active_bytes -= e->size;
    g_resource_chain.deactivated_bytes += e->size;
    index_record_deactivated(record);
    return 0;
}

namespace {

// Takes a record out of its resource's chain, fixing the neighbours or the chain's ends.
void unlink_from_chain(ResourceAttr* attr, HandleEntry* e) {
    if (HandleEntry* p = handle_entry(e->prev))
        p->next = e->next;
    else
        attr->first_record = e->next;
    if (HandleEntry* n = handle_entry(e->next))
        n->prev = e->prev;
    else
        attr->last_record = e->prev;
}

}  // namespace

int RemoveRecord(Handle task, Handle resource, Handle record) {
    if (DeactivateRecord(task, resource, record)) return 1;
    ResourceAttr* attr = resource_attr(resource);
    HandleEntry* e = handle_entry(record);
    // A record that is not (or no longer) in this resource's chain has nothing to unlink.
    if (e->owner != resource || !index_record_linked(record)) return 0;
    index_record_unlinked(record);
    unlink_from_chain(attr, e);
    --attr->record_count;
    --g_resource_chain.record_count;
    g_resource_chain.record_bytes -= e->size;
    return 0;
}

int MoveRecordBefore(Handle reference, Handle record) {
    HandleEntry* ref = handle_entry(reference);
    HandleEntry* e = handle_entry(record);
    if (!ref || !e || reference == record || ref->owner != e->owner) return 1;
    ResourceAttr* attr = resource_attr(ref->owner);
    if (!attr || !index_record_linked(reference) || !index_record_linked(record)) return 1;
    index_record_detach(record);
    unlink_from_chain(attr, e);
    // Link before the reference.
    e->prev = ref->prev;
    e->next = reference;
    if (HandleEntry* p = handle_entry(ref->prev))
        p->next = record;
    else
        attr->first_record = record;
    ref->prev = record;
    index_record_relinked(ref->owner, record);
    return 1;
}

namespace {

// The first active record from `h` on along the chain, or empty.
Handle first_active_from(Handle h) {
    uint32_t limit = chain_walk_limit();
    for (; h && limit--;) {
        HandleEntry* e = handle_entry(h);
        if (!e) return 0;
        if (!(e->flags & RECORD_INACTIVE)) return h;
        h = e->next;
    }
    return 0;
}

}  // namespace

Handle FirstRecord(Handle resource) {
    ResourceAttr* attr = resource_attr(resource);
    return attr ? first_active_from(attr->first_record) : 0;
}

Handle NextRecord(Handle record) {
    HandleEntry* e = handle_entry(record);
    return e ? first_active_from(e->next) : 0;
}

int RecordCount(Handle resource) {
    ResourceAttr* attr = resource_attr(resource);
    return attr ? attr->active_count : 0;
}

int RecordIndex(Handle resource, Handle record) {
    if (!record) return 0;
    int index = 1;
    uint32_t limit = chain_walk_limit();
    for (Handle h = FirstRecord(resource); h && limit--; h = NextRecord(h), ++index)
        if (h == record) return index;
    return 0;
}

void ForgetRecordIndex(Handle resource) {
    index_resource_renamed(resource);
    index_rebuild(resource);
}
