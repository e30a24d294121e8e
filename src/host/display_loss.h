// The end of the program when the display goes away (the X server ends, or the window is
// killed from outside). Xlib then ends the process itself; before it does, the system is let
// shut down in order so that its log is complete.
#pragma once

// Installs the handler when the window runs on an X display (a no-op on other drivers).
void HostWatchDisplayLoss();
