// The screen drawing context of the main window. SystemInit opens it; closing it ends the
// host's message loop (the program ends when the loop next turns).
#pragma once

// Takes the main window's surface as the screen the system draws on.
void HostOpenScreen();
// Lets the screen go and asks the message loop to end.
void HostCloseScreen();
