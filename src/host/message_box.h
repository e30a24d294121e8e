// Host message boxes, used only where the window system cannot be relied on.
#pragma once

// Shows `text` (Shift-JIS) in a box titled "TUVO"; headless runs write it to stderr.
void HostMessageBox(const char* text);
// Headless runs never block on a box.
void HostSetHeadless(bool headless);
bool HostIsHeadless();
