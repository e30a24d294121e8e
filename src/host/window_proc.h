// The main window's input handling: what the window procedure stores for each SDL input
// event (pending key code, character messages, wheel codes, mouse buttons, cursor, modifier
// keys and focus). Runs on the main thread.
#pragma once

#include <SDL2/SDL_events.h>

#include "host/present_layout.h"

enum class WindowAction {
    None,
    // The player's keys, handled by the host and never seen by the system:
    ToggleFullscreen,  // Alt+Enter or F11
    Screenshot,        // F12
    ToggleMute,        // Ctrl+M
};

// Handles one input event of the main window. `layout` maps window points to the surface;
// `output_scale` is output pixels per window point (high-density displays).
WindowAction HostWindowInput(const SDL_Event& event, const PresentLayout& layout,
                             float output_scale);

// Forgets focus and held keys (start of a run and tests).
void HostResetWindowInput();
