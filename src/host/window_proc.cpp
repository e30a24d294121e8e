#include "host/window_proc.h"

#include <string>

#include "host/input.h"
#include "host/keymap.h"
#include "host/sjis.h"

namespace {

// Where the cursor is said to be once the pointer has left the window: outside every window
// of the system, so hovering ends.
constexpr int kCursorGone = -32768;

bool focused = true;
bool insert_held = false;
bool button_held = false;  // a button went down in the window and has not come up yet
SDL_Keymod last_mods = KMOD_NONE;

uint32_t modifier_bits(SDL_Keymod mods) {
    uint32_t bits = 0;
    if (mods & KMOD_SHIFT) bits |= MOD_SHIFT;
    if (mods & KMOD_CTRL) bits |= MOD_CONTROL;
    if (mods & KMOD_ALT) bits |= MOD_ALT;
    if (insert_held) bits |= MOD_INSERT;
    return bits;
}

void publish_modifiers() {
    HostSetModifierState(modifier_bits(last_mods), focused);
}

void store_character(const std::string& bytes) {
    for (char c : bytes)
        HostStoreChar(uint16_t(CharacterCode(uint8_t(c))));
}

// Every character of a text input, one character message each (a Shift-JIS character as its
// lead and trail byte); the key queue hands them on one per read.
void text_input(const char* utf8) {
    store_character(Utf8ToSjis(utf8));
}

WindowAction key_down(const SDL_KeyboardEvent& key) {
    last_mods = SDL_Keymod(key.keysym.mod);
    uint16_t vk = VirtualKeyFromSdl(key.keysym.sym, key.keysym.scancode, key.keysym.mod);
    if (vk == VK_INSERT) insert_held = true;
    publish_modifiers();
    bool alt = (key.keysym.mod & KMOD_ALT) != 0;
    if (vk == VK_F11 || (alt && vk == VK_RETURN)) return WindowAction::ToggleFullscreen;
    if (vk == VK_F12) return key.repeat ? WindowAction::None : WindowAction::Screenshot;
    bool control = (key.keysym.mod & KMOD_CTRL) != 0;
    if (control && !alt && vk == 'M')
        return key.repeat ? WindowAction::None : WindowAction::ToggleMute;
    // Alt combinations, Alt itself and F10 are system keys: the window procedure never sees
    // them.
    if (alt || vk == VK_MENU || vk == VK_F10) return WindowAction::None;
    int code = KeyDownCode(vk);
    if (code != kNoKeyCode) HostStoreKey(uint16_t(code));
    int character = ControlCharacter(vk, (key.keysym.mod & KMOD_CTRL) != 0);
    if (character != kNoKeyCode) HostStoreChar(uint16_t(CharacterCode(uint8_t(character))));
    return WindowAction::None;
}

void key_up(const SDL_KeyboardEvent& key) {
    last_mods = SDL_Keymod(key.keysym.mod);
    if (VirtualKeyFromSdl(key.keysym.sym, key.keysym.scancode, key.keysym.mod) == VK_INSERT)
        insert_held = false;
    publish_modifiers();
}

void move_cursor(int x, int y, const PresentLayout& layout, float output_scale) {
    int sx, sy;
    WindowToSurface(layout, int(x * output_scale), int(y * output_scale), &sx, &sy);
    HostSetCursor(sx, sy);
}

}  // namespace

WindowAction HostWindowInput(const SDL_Event& event, const PresentLayout& layout,
                             float output_scale) {
    switch (event.type) {
        case SDL_KEYDOWN:
            return key_down(event.key);
        case SDL_KEYUP:
            key_up(event.key);
            break;
        case SDL_TEXTINPUT:
            text_input(event.text.text);
            break;
        case SDL_MOUSEWHEEL: {
            int notches = event.wheel.y;
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
            int code = WheelCode(notches);
            if (code != kNoKeyCode) HostStoreKey(uint16_t(code));
            break;
        }
        case SDL_MOUSEMOTION:
            move_cursor(event.motion.x, event.motion.y, layout, output_scale);
            break;
        case SDL_MOUSEBUTTONDOWN:
            move_cursor(event.button.x, event.button.y, layout, output_scale);
            // A click that brings the window to the front only activates it.
            if (!focused) break;
            if (event.button.button == SDL_BUTTON_LEFT) HostSetMouseButtons(MOUSE_LEFT);
            if (event.button.button == SDL_BUTTON_RIGHT) HostSetMouseButtons(MOUSE_RIGHT);
            if (event.button.button == SDL_BUTTON_LEFT || event.button.button == SDL_BUTTON_RIGHT)
                button_held = true;
            break;
        case SDL_MOUSEBUTTONUP:
            move_cursor(event.button.x, event.button.y, layout, output_scale);
            if (event.button.button == SDL_BUTTON_LEFT || event.button.button == SDL_BUTTON_RIGHT) {
                HostSetMouseButtons(MOUSE_NONE);
                button_held = false;
            }
            break;
        case SDL_WINDOWEVENT:
            // With a button held the pointer stays captured and motion goes on outside the
            // window (a drag); otherwise leaving takes the cursor out of every window.
            if (event.window.event == SDL_WINDOWEVENT_LEAVE && !button_held) {
                HostSetCursor(kCursorGone, kCursorGone);
            } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
                focused = true;
                publish_modifiers();
            } else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                focused = false;
                insert_held = false;
                last_mods = KMOD_NONE;
                publish_modifiers();
            }
            break;
        default:
            break;
    }
    return WindowAction::None;
}

void HostResetWindowInput() {
    focused = true;
    insert_held = false;
    button_held = false;
    last_mods = KMOD_NONE;
}
