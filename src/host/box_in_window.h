// A host message box drawn inside the game's own window, for desktops where the platform's box
// cannot be shown (no dialog helper, no usable font on the display): the player still sees the
// message and answers it with a click or a key, and the picture under it comes back after.
#pragma once

// Draws `text` (Shift-JIS, lines split at line feeds) in a box in the middle of the screen and
// waits for a click or a key. False when there is no window to draw in.
bool HostBoxInWindow(const char* text);
// True when boxes are to be drawn in the window even where the platform could show them
// (NOMA_BOX_IN_WINDOW set in the environment; for such desktops and for tests).
bool HostBoxesInWindowForced();
