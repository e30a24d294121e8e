// Input state shared between the host's main thread (writer) and the program thread (reader):
// the pending key code and the mouse button state, single 16-bit values.
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
void HostStoreKey(uint16_t code);  // replaces any code not yet taken
void HostSetMouseButtons(uint16_t state);
void HostSetCursor(int x, int y);  // client coordinates of the main window
void HostSetModifierState(uint32_t bits, bool focused);

// Reader side.
uint16_t HostReadKey();  // the pending key code, cleared; 0 when none
uint16_t HostMouseButtons();
int HostCursorX();
int HostCursorY();
uint32_t HostModifiers();  // 0 when the main window is not focused
void HostClearButtons();
