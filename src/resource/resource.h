// Resources, records and items: the data model of the whole runtime. A resource is a named
// table of records; a record is a fixed-size body whose layout is given by the resource's
// items. Everything is addressed by pool handles (kernel/pool.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/pool.h"
#include "core/system.h"

constexpr uint16_t RECORD_INACTIVE = 0x02;

// Item types.
constexpr int ITEMstring = 3;
constexpr int ITEMlong = 6;
constexpr int ITEMlongArray = 9;
constexpr uint8_t ITEM_LIMITED = 0x02;

// The attribute block of a resource (232 bytes, stored unchanged in resource files).
struct ResourceAttr {
    char name[42];
    char data_name[22];
    char user[22];
    uint8_t reserved0[2];
    ClockRecord created;
    ClockRecord stamp2;
    ClockRecord stamp3;
    uint32_t reserved1;
    uint8_t reserved2[4];
    uint32_t owner_task;
    uint8_t reserved3[8];
    uint32_t active_bytes;
    uint32_t record_size;
    uint16_t record_count;
    uint16_t active_count;
    Handle first_record;
    Handle last_record;
    Handle next_resource;
    Handle prev_resource;
    uint16_t group;
    char tag[12];
    uint8_t reserved4[2];
    uint32_t tag_number;
    char mark[7];
    uint8_t pad0;
    uint16_t item_count;
    uint8_t pad1[2];
    Handle first_item;
    Handle last_item;
    uint8_t reserved5[32];
};
static_assert(sizeof(ResourceAttr) == 232);
static_assert(offsetof(ResourceAttr, data_name) == 42);
static_assert(offsetof(ResourceAttr, user) == 64);
static_assert(offsetof(ResourceAttr, created) == 88);
static_assert(offsetof(ResourceAttr, owner_task) == 120);
static_assert(offsetof(ResourceAttr, active_bytes) == 132);
static_assert(offsetof(ResourceAttr, record_count) == 140);
static_assert(offsetof(ResourceAttr, first_record) == 144);
static_assert(offsetof(ResourceAttr, next_resource) == 152);
static_assert(offsetof(ResourceAttr, group) == 160);
static_assert(offsetof(ResourceAttr, tag) == 162);
static_assert(offsetof(ResourceAttr, tag_number) == 176);
static_assert(offsetof(ResourceAttr, mark) == 180);
static_assert(offsetof(ResourceAttr, item_count) == 188);
static_assert(offsetof(ResourceAttr, first_item) == 192);
static_assert(offsetof(ResourceAttr, reserved5) == 200);

// An item descriptor: the 60-byte body of a record of the system resource "Item".
struct ItemDesc {
    char name[21];
    uint8_t type;
    uint8_t flags;  // ITEM_LIMITED
    uint8_t pad;
    uint32_t size;
    int32_t upper;
    int32_t lower;
    uint8_t reserved[20];
    Handle next;
};
static_assert(sizeof(ItemDesc) == 60);
static_assert(offsetof(ItemDesc, type) == 21);
static_assert(offsetof(ItemDesc, size) == 24);
static_assert(offsetof(ItemDesc, upper) == 28);
static_assert(offsetof(ItemDesc, lower) == 32);
static_assert(offsetof(ItemDesc, next) == 56);

// The system-wide resource chain (creation order) and its counters, zero at initialisation.
// Only the resource count is shown (in the creation log line); the others are diagnostics.
struct ResourceChain {
    Handle first;
    Handle last;
    uint32_t resource_count;
    uint32_t record_count;
    uint32_t record_bytes;
    uint32_t deactivated_bytes;
};
extern ResourceChain g_resource_chain;

// The current group number: the group "NOMA", number 0, from initialisation on.
extern uint16_t g_current_group;

// The body of a record of "Resource.res":"Group" (the record number is the group number).
struct GroupRecord {
    char name[22];  // group name, NUL-terminated
    uint8_t pad[2];
    int32_t number;       // the group number again, as stored
    ClockRecord created;  // local time of creation
};
static_assert(sizeof(GroupRecord) == 36);

