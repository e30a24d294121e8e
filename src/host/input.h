// Input state shared between the host's main thread (writer) and the program thread (reader):
// the pending key code, the mouse buttons, the cursor and the modifier keys. Each is one
// atomic value; there are no locks.
#pragma once

#include <cstdint>

// Mouse button state values.
constexpr uint16_t MOUSE_NONE = 0;
constexpr uint16_t MOUSE_LEFT = 1;
constexpr uint16_t MOUSE_RIGHT = 2;

// Modifier bits of HostModifiers.
constexpr uint32_t MOD_SHIFT = 0x01;
constexpr uint32_t MOD_CONTROL = 0x02;
constexpr uint32_t MOD_ALT = 0x04;
constexpr uint32_t MOD_INSERT = 0x1000;

// Writer side (window procedure, scripted input).
// A key down or wheel code: replaces any code not yet taken.
void HostStoreKey(uint16_t code);
// A character message (the code already mapped by CharacterCode). It replaces any code not yet
// taken, except that the trail byte of a Shift-JIS character joins the lead byte still pending
// from the message before, so the key reader takes both, one after the other.
void HostStoreChar(uint16_t code);
void HostSetMouseButtons(uint16_t state);
void HostSetCursor(int x, int y);  // client coordinates of the main window
void HostSetModifierState(uint32_t bits, bool focused);

// Reader side.
uint16_t HostReadKey();  // the pending key code, cleared; 0 when none
bool HostKeyPending();   // a code waits to be read
uint16_t HostMouseButtons();
int HostCursorX();
int HostCursorY();
uint32_t HostModifiers();  // 0 when the main window is not focused
void HostClearButtons();

// Forgets every input (start of a run and tests).
void HostResetInput();
