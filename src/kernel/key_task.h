// KeyTask: turns the host's pending key code into a key event for every task, once per cycle.
#pragma once

#include <cstdint>

#include "core/pool.h"

void KeyTask(Handle task);
// Takes the pending key into `buffer` (three bytes: the key or a Shift-JIS lead byte, the
// trail byte or 0, and 0); 1 when a key was taken, 0 when none is pending.
int ReadKey(char* buffer);
// Sends the key event (512) from the key task to `destination`; the event or empty.
Handle SendKeyEvent(uint32_t destination, const char* buffer, uint32_t modifiers);
// Waits ticks x 10 ms on the system clock without looking at input.
void Delay(uint32_t ticks);
