// The memory pool: every resource, record and item descriptor is a block reached through a
// handle, the 1-based index of a 28-byte handle entry. Only the entry knows where its block
// lies, so blocks may move without invalidating anybody's handle.
#pragma once

#include <cstddef>
#include <cstdint>

using Handle = uint32_t;  // 0 is the empty handle

constexpr uint32_t kPoolSize = 1344000000u;
constexpr uint32_t kInitialHandleEntries = 480000u;
constexpr uint32_t kHandleEntrySize = 28u;

// The handle entry. The pool owns `body` and `size`; the resource layer uses the other fields
// as the record header. Resource files store it unchanged, so the layout is fixed.
struct HandleEntry {
    uint32_t body;   // block position in the data area; 0 = the entry is free
    int32_t number;  // record number, -1 unnumbered
    uint16_t flags;  // 0x02 inactive
    uint16_t size;   // block size in bytes
    Handle owner;    // resource of the record
    Handle next;     // next record of the same resource
    Handle prev;     // previous record
    char mark[3];
    uint8_t pad;
};
static_assert(sizeof(HandleEntry) == 28);
static_assert(offsetof(HandleEntry, number) == 4);
static_assert(offsetof(HandleEntry, flags) == 8);
static_assert(offsetof(HandleEntry, size) == 10);
static_assert(offsetof(HandleEntry, owner) == 12);
static_assert(offsetof(HandleEntry, next) == 16);
static_assert(offsetof(HandleEntry, prev) == 20);
static_assert(offsetof(HandleEntry, mark) == 24);

// The marks of the pool as addresses of the 32-bit pool space (offsets from the pool start).
struct PoolMarks {
    uint32_t start;
    uint32_t end;
    uint32_t base_line;        // end of the handle table, start of the data area
    uint32_t unrelocate_line;  // next handle entry never handed out
    uint32_t relocate_line;    // first free byte of the data area
};

// Creates the production pool; logs and returns false when it cannot (the program then ends
// with status 1, in order, from its start-up).
bool CreatePool();
// Creates a pool of another size (tests); returns false instead of ending the program.
bool CreatePoolSized(uint32_t pool_bytes, uint32_t handle_entries);
// Releases the pool (tests and the end of the program).
void DestroyPool();
bool PoolExists();

Handle PoolAlloc(uint32_t size);
// Allocates `count` blocks of the given sizes in one step, exactly as `count` calls of
// PoolAlloc would when none of them needs the handle table grown or the pool compacted: the
// handles are consecutive from the returned first one. Otherwise (or for count 0) nothing is
// allocated and 0 is returned; the caller then allocates block by block.
Handle PoolAllocRun(const uint32_t* sizes, uint32_t count);
void MemoryCompaction();
void BaseLineUp(uint32_t count);

PoolMarks GetPoolMarks();
// Number of handle entries the table holds now (the base line in entries).
uint32_t HandleTableEntries();

// The entry of a live handle (one that has a block), or nullptr for the empty handle, a
// handle outside the table or a free entry. Never crashes on a bad value.
HandleEntry* handle_entry(Handle handle);
// The block of a live handle, or nullptr. Valid until the next pool allocation.
uint8_t* handle_body(Handle handle);
// The block address of a data position taken from an entry (nullptr for 0 or out of range).
uint8_t* pool_data_address(uint32_t body);
// Positions in the 32-bit pool space (pool start = 0) of a live handle's entry and block, as
// log lines show addresses; 0 for a handle that is not live.
uint32_t handle_entry_address(Handle handle);
uint32_t handle_block_address(Handle handle);
