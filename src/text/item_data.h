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
