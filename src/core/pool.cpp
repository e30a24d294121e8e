#include "core/pool.h"

#include <sys/mman.h>

#include <cstdlib>
#include <cstring>
#include <limits>
#include <set>
#include <vector>

#include "core/log.h"
#include "host/sjis_literal.h"

// Layout. The pool's numbers (base line, relocate line, pool end) follow the system's one
// contiguous block exactly: the handle table from the start to the base line, the data area
// from the base line to the end, and the same capacity checks. Physically the table and the
// data area are two lazily reserved regions, so growing the table by BaseLineUp only raises
// the base line instead of copying the whole data area; an entry's body field holds the
// block's position in the data region (never 0, so 0 still means "free"). Blocks are placed
// on 8-byte boundaries there so that records can be read as plain structs; the pool's own
// accounting (relocate line, capacity) still counts the exact block sizes. The address of a
// block in the pool space, as the log shows it, is base line + position - kDataOrigin.

namespace {

constexpr uint32_t kDataOrigin = 16;

uint64_t aligned(uint64_t size) {
    return (size + 7) & ~uint64_t(7);
}

struct Pool {
    uint8_t* table = nullptr;  // handle entries, room for the largest possible table
    uint8_t* data = nullptr;   // data region; blocks start at kDataOrigin
    uint64_t table_reserved = 0;
    uint64_t data_reserved = 0;
    uint32_t pool_size = 0;
    uint32_t entries = 0;             // entries between the start and the base line
    uint32_t unrelocated = 0;         // entries handed out from the start (unrelocate line)
    uint32_t data_used = 0;           // bytes between the base line and the relocate line
    uint64_t physical_used = 0;       // bytes of the data region in use, with alignment
    uint64_t live_bytes = 0;          // sum of the sizes of blocks that have an entry
    std::set<uint32_t> free_entries;  // free entries below the unrelocate line
};

Pool pool;

HandleEntry* entry_at(uint32_t index) {
    return reinterpret_cast<HandleEntry*>(pool.table + uint64_t(index) * kHandleEntrySize);
}

uint32_t base_line() {
    return pool.entries * kHandleEntrySize;
}

uint32_t pool_address(uint32_t body) {
    return base_line() + (body - kDataOrigin);
}

// A lazily backed region. The pool fills it from the front like a stack, so it asks for huge
// pages where the system offers them on request: a loaded resource file then costs a few page
// faults instead of one per 4 KB, and at most one partly used huge page is ever extra.
void* reserve(uint64_t bytes) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
    madvise(p, bytes, MADV_HUGEPAGE);
#endif
    return p;
}

// Backs the pages of a range about to be written in one call instead of one fault per page.
// Only a speed-up: where the kernel cannot, the pages come on first touch as always.
void populate(uint8_t* start, uint64_t bytes) {
#ifdef MADV_POPULATE_WRITE
    constexpr uintptr_t kPage = 4096;
    uintptr_t from = reinterpret_cast<uintptr_t>(start) & ~(kPage - 1);
    uintptr_t to = reinterpret_cast<uintptr_t>(start) + bytes;
    if (bytes >= 16 * kPage) madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
    (void)start;
    (void)bytes;
#endif
}

// Takes a handle entry as PoolAlloc step 1 does; returns its index or -1.
int64_t take_entry() {
    if (pool.unrelocated < pool.entries) return pool.unrelocated++;
    if (!pool.free_entries.empty()) {
        uint32_t index = *pool.free_entries.begin();
        pool.free_entries.erase(pool.free_entries.begin());
        return index;
    }
    BaseLineUp(50);
    if (pool.unrelocated < pool.entries) return pool.unrelocated++;
    return -1;
}

