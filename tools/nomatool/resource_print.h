// Helpers shared by the nomatool commands that read resource files: loading a file into a
// fresh system, finding a record by position and printing item values readably.
#pragma once

#include <cstdint>
#include <string>

#include "core/pool.h"

// Creates the pool and the system resources, then loads the resource file at the UTF-8 path
// `path`. Returns the resource or empty (with a message on stderr).
Handle LoadResourceForTool(const char* path);
// The `index`-th (from 1) active record in chain order, or empty.
Handle ActiveRecordAt(Handle resource, long index);

// Bytes an item of `type` takes in a body when defined with the stored descriptor `size`.
uint32_t ItemBodySize(int type, uint32_t size);
// The value of an item of `type` and body size `size` at `address`: strings as UTF-8 (quoted
// with escapes when `quote`), numbers in decimal, long arrays as "[a, b]", blocks as hex.
std::string FormatItemValue(int type, const uint8_t* address, uint32_t size, bool quote);
// Text of at most `limit` bytes (up to its NUL) as quoted UTF-8 with control bytes escaped.
std::string QuotedText(const char* text, size_t limit);

// Prints "name=value" for every item of the record's resource, in definition order.
void PrintRecordItems(Handle record);
