// The key codes the window procedure stores. SDL keys are first named by the Windows
// virtual-key code the system was written against; the stored code follows from that code
// (key down), from the character (character message) or from the wheel's notches.
#pragma once

#include <SDL2/SDL_keycode.h>

#include <cstdint>

// Windows virtual-key codes the host refers to by name.
enum VirtualKey : uint16_t {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_CLEAR = 0x0C,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_ESCAPE = 0x1B,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_PRINT = 0x2A,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_HELP = 0x2F,
    VK_F10 = 0x79,
    VK_F11 = 0x7A,
    VK_F12 = 0x7B,
    VK_OEM_4 = 0xDB,  // [
    VK_OEM_5 = 0xDC,  // backslash
    VK_OEM_6 = 0xDD,  // ]
    VK_PROCESSKEY = 0xE5,
};

// Code returned when nothing is to be stored.
constexpr int kNoKeyCode = -1;

// The virtual-key code of an SDL key with the modifier state `mods` (SDL_Keymod bits); 0 when
// the key has none. The keypad's digit keys are digits only with Num Lock on and no Shift;
// otherwise they are the navigation keys printed on them (8 Up, 7 Home, 5 Clear, . Delete ...).
uint16_t VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode, uint16_t mods);

// Pending key code stored for a key down of virtual key `vk`, or kNoKeyCode (Control and the
// input-method process key store nothing).
int KeyDownCode(uint16_t vk);

// Pending key code stored for a character message of `byte`.
int CharacterCode(uint8_t byte);

// Pending key code for a wheel turn of `notches` (positive: away from the user), or kNoKeyCode
// for less than one notch.
int WheelCode(int notches);

// The control character that a key down of `vk` produces as a character message of its own
// (Backspace, Tab, Return, Escape, Control with a letter or a bracket), or kNoKeyCode. Printable
// characters come from text input instead.
int ControlCharacter(uint16_t vk, bool control);
