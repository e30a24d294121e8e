#include "resource/record_index.h"

#include <cstring>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "resource/number_map.h"
#include "resource/resource.h"

// Every handle has a side entry: its chain position key (records), the epoch of the chain it is
// linked into (records; 0 = not linked) and its slot in the resource table (resources).
//
// Position keys order the records of one chain: appends add kGap to the last key, a move puts
// the record halfway between its new neighbours, and when there is no room left the chain is
// numbered again in steps of kGap. Renumbering keeps the relative order, so the reuse lists,
// which are sorted by these keys, stay valid through it.
//
// Epochs: a resource's index has an epoch, and a record counts as linked when its side entry
// carries its owner's current epoch. Building an index again takes a fresh epoch, which
// unlinks every record of the old chain at once (the resource reader drops whole chains).

namespace {

constexpr int64_t kGap = int64_t(1) << 32;

struct Side {
    int64_t key = 0;
    uint32_t epoch = 0;
    uint32_t slot = 0;
};

std::vector<Side> sides;

Side& side(Handle h) {
    if (h >= sides.size()) sides.resize(std::max<size_t>(h + 1, sides.size() * 2));
    return sides[h];
}

const Side* peek_side(Handle h) {
    return h < sides.size() ? &sides[h] : nullptr;
}

struct ChainOrder {
    bool operator()(Handle a, Handle b) const {
        int64_t ka = sides[a].key, kb = sides[b].key;
        return ka != kb ? ka < kb : a < b;
    }
};

struct ResourceIndex {
    Handle handle = 0;
    uint32_t epoch = 0;
    bool duplicate_numbers = false;  // seen only in hand-edited chains: searches walk then
    NumberMap by_number;
    std::unordered_map<uint32_t, std::set<Handle, ChainOrder>> inactive_by_size;
    std::string name_key;
};

std::vector<std::unique_ptr<ResourceIndex>> slots;               // in creation order = chain order
std::unordered_map<std::string, std::vector<uint32_t>> by_name;  // slots, ascending
uint32_t epoch_counter = 0;

ResourceIndex* index_of(Handle resource) {
    const Side* s = peek_side(resource);
    if (!s || s->slot == 0 || s->slot > slots.size()) return nullptr;
    ResourceIndex* ri = slots[s->slot - 1].get();
    return ri->handle == resource && handle_entry(resource) ? ri : nullptr;
}

std::string name_key_of(const ResourceAttr* attr) {
    std::string key(attr->name, strnlen(attr->name, sizeof attr->name));
    key.push_back('\0');
    key.append(attr->data_name, strnlen(attr->data_name, sizeof attr->data_name));
    return key;
}

std::string name_key_of(const char* name, const char* data_name) {
    std::string key(name);
    key.push_back('\0');
    key.append(data_name);
    return key;
}

void add_name(uint32_t slot, const std::string& key) {
    std::vector<uint32_t>& list = by_name[key];
    auto at = list.begin();
    while (at != list.end() && *at < slot)
        ++at;
    list.insert(at, slot);
}

void remove_name(uint32_t slot, const std::string& key) {
    auto it = by_name.find(key);
    if (it == by_name.end()) return;
    std::erase(it->second, slot);
    if (it->second.empty()) by_name.erase(it);
}

void rebuild_names() {
    by_name.clear();
    for (uint32_t i = 0; i < slots.size(); ++i) {
        ResourceAttr* attr = resource_attr(slots[i]->handle);
        if (!attr) continue;
        slots[i]->name_key = name_key_of(attr);
        by_name[slots[i]->name_key].push_back(i + 1);
    }
}

Handle walk_find_resource(const char* name, const char* data_name) {
    uint32_t limit = chain_walk_limit();
    for (Handle r = g_resource_chain.first; r && limit--;) {
        ResourceAttr* attr = resource_attr(r);
        if (!attr) break;
        if (field_equals(attr->name, sizeof attr->name, name) &&
            field_equals(attr->data_name, sizeof attr->data_name, data_name))
            return r;
        r = attr->next_resource;
    }
    return 0;
}

bool linked_in(const ResourceIndex* ri, Handle record) {
    const Side* s = peek_side(record);
    return s && s->epoch == ri->epoch;
}

// Numbers the chain again in steps of kGap, keeping its order.
void renumber(ResourceIndex* ri) {
    ResourceAttr* attr = resource_attr(ri->handle);
    if (!attr) return;
    int64_t key = 0;
    uint32_t limit = chain_walk_limit();
    for (Handle h = attr->first_record; h && limit--;) {
        HandleEntry* e = handle_entry(h);
        if (!e || !linked_in(ri, h)) break;
        sides[h].key = key;
        key += kGap;
        h = e->next;
    }
}

Handle walk_search_number(Handle resource, int32_t number) {
    ResourceAttr* attr = resource_attr(resource);
    if (!attr) return 0;
    uint32_t limit = chain_walk_limit();
    for (Handle h = attr->first_record; h && limit--;) {
        HandleEntry* e = handle_entry(h);
        if (!e) break;
        if (e->number == number) return h;
        h = e->next;
    }
    return 0;
}

}  // namespace

