// The window system's part of the start-up, run by SystemInit after the first event exists.
#pragma once

// Clears the window manager's globals, sets its spacing values, creates the root window
// "SystemRootWindow" and the system GCs.
void StartWindowSystem();
