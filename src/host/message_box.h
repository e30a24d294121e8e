// Host message boxes, used only where the window system cannot be relied on.
#pragma once

enum class BoxIcon { Exclamation, Stop };

// Shows `text` (Shift-JIS) in a modal box titled "TUVO" with the exclamation icon; headless
// runs write it to stderr instead.
void HostMessageBox(const char* text);
// The same with a chosen icon.
void HostShowBox(const char* text, BoxIcon icon);
// Headless runs never block on a box.
void HostSetHeadless(bool headless);
bool HostIsHeadless();
