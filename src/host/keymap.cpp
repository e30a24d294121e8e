#include "host/keymap.h"

namespace {

struct KeyPair {
    SDL_Keycode key;
    uint16_t vk;
};

// Keys whose virtual-key code does not follow from their character.
constexpr KeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},
    {SDLK_TAB, VK_TAB},
    {SDLK_CLEAR, VK_CLEAR},
    {SDLK_RETURN, VK_RETURN},
    {SDLK_RETURN2, VK_RETURN},
    {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_PAUSE, 0x13},
    {SDLK_CAPSLOCK, 0x14},
    {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_SPACE, 0x20},
    {SDLK_PAGEUP, VK_PRIOR},
    {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},
    {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},
    {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},
    {SDLK_DOWN, VK_DOWN},
    {SDLK_SELECT, 0x29},
    {SDLK_EXECUTE, 0x2B},
    {SDLK_PRINTSCREEN, 0x2C},
    {SDLK_INSERT, VK_INSERT},
    {SDLK_DELETE, VK_DELETE},
    {SDLK_HELP, VK_HELP},
    {SDLK_LGUI, 0x5B},
    {SDLK_RGUI, 0x5C},
    {SDLK_APPLICATION, 0x5D},
    {SDLK_SLEEP, 0x5F},
    {SDLK_KP_0, 0x60},
    {SDLK_KP_MULTIPLY, 0x6A},
    {SDLK_KP_PLUS, 0x6B},
    {SDLK_KP_MINUS, 0x6D},
    {SDLK_KP_PERIOD, 0x6E},
    {SDLK_KP_DECIMAL, 0x6E},
    {SDLK_KP_DIVIDE, 0x6F},
    {SDLK_NUMLOCKCLEAR, 0x90},
    {SDLK_SCROLLLOCK, 0x91},
    {SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, VK_SHIFT},
    {SDLK_LCTRL, VK_CONTROL},
    {SDLK_RCTRL, VK_CONTROL},
    {SDLK_LALT, VK_MENU},
    {SDLK_RALT, VK_MENU},
    {SDLK_SEMICOLON, 0xBA},
    {SDLK_COLON, 0xBA},
    {SDLK_EQUALS, 0xBB},
    {SDLK_PLUS, 0xBB},
    {SDLK_COMMA, 0xBC},
    {SDLK_MINUS, 0xBD},
    {SDLK_PERIOD, 0xBE},
    {SDLK_SLASH, 0xBF},
    {SDLK_BACKQUOTE, 0xC0},
    {SDLK_AT, 0xC0},
    {SDLK_LEFTBRACKET, VK_OEM_4},
    {SDLK_BACKSLASH, VK_OEM_5},
    {SDLK_RIGHTBRACKET, VK_OEM_6},
    {SDLK_CARET, 0xDE},
    {SDLK_QUOTE, 0xDE},
};

// The keypad's digit keys without Num Lock: the keys printed under the digits.
constexpr KeyPair kKeypadNavigation[] = {
    {SDLK_KP_0, VK_INSERT}, {SDLK_KP_1, VK_END},         {SDLK_KP_2, VK_DOWN},
    {SDLK_KP_3, VK_NEXT},   {SDLK_KP_4, VK_LEFT},        {SDLK_KP_5, VK_CLEAR},
    {SDLK_KP_6, VK_RIGHT},  {SDLK_KP_7, VK_HOME},        {SDLK_KP_8, VK_UP},
    {SDLK_KP_9, VK_PRIOR},  {SDLK_KP_PERIOD, VK_DELETE}, {SDLK_KP_DECIMAL, VK_DELETE},
};

