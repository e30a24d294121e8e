// Line files: plain text files read one numbered line at a time (SYSTEM.MSG above all).
#pragma once

// Longest line; a longer one is read as several lines of this many bytes.
constexpr int kLineFileMaxLine = 1023;

// Copies line `n` (from 1) of `file` without its newline into `out` (kLineFileMaxLine + 1
// bytes) and returns `out`; nullptr for n == 0, a missing file or a file that ends first.
char* read_line_file(const char* file, char* out, int n);
// Copies `src` up to its first newline or its end into `dst` and terminates it.
void line_copy(const char* src, char* dst);
