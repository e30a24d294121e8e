// Game controllers through SDL's game-controller interface, as a player without a mouse and a
// keyboard uses them: A is Return and a left click at the pointer, B is Escape, the d-pad the
// arrow keys (repeating while held), the left stick moves the pointer, Start is the right
// button (held while Start is held: on empty screen it opens the system menu, and the item
// under the pointer is chosen when Start comes up). Controllers may come and go at any time.
// Main thread only.
#pragma once

#include <SDL2/SDL_events.h>

#include <cstdint>

#include "host/present_layout.h"

// Handles a controller event (device added or removed, button, axis); false for any other
// event.
bool HostControllerEvent(const SDL_Event& event);

// Moves the pointer by the left stick and repeats held d-pad keys for the time since the last
// call (`now` in milliseconds); `layout` and `output_scale` place the system pointer in the
// window where the stick put the cursor. Returns the milliseconds until it wants to be called
// again; 0 when nothing is held.
uint32_t HostControllerTick(uint32_t now, const PresentLayout& layout, float output_scale);

// Controllers open now.
int HostControllerCount();

// Closes every controller (the end of the program and tests).
void HostCloseControllers();