// Keys of other layouts that SDL names only by their position.
struct ScancodePair {
    SDL_Scancode scancode;
    uint16_t vk;
};
constexpr ScancodePair kPositionKeys[] = {
    {SDL_SCANCODE_INTERNATIONAL1, 0xE2},      // ろ
    {SDL_SCANCODE_INTERNATIONAL2, 0x15},      // かな
    {SDL_SCANCODE_INTERNATIONAL3, VK_OEM_5},  // ￥
    {SDL_SCANCODE_INTERNATIONAL4, 0x1C},      // 変換
    {SDL_SCANCODE_INTERNATIONAL5, 0x1D},      // 無変換
    {SDL_SCANCODE_LANG1, 0x15},
    {SDL_SCANCODE_LANG2, 0x19},
    {SDL_SCANCODE_NONUSBACKSLASH, 0xE2},
    {SDL_SCANCODE_GRAVE, 0xC0},
    {SDL_SCANCODE_SEMICOLON, 0xBA},
    {SDL_SCANCODE_APOSTROPHE, 0xDE},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5},
    {SDL_SCANCODE_NONUSHASH, VK_OEM_5},
};

}  // namespace

uint16_t VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode, uint16_t mods) {
    // Shift turns the digits of a locked keypad into navigation keys for as long as it is held.
    if (!(mods & KMOD_NUM) || (mods & KMOD_SHIFT))
        for (const KeyPair& p : kKeypadNavigation)
            if (p.key == key) return p.vk;
    if (key >= 'a' && key <= 'z') return uint16_t(key - 'a' + 'A');
    if (key >= '0' && key <= '9') return uint16_t(key);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return uint16_t(0x61 + (key - SDLK_KP_1));
    if (key >= SDLK_F1 && key <= SDLK_F12) return uint16_t(0x70 + (key - SDLK_F1));
    if (key >= SDLK_F13 && key <= SDLK_F24) return uint16_t(0x7C + (key - SDLK_F13));
    for (const KeyPair& p : kNamedKeys)
        if (p.key == key) return p.vk;
    for (const ScancodePair& p : kPositionKeys)
        if (p.scancode == scancode) return p.vk;
    // Letters and digits of other layouts keep their position on the keyboard.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return uint16_t('A' + (scancode - SDL_SCANCODE_A));
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return uint16_t('1' + (scancode - SDL_SCANCODE_1));
    if (scancode == SDL_SCANCODE_0) return '0';
    return 0;
}

int KeyDownCode(uint16_t vk) {
    switch (vk) {
        case 0:
        case VK_CONTROL:
        case VK_PROCESSKEY:
            return kNoKeyCode;
        case VK_HOME:
            return 2;
        case VK_UP:
            return 5;
        case VK_DOWN:
            return 6;
        case VK_LEFT:
            return 7;
        case VK_RIGHT:
            return 8;
        case VK_DELETE:
            return 12;
        case VK_HELP:
            return 16;
        default:
            return CharacterCode(uint8_t(vk));
    }
}

int CharacterCode(uint8_t byte) {
    switch (byte) {
        case VK_CLEAR:
            return 1;
        case VK_BACK:
            return 11;
        case VK_TAB:
            return 9;
        case VK_RETURN:
            return 13;
        case VK_ESCAPE:
            return 15;
        case VK_PRINT:
            return 14;
        default:
            return byte;
    }
}

int WheelCode(int notches) {
    if (notches == 1) return 32;
    if (notches > 1) return 33;
    if (notches == -1) return 34;
    if (notches < -1) return 35;
    return kNoKeyCode;
}

int ControlCharacter(uint16_t vk, bool control) {
    switch (vk) {
        case VK_BACK:
            return control ? 0x7F : 0x08;
        case VK_TAB:
            return control ? kNoKeyCode : 0x09;
        case VK_RETURN:
            return control ? 0x0A : 0x0D;
        case VK_ESCAPE:
            return 0x1B;
        default:
            break;
    }
    if (!control) return kNoKeyCode;
    if (vk >= 'A' && vk <= 'Z') return vk - 'A' + 1;
    if (vk == VK_OEM_4) return 0x1B;
    if (vk == VK_OEM_5) return 0x1C;
    if (vk == VK_OEM_6) return 0x1D;
    return kNoKeyCode;
}
