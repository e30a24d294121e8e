// The small host services the rest of the system calls instead of the platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Sleeps 10 ms on the clock, then returns the mouse button state. The polling loops of drags
// and dialogs call it; scripted input due by then is applied first.
uint16_t HostSleep();

// Writes the last-write time of `path` as "%d/%d/%d %d:%d:%d" (year, month, day, hour, minute,
// second; local time) into `text`. A file that cannot be opened shows a box with the path and
// leaves `text` unchanged. Returns 0 either way.
int HostFileTime(const char* path, char* text);

// Adds the signed `amount` to each of red, green and blue of a 0x00BBGGRR colour, each kept
// within 0..255.
uint32_t HostBrighten(uint32_t colour, int16_t amount);
// The byte-wise average of two colours.
uint32_t HostMix(uint32_t colour1, uint32_t colour2);

// Copies `length` bytes; the areas may overlap.
void HostMoveMemory(const void* source, void* target, size_t length);

// Skips one leading separator (space ; , = + - / *), copies the characters up to the end or
// the next separator into `token` (NUL-terminated) and returns where copying stopped.
const char* HostNextToken(const char* text, char* token);
inline char* HostNextToken(char* text, char* token) {
    return const_cast<char*>(HostNextToken(static_cast<const char*>(text), token));
}

// Sets the main window's title (Shift-JIS). Any thread may call it; the main thread applies it.
void HostSetTitle(const char* text);
// The title last set, as UTF-8, when it changed since the last call (main thread).
bool HostTakeTitle(std::string* utf8);
