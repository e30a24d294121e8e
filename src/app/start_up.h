// The start-up on the main window's first paint: the system's initialisation, the host's own
// log lines, the application task "Ilvane", the debug monitor's banner and checks, and last the
// started flag that lets the program thread run its cycles.
#pragma once

void AppStartUp();
