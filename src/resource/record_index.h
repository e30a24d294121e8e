// Lookup indexes of the resource layer. The record chains and the resource chain stay the
// truth; these tables only answer the same questions (first match in chain order) in constant
// average time: which handles are resources, resources by (name, data name), records by number
// and inactive records by size for reuse. Every answer taken from a table is checked against
// the record headers before it is used; a table found out of step is built again from the
// chain, so a stale table costs time, never a wrong answer.
#pragma once

#include <cstdint>

#include "core/pool.h"

struct ResourceAttr;

// Upper bound on the length of any chain; walks stop there, so a looped chain cannot hang.
uint32_t chain_walk_limit();

// Equality of a fixed-size, NUL-terminated name field with `text` (never reads past the field).
bool field_equals(const char* field, size_t field_size, const char* text);

// Resources.
void index_add_resource(Handle resource);  // a new resource, already last in the chain
bool index_is_resource(Handle handle);
Handle index_find_resource(const char* name, const char* data_name);
void index_resource_renamed(Handle resource);

// Records. `resource` is the owner the record is linked into.
bool index_record_linked(Handle record);  // in its owner's chain as far as the index knows
void index_record_appended(Handle resource, Handle record);  // linked at the end
// `count` active records with consecutive handles from `first` and distinct numbers, just
// linked in that order into the resource's chain, which held nothing before.
void index_run_appended(Handle resource, Handle first, uint32_t count);
void index_record_deactivated(Handle record);
void index_record_detach(Handle record);  // before a relink: leaves the reuse lists
void index_record_relinked(Handle resource, Handle record);  // after a relink in the chain
void index_record_unlinked(Handle record);
Handle index_search_number(Handle resource, int32_t number);  // search_record's answer
Handle index_reusable(Handle resource, uint32_t size);        // first inactive record of the size
void index_rebuild(Handle resource);

void index_reset();
