// Item data definition files: a text file that declares a resource (its names, its items with
// types, sizes and limits) and optionally records of it, in blocks of item values:
//
//     ResourceName data\items.res
//     DataName ITEMS
//     Item hp ITEMlimited 999 0
//     StartData
//     hp 120
//     EndData
//
// Line 0 is never taken as a definition, block or value line.
#pragma once

#include "core/pool.h"

// The resource the file `file_name` defines. When a resource file of that resource name exists
// it is loaded instead and the file's definitions are not used. The resource is not saved.
// Empty when the file cannot be read, lacks ResourceName or DataName, or the resource cannot
// be made.
Handle CreateItemData(Handle task, const char* file_name);

// Reads the record blocks of the text object `text` into `resource`, each new record moved
// directly before `before` when that is given. Returns the resource, or empty when a record
// cannot be created or a value line names an unknown item (the records made so far stay).
Handle ApendItemData(Handle resource, Handle before, Handle text);

// Reads the record blocks of the file `file_name` into `resource`, in front of its existing
// active records. Returns the resource, or empty.
Handle LoadItemData(Handle task, Handle resource, const char* file_name);

// Where the block reader finds things, for tools that point an author at a line of the file
// (nomatool check). Lines are counted from 0, as the reader counts them; a member left empty
// is not called.
struct ItemDataWatcher {
    void* context = nullptr;
    // A block's record was made at line `line`.
    void (*record)(void* context, Handle record, int line) = nullptr;
    // The value of item `name` of `record` starts at line `line`.
    void (*value)(void* context, Handle record, const char* name, int line) = nullptr;
    // A value line of `record` at `line` names no item of the resource: the rest of the text
    // is not read.
    void (*unknown_item)(void* context, Handle record, const char* name, int line) = nullptr;
};
// Installs `watcher` (kept by pointer; nullptr: none) for every later block read.
void SetItemDataWatcher(const ItemDataWatcher* watcher);
