// Helpers shared by the item functions: quiet item lookups and bounded body addresses.
#pragma once

#include <cstdint>

#include "core/pool.h"

struct ResourceAttr;
struct ItemDesc;

// The descriptor of the item named exactly `name` (the part before a "[" when `element` is
// set) and its offset counted from body byte 1; nullptr when the list holds no such item.
ItemDesc* find_item(const ResourceAttr* attr, const char* name, bool element, uint32_t* offset);
// The first "[" of `text` that is not the second byte of a double-byte character, or nullptr.
const char* find_bracket(const char* text);
// `bytes` bytes at `offset` (from byte 1) of the record's body, or nullptr when they do not lie
// inside the body and its spare byte.
char* body_address(Handle record, uint32_t offset, uint32_t bytes);
// The resource a record belongs to, or nullptr.
ResourceAttr* owner_attr(Handle record);
// Bytes readable as text from `address` to the end of its record's body.
uint32_t body_room(Handle record, const char* address);
