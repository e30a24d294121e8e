// Resource files: a resource saved as a binary file named by the resource's name. The file is
// a 32-byte header, the 232-byte attribute block, one 60-byte descriptor per item and one
// 28-byte handle entry plus body per active record, all in the machine's byte order.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"

// The 32-byte file header.
struct ResourceFileHeader {
    char tag[5];       // "NOMA"
    char version[4];   // "0.4"
    char revision[3];  // "17"
    uint8_t reserved0;
    char memory_type;  // 'M' when the writer was MOTOROLA, else 'I'
    uint8_t reserved1[2];
    uint32_t status;  // written as 0
    uint16_t size;    // written as 0
    uint8_t reserved2[10];
};
static_assert(sizeof(ResourceFileHeader) == 32);
static_assert(offsetof(ResourceFileHeader, memory_type) == 13);
static_assert(offsetof(ResourceFileHeader, status) == 16);
static_assert(offsetof(ResourceFileHeader, size) == 20);

constexpr uint32_t kResourceFileHeaderSize = 32;
constexpr uint32_t kResourceFileAttrSize = 232;
constexpr uint32_t kResourceFileItemSize = 60;
constexpr uint32_t kResourceFileEntrySize = 28;

// Stored bodies of records of a resource with items. Items start at body byte 1, so the last
// item ends on the spare byte just past the record size, which a stored body of record-size
// bytes cannot hold. Byte 0 is never used, so the file carries the spare byte there: the
// writer puts the spare byte into stored byte 0, the reader moves stored byte 0 back to the
// spare byte and clears byte 0. A file whose byte 0 is zero loads as if the spare byte was
// never kept.
inline void StoreSpareByte(uint8_t* stored, const uint8_t* body, uint32_t record_size) {
    stored[0] = body[record_size];
}
inline void RestoreSpareByte(uint8_t* body, uint32_t record_size) {
    body[record_size] = body[0];
    body[0] = 0;
}

// Writes `resource` to the file named by its name: into a temporary file in the same folder,
// flushed to the disk and renamed over the old file, so an interrupted save keeps the old
// file. Returns 0, 1 when refused before opening (unregistered task under TASK, empty
// resource, file not creatable: message 72 or 6), 8 on a write error (message 8; the
// temporary file is removed and the old file is left as it was).
int SaveResource(Handle task, Handle resource);

// Reads `file_name` into the resource (file_name, data_name), creating it when missing, and
// returns it; empty on failure (messages 72, 6, 9). Reloading replaces the resource's items
// and records. A file that ends inside its records keeps the records read completely.
Handle OpenResource(Handle task, const char* file_name, const char* data_name);
