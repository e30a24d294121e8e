// The screen: the main window's drawing surface and the screen size the whole system uses.
#pragma once

#include <cstdint>

// Width and height used by the whole system. The host sets them before start-up (from the
// display or the NOMA.ini keys SCREEN_SIZEX / SCREEN_SIZEY); SystemInit may set them again.
extern int16_t g_screen_width;
extern int16_t g_screen_height;

// Takes the main window's surface as the screen the system draws on (created at the screen
// size, cleared to black, the first time).
void HostOpenScreen();
// Lets the screen go and ends the host's message loop when it next turns; the program ends.
void HostCloseScreen();
// True once HostCloseScreen has been called.
bool HostScreenClosed();
// A close of the main window is waiting for the program thread's next cycle end. Loops that
// hold a cycle (the system dialogs) end when it is set, so that the close can go on.
void HostSetCloseWaiting(bool waiting);
bool HostCloseWaiting();
// Puts the screen back as a fresh process has it: the default size (800 x 600), no surface,
// no close. A system stopped inside the process and started again then starts on the screen
// the host chooses for it, not on the size the last run's NOMA.ini set.
void HostResetScreen();