// Compaction without gaps moves nothing; it only has to produce the scan's log lines.
// Finds, for each step, the chain of ever lower candidates in table order ("ch" lines) with a
// segment tree over the entries, so the cost follows the output, not the table size squared.
class MinTree {
public:
    explicit MinTree(uint32_t n) : size_(1) {
        while (size_ < n)
            size_ *= 2;
        tree_.assign(2 * size_, kNone);
    }
    void set(uint32_t i, uint32_t v) {
        i += size_;
        tree_[i] = v;
        for (i /= 2; i >= 1; i /= 2)
            tree_[i] = std::min(tree_[2 * i], tree_[2 * i + 1]);
    }
    uint32_t min() const { return tree_[1]; }
    // First index > after (or from 0 when after < 0) whose value is below limit; -1 if none.
    int64_t first_below(int64_t after, uint32_t limit) const {
        return descend(1, 0, size_, after, limit);
    }
    static constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

private:
    int64_t descend(uint32_t node, int64_t lo, int64_t hi, int64_t after, uint32_t limit) const {
        if (hi - 1 <= after || tree_[node] >= limit) return -1;
        if (hi - lo == 1) return lo;
        int64_t mid = (lo + hi) / 2;
        int64_t left = descend(2 * node, lo, mid, after, limit);
        return left >= 0 ? left : descend(2 * node + 1, mid, hi, after, limit);
    }
    uint32_t size_;
    std::vector<uint32_t> tree_;
};

}  // namespace

bool CreatePoolSized(uint32_t pool_bytes, uint32_t handle_entries) {
    DestroyPool();
    if (uint64_t(handle_entries) * kHandleEntrySize >= pool_bytes) return false;
    pool.table_reserved = (uint64_t(pool_bytes) / kHandleEntrySize + 1) * kHandleEntrySize;
    // Room for every block of the pool rounded up: at most 7 bytes more per entry.
    pool.data_reserved = uint64_t(pool_bytes) * 2 + kDataOrigin;
    pool.table = static_cast<uint8_t*>(reserve(pool.table_reserved));
    pool.data = static_cast<uint8_t*>(reserve(pool.data_reserved));
    if (!pool.table || !pool.data) {
        DestroyPool();
        return false;
    }
    pool.pool_size = pool_bytes;
    pool.entries = handle_entries;
    // The reserved pages read as zero: every entry starts cleared without being touched.
    LogLinef("\tmemory pool start %ld   end %ld  size %ld", 0L, long(pool_bytes), long(pool_bytes));
    LogLinef("\tbase line %ld", long(base_line()));
    LogLinef("\t\tunrelocate line  %ld", 0L);
    LogLinef("\t\trelocate line    %ld", long(base_line()));
    return true;
}

bool CreatePool() {
    if (CreatePoolSized(kPoolSize, kInitialHandleEntries)) return true;
    LogLine("ﾒﾓﾘﾌﾟｰﾙが作成できませんでした"_sj);
    return false;
}

void DestroyPool() {
    if (pool.table) munmap(pool.table, pool.table_reserved);
    if (pool.data) munmap(pool.data, pool.data_reserved);
    pool = Pool{};
}

bool PoolExists() {
    return pool.table != nullptr;
}

Handle PoolAlloc(uint32_t size) {
    if (!pool.table || size > 0xFFFF) return 0;
    int64_t index = take_entry();
    if (index < 0) return 0;
    if (uint64_t(base_line()) + pool.data_used + size > pool.pool_size) {
        MemoryCompaction();
        if (uint64_t(base_line()) + pool.data_used + size > pool.pool_size) {
            // The entry stays free; a later allocation finds it by the search from the start.
            if (uint32_t(index) < pool.unrelocated) pool.free_entries.insert(uint32_t(index));
            return 0;
        }
    }
    HandleEntry* e = entry_at(uint32_t(index));
    e->body = uint32_t(kDataOrigin + pool.physical_used);
    e->size = uint16_t(size);
    pool.physical_used += aligned(size);
    pool.data_used += size;
    pool.live_bytes += size;
    return Handle(index + 1);
}

Handle PoolAllocRun(const uint32_t* sizes, uint32_t count) {
    // One by one, each allocation takes the next never-used entry while the table has one
    // (free entries are taken only after that), and needs no compaction while the total fits.
    if (!pool.table || count == 0) return 0;
    if (uint64_t(pool.unrelocated) + count > pool.entries) return 0;
    uint64_t bytes = 0, physical = 0;
    for (uint32_t i = 0; i < count; ++i) {
        if (sizes[i] > 0xFFFF) return 0;
        bytes += sizes[i];
        physical += aligned(sizes[i]);
    }
    if (uint64_t(base_line()) + pool.data_used + bytes > pool.pool_size) return 0;
    Handle first = Handle(pool.unrelocated + 1);
    populate(pool.table + uint64_t(pool.unrelocated) * kHandleEntrySize,
             uint64_t(count) * kHandleEntrySize);
    populate(pool.data + kDataOrigin + pool.physical_used, physical);
    for (uint32_t i = 0; i < count; ++i) {
        HandleEntry* e = entry_at(pool.unrelocated++);
        e->body = uint32_t(kDataOrigin + pool.physical_used);
        e->size = uint16_t(sizes[i]);
        pool.physical_used += aligned(sizes[i]);
    }
    pool.data_used += uint32_t(bytes);
    pool.live_bytes += bytes;
    return first;
}

