#include "window/window_start.h"

// The root window and the system GCs come with the window tree; until then the window system
// has nothing to bring up.
void StartWindowSystem() {}