uint32_t chain_walk_limit() {
    return HandleTableEntries() + 1;
}

bool field_equals(const char* field, size_t field_size, const char* text) {
    size_t length = strnlen(field, field_size);
    return std::strlen(text) == length && std::memcmp(field, text, length) == 0;
}

void index_add_resource(Handle resource) {
    HandleEntry* e = handle_entry(resource);
    if (!e || e->size < sizeof(ResourceAttr)) return;
    auto* attr = reinterpret_cast<ResourceAttr*>(handle_body(resource));
    auto ri = std::make_unique<ResourceIndex>();
    ri->handle = resource;
    ri->epoch = ++epoch_counter;
    ri->name_key = name_key_of(attr);
    slots.push_back(std::move(ri));
    uint32_t slot = uint32_t(slots.size());
    side(resource).slot = slot;
    add_name(slot, slots.back()->name_key);
}

bool index_is_resource(Handle handle) {
    return index_of(handle) != nullptr;
}

Handle index_find_resource(const char* name, const char* data_name) {
    auto it = by_name.find(name_key_of(name, data_name));
    if (it == by_name.end()) return 0;
    Handle r = slots[it->second.front() - 1]->handle;
    ResourceAttr* attr = resource_attr(r);
    if (attr && field_equals(attr->name, sizeof attr->name, name) &&
        field_equals(attr->data_name, sizeof attr->data_name, data_name))
        return r;
    // Names were changed behind the index's back: take them again and answer by the walk.
    rebuild_names();
    return walk_find_resource(name, data_name);
}

void index_resource_renamed(Handle resource) {
    ResourceIndex* ri = index_of(resource);
    ResourceAttr* attr = resource_attr(resource);
    if (!ri || !attr) return;
    std::string key = name_key_of(attr);
    if (key == ri->name_key) return;
    uint32_t slot = side(resource).slot;
    remove_name(slot, ri->name_key);
    ri->name_key = key;
    add_name(slot, key);
}

bool index_record_linked(Handle record) {
    HandleEntry* e = handle_entry(record);
    if (!e) return false;
    ResourceIndex* ri = index_of(e->owner);
    return ri && linked_in(ri, record);
}

void index_record_appended(Handle resource, Handle record) {
    ResourceIndex* ri = index_of(resource);
    HandleEntry* e = handle_entry(record);
    if (!ri || !e) return;
    Handle prev = e->prev;
    if (prev && !linked_in(ri, prev)) {
        index_rebuild(resource);
        return;
    }
    Side& s = side(record);
    s.epoch = ri->epoch;
    if (!prev) {
        s.key = 0;
    } else if (sides[prev].key > std::numeric_limits<int64_t>::max() - kGap) {
        s.key = sides[prev].key;  // equal keys are ordered by handle until the renumbering
        renumber(ri);
    } else {
        s.key = sides[prev].key + kGap;
    }
    if (e->number != -1) {
        auto [stored, inserted] = ri->by_number.emplace(e->number, record);
        if (!inserted && *stored != record) {
            HandleEntry* old = handle_entry(*stored);
            if (old && old->owner == resource && old->number == e->number && linked_in(ri, *stored))
                ri->duplicate_numbers = true;
            else
                *stored = record;
        }
    }
    if (e->flags & RECORD_INACTIVE) ri->inactive_by_size[e->size].insert(record);
}

void index_run_appended(Handle resource, Handle first, uint32_t count) {
    ResourceIndex* ri = index_of(resource);
    if (!ri || count == 0) return;
    if (ri->by_number.size() != 0 || !ri->inactive_by_size.empty()) {
        // Not the fresh chain this form is for: take the records one at a time.
        for (uint32_t i = 0; i < count; ++i)
            index_record_appended(resource, first + i);
        return;
    }
    side(first + count - 1);
    ri->by_number.reserve(count);
    int64_t key = 0;
    for (Handle h = first; h < first + count; ++h, key += kGap) {
        Side& s = sides[h];
        s.epoch = ri->epoch;
        s.key = key;
        int32_t number = handle_entry(h)->number;
        if (number != -1) ri->by_number.emplace(number, h);
    }
}

