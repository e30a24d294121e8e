// Compute: the small language in which scenario text changes and tests the items of a record.
// Arithmetic is on signed 32-bit numbers, strictly left to right with no precedence; names are
// item names or name paths of the record; brackets are replaced by their values before
// anything else is read.
//
// The text is worked on in a private copy: blanks and tabs removed, each innermost bracket
// replaced by its value in decimal. The in-place entries then write that rewritten text back
// into the caller's buffer, cut to fit it; nothing is ever written past the buffer. The copy
// entries leave the caller's text alone.
#pragma once

#include <cstddef>

#include "core/pool.h"

// Runs the statements of `text` (separated by ";") on `record`. Returns the position where
// evaluation stopped in the rewritten text, plus 1 (never 0), or 0 when a statement failed;
// the statements before the failing one have taken effect.
int ComputeRecord(Handle record, char* text, size_t capacity);
// The same with the buffer taken as strlen(text) + 1 bytes.
int ComputeRecord(Handle record, char* text);
int ComputeRecordCopy(Handle record, const char* text);

// Evaluates the condition `text` on `record`: 1 (true) or 0 (false).
int CompareRecord(Handle record, char* text, size_t capacity);
int CompareRecord(Handle record, char* text);
int CompareRecordCopy(Handle record, const char* text);