// The system resources, kept at initialisation.
struct SystemResources {
    Handle group, window, object, graphic_vram, code, event, task, font, menu, gc, text, item;
};
extern SystemResources g_resources;

// Creates "Resource.res":"Group" with the group "NOMA" (number 0) and the system resources
// "Window" ... "Item" in their order. Returns false when one could not be created.
bool CreateSystemResources();
// Forgets every resource and index (tests, after a new pool).
void ResetResources();

// Typed views of handles; nullptr for empty or dead handles.
ResourceAttr* resource_attr(Handle resource);
ItemDesc* item_desc(Handle item);
uint8_t* record_body(Handle record);

// Items of a record body are not aligned: read and write numbers through these.
inline int32_t LoadLong(const void* address) {
    int32_t v;
    std::memcpy(&v, address, 4);
    return v;
}
inline void StoreLong(void* address, int32_t value) {
    std::memcpy(address, &value, 4);
}

// Resources.
Handle CreateResource(Handle task, const char* name, const char* data_name);
Handle FindResource(const char* name, const char* data_name);
int CheckRecordChain(Handle resource);

// Records.
Handle CreateRecord(Handle resource, int32_t number, uint32_t size);
// A record for CreateRecordRun: its number, the size asked for and, when not null, the bytes
// its body starts with (as many as the record gets; the spare byte is zeroed). `fill`, when
// given, is then called on each new body (with its record size) while it is still in cache.
struct RecordSeed {
    int32_t number;
    uint32_t size;
    const uint8_t* body;
};
// The resource reader's bulk path: creates records in a resource whose record chain is empty,
// exactly as CreateRecord(resource, number, size) called for each seed in turn would (same
// handles, chain, counts, index and log lines), with the blocks allocated in one step and the
// index filled in one pass. It takes the seeds up to, not including, the first one that
// CreateRecord would not create as a new record at once: a number that repeats an earlier
// seed's, a number refused under RESOUCE_TEST, a size no block can hold. Returns how many seeds
// it took (their handles in `out`); 0 when the chain is not empty or the pool would have to
// grow its table or compact. The caller creates the seeds not taken with CreateRecord.
uint32_t CreateRecordRun(Handle resource, const RecordSeed* seeds, uint32_t count, Handle* out,
                         void (*fill)(uint8_t* body, uint32_t size) = nullptr);
Handle search_record(Handle resource, int32_t number);
Handle SelectRecord(Handle task, Handle resource, int32_t number);
int DeactivateRecord(Handle task, Handle resource, Handle record);
int RemoveRecord(Handle task, Handle resource, Handle record);
int MoveRecordBefore(Handle reference, Handle record);
Handle FirstRecord(Handle resource);
Handle NextRecord(Handle record);
int RecordCount(Handle resource);
int RecordIndex(Handle resource, Handle record);
// The resource reader replaced a resource's records: drop them from the lookup indexes. The
// indexes are built again from whatever the record chain holds now (nothing when the reader has
// just emptied it), and the resource's names are taken again, since the reader also replaces
// them. Code that rewrites record headers (number, flags, links) or resource names by hand
// calls this afterwards.
void ForgetRecordIndex(Handle resource);

// Items.
Handle CreateItem(Handle resource, const char* name, int type, uint32_t size);
Handle FindItem(Handle resource, const char* name);
Handle FindItemExact(Handle resource, const char* name);
int ItemType(Handle resource, const char* name);
int SetLimit(Handle resource, const char* name, int32_t upper, int32_t lower);
int32_t GetUpperLimit(Handle record, const char* name);
int item_offsetsize(Handle resource, const char* name, int type);
int dimension(const char* name);
char* get_adr(Handle record, const char* name, int type);
char* get_adr2(Handle record, const char* path, int type);
int32_t SetNum(Handle record, const char* path, int32_t value);
int SetStr(Handle record, const char* path, const char* text);
int32_t GetNum(Handle record, const char* path);
char* GetStr(Handle record, const char* path);
Handle SearchRecordNum(Handle resource, const char* item, int mode, int32_t value);
Handle SearchRecordStr(Handle resource, const char* item, const char* text);
int CopyRecord(Handle source, Handle destination);
int DumpRecords(Handle resource);
