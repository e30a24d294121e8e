// Line files: plain text files read one numbered line at a time (SYSTEM.MSG above all), and
// the small whole-file helpers that window objects use to size and load text files.
#pragma once

// Longest line; a longer one is read as several lines of this many bytes.
constexpr int kLineFileMaxLine = 1023;

// Copies line `n` (from 1) of `file` without its newline into `out` (kLineFileMaxLine + 1
// bytes) and returns `out`; nullptr for n <= 0 or a missing file, and nullptr with a log line
// when the file ends first. The last line is returned even without a final newline.
char* read_line_file(const char* file, char* out, int n);
// Copies `src` up to its first newline or its end into `dst` and terminates it.
void line_copy(const char* src, char* dst);

// Bytes in the file (read as binary), or 0 when it cannot be opened.
long FileSize(const char* file);
// Copies every byte of the file (read as binary) into `buffer`, followed by the byte 0xFF; no
// NUL is added. Returns 1, or 0 when the file cannot be opened. With `buffer_size`, at most
// buffer_size - 1 bytes are copied; without, `buffer` must hold FileSize(file) + 1 bytes and
// no more bytes are copied than the file held when it was opened.
int ReadWholeFile(const char* file, char* buffer, long buffer_size);
int ReadWholeFile(const char* file, char* buffer);
// `list` is a series of entries each ended by ","; copies the first non-empty entry that `key`
// begins with into `out` (which holds the longest entry) and returns 1; 0 when none matches.
// Text after the last comma is not an entry.
int FindListEntry(const char* key, const char* list, char* out);