void index_record_deactivated(Handle record) {
    HandleEntry* e = handle_entry(record);
    if (!e) return;
    ResourceIndex* ri = index_of(e->owner);
    if (ri && linked_in(ri, record)) ri->inactive_by_size[e->size].insert(record);
}

void index_record_detach(Handle record) {
    HandleEntry* e = handle_entry(record);
    if (!e) return;
    ResourceIndex* ri = index_of(e->owner);
    if (!ri) return;
    auto it = ri->inactive_by_size.find(e->size);
    if (it != ri->inactive_by_size.end()) it->second.erase(record);
}

void index_record_relinked(Handle resource, Handle record) {
    ResourceIndex* ri = index_of(resource);
    HandleEntry* e = handle_entry(record);
    if (!ri || !e) return;
    Handle prev = e->prev, next = e->next;
    if ((prev && !linked_in(ri, prev)) || (next && !linked_in(ri, next))) {
        index_rebuild(resource);
        return;
    }
    Side& s = side(record);
    s.epoch = ri->epoch;
    if (!prev && !next) {
        s.key = 0;
    } else if (!prev) {
        int64_t k = sides[next].key;
        if (k < std::numeric_limits<int64_t>::min() + kGap) {
            renumber(ri);
        } else {
            s.key = k - kGap;
        }
    } else if (!next) {
        int64_t k = sides[prev].key;
        if (k > std::numeric_limits<int64_t>::max() - kGap) {
            renumber(ri);
        } else {
            s.key = k + kGap;
        }
    } else {
        int64_t lo = sides[prev].key, hi = sides[next].key;
        if (hi - lo >= 2) {
            s.key = lo + (hi - lo) / 2;
        } else {
            renumber(ri);
        }
    }
    if (e->flags & RECORD_INACTIVE) ri->inactive_by_size[e->size].insert(record);
}

void index_record_unlinked(Handle record) {
    HandleEntry* e = handle_entry(record);
    if (!e) return;
    ResourceIndex* ri = index_of(e->owner);
    if (!ri || !linked_in(ri, record)) return;
    auto it = ri->inactive_by_size.find(e->size);
    if (it != ri->inactive_by_size.end()) it->second.erase(record);
    Handle* numbered = ri->by_number.find(e->number);
    if (numbered && *numbered == record) ri->by_number.erase(e->number);
    side(record).epoch = 0;
}

Handle index_search_number(Handle resource, int32_t number) {
    ResourceIndex* ri = index_of(resource);
    if (!ri) return 0;
    // Unnumbered records share -1: the first of them is found by the walk from the head.
    if (number == -1 || ri->duplicate_numbers) return walk_search_number(resource, number);
    for (int attempt = 0; attempt < 2; ++attempt) {
        Handle* numbered = ri->by_number.find(number);
        if (!numbered) return 0;
        Handle h = *numbered;
        HandleEntry* e = handle_entry(h);
        if (e && e->owner == resource && e->number == number && linked_in(ri, h)) return h;
        index_rebuild(resource);
        if (ri->duplicate_numbers) return walk_search_number(resource, number);
    }
    return walk_search_number(resource, number);
}

Handle index_reusable(Handle resource, uint32_t size) {
    ResourceIndex* ri = index_of(resource);
    if (!ri || size > 0xFFFF) return 0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto it = ri->inactive_by_size.find(size);
        if (it == ri->inactive_by_size.end() || it->second.empty()) return 0;
        Handle h = *it->second.begin();
        HandleEntry* e = handle_entry(h);
        if (e && e->owner == resource && (e->flags & RECORD_INACTIVE) && e->size == size &&
            linked_in(ri, h))
            return h;
        index_rebuild(resource);
    }
    return 0;
}

void index_rebuild(Handle resource) {
    ResourceIndex* ri = index_of(resource);
    ResourceAttr* attr = resource_attr(resource);
    if (!ri || !attr) return;
    ri->epoch = ++epoch_counter;
    ri->by_number.clear();
    ri->inactive_by_size.clear();
    ri->duplicate_numbers = false;
    int64_t key = 0;
    uint32_t limit = chain_walk_limit();
    for (Handle h = attr->first_record; h && limit--;) {
        HandleEntry* e = handle_entry(h);
        if (!e || e->owner != resource) break;
        Side& s = side(h);
        if (s.epoch == ri->epoch) break;  // the chain loops
        s.epoch = ri->epoch;
        s.key = key;
        key += kGap;
        if (e->number != -1 && !ri->by_number.emplace(e->number, h).second)
            ri->duplicate_numbers = true;
        if (e->flags & RECORD_INACTIVE) ri->inactive_by_size[e->size].insert(h);
        h = e->next;
    }
}

void index_reset() {
    sides.clear();
    slots.clear();
    by_name.clear();
    epoch_counter = 0;
}
