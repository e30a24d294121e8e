// Input state shared between the host's main thread (writer) and the program thread (reader):
// the queue of key codes, the mouse buttons, the cursor and the modifier keys. The queue has a
// lock of its own; the others are each one atomic value, so a reader never sees half of a
// change (x of one motion with y of another, or modifier bits without their focus).
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

// Writer side (window procedure, scripted input). Codes queue up and the reader takes them
// one per read, in order.
// A key down or wheel code.
void HostStoreKey(uint16_t code);
// A character message (the code already mapped by CharacterCode). It takes the place of the
// key down code stored just before it while that is still unread (the two are one keystroke);
// otherwise it queues as a code of its own.
void HostStoreChar(uint16_t code);
void HostSetMouseButtons(uint16_t state);
void HostSetCursor(int x, int y);  // client coordinates of the main window
void HostSetModifierState(uint32_t bits, bool focused);

// Reader side.
uint16_t HostReadKey();  // the oldest key code not read yet, taken; 0 when none
bool HostKeyPending();   // a code waits to be read
// The button state; a press that has come and gone since the last poll still counts as down.
uint16_t HostMouseButtons();
// The same for the button poll, which takes the press: the next poll sees the state as it is.
uint16_t HostPollMouseButtons();
// The cursor in client coordinates. HostCursor reads x and y together, so both come from the
// same motion; code that needs both takes them from one call.
struct HostPoint {
    int x, y;
};
HostPoint HostCursor();
int HostCursorX();
int HostCursorY();
uint32_t HostModifiers();  // 0 when the main window is not focused
void HostClearButtons();

// Forgets every input (start of a run and tests).
void HostResetInput();