void MemoryCompaction() {
    LogLine("MemoryCompaction Call !!");
    if (!pool.table) return;
    bool gaps = pool.live_bytes != pool.data_used;
    if (!gaps && !LogLineActive()) return;  // nothing would move and nothing would be logged

    // Live entries in table order; the tree holds the data positions of unmoved blocks.
    MinTree tree(pool.unrelocated ? pool.unrelocated : 1);
    uint32_t live = 0;
    for (uint32_t i = 0; i < pool.unrelocated; ++i) {
        HandleEntry* e = entry_at(i);
        if (e->body) {
            tree.set(i, e->body);
            ++live;
        }
    }
    uint64_t packing = kDataOrigin;
    uint64_t packed_bytes = 0;
    for (uint32_t step = 0; step < live; ++step) {
        int64_t chosen = -1;
        if (LogLineActive()) {
            uint32_t lowest = MinTree::kNone;
            for (int64_t at = tree.first_below(-1, lowest); at >= 0;
                 at = tree.first_below(at, lowest)) {
                chosen = at;
                lowest = entry_at(uint32_t(at))->body;
                LogLinef("ch %d", int(pool_address(lowest)));
            }
        } else {
            chosen = tree.first_below(-1, tree.min() + 1);
        }
        if (chosen < 0) break;
        // Without gaps every block already lies packed. Moving it anyway would re-derive its
        // length from the entry's size field, which the resource layer sets to the record's
        // body size, one byte short of the block (the spare byte): the scan only logs.
        if (!gaps) {
            tree.set(uint32_t(chosen), MinTree::kNone);
            continue;
        }
        HandleEntry* e = entry_at(uint32_t(chosen));
        if (e->body != packing) std::memmove(pool.data + packing, pool.data + e->body, e->size);
        e->body = uint32_t(packing);
        packing += aligned(e->size);
        packed_bytes += e->size;
        tree.set(uint32_t(chosen), MinTree::kNone);
    }
    if (!gaps) return;
    pool.physical_used = packing - kDataOrigin;
    pool.data_used = uint32_t(packed_bytes);
}

void BaseLineUp(uint32_t count) {
    LogLinef("base line up %d", int(count));
    MemoryCompaction();
    if (!pool.table) return;
    uint64_t grow = uint64_t(count) * kHandleEntrySize;
    if (uint64_t(base_line()) + pool.data_used + grow > pool.pool_size) return;
    // Block positions are relative to the data area, so raising the base line moves them all.
    for (uint32_t i = pool.entries; i < pool.entries + count; ++i)
        std::memset(entry_at(i), 0, kHandleEntrySize);
    pool.entries += count;
}

PoolMarks GetPoolMarks() {
    return {0, pool.pool_size, base_line(), pool.unrelocated * kHandleEntrySize,
            base_line() + pool.data_used};
}

uint32_t HandleTableEntries() {
    return pool.entries;
}

HandleEntry* handle_entry(Handle handle) {
    if (handle == 0 || handle > pool.unrelocated || !pool.table) return nullptr;
    HandleEntry* e = entry_at(handle - 1);
    return e->body ? e : nullptr;
}

uint8_t* handle_body(Handle handle) {
    HandleEntry* e = handle_entry(handle);
    return e ? pool.data + e->body : nullptr;
}

uint8_t* pool_data_address(uint32_t body) {
    if (body < kDataOrigin || body >= kDataOrigin + pool.physical_used) return nullptr;
    return pool.data + body;
}

uint32_t handle_entry_address(Handle handle) {
    return handle_entry(handle) ? (handle - 1) * kHandleEntrySize : 0;
}

uint32_t handle_block_address(Handle handle) {
    HandleEntry* e = handle_entry(handle);
    return e ? pool_address(e->body) : 0;
}
