// The key codes the window procedure stores and how the pending key code hands them to the key
// reader, fed with the SDL events the message loop receives.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "host/input.h"
#include "host/keymap.h"
#include "host/present_layout.h"
#include "host/window_proc.h"

namespace {

class WindowInputTest : public ::testing::Test {
protected:
    void SetUp() override {
        HostResetInput();
        HostResetWindowInput();
        layout_ = ComputePresentLayout(800, 600, 800, 600, true);
    }

    WindowAction Key(SDL_Keycode key, uint16_t mods = KMOD_NONE, bool down = true,
                     SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.sym = key;
        e.key.keysym.scancode = scancode;
        e.key.keysym.mod = mods;
        return HostWindowInput(e, layout_, 1.0f);
    }
    void Text(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
        HostWindowInput(e, layout_, 1.0f);
    }
    void Button(uint8_t button, bool down, int x, int y) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = button;
        e.button.x = x;
        e.button.y = y;
        HostWindowInput(e, layout_, 1.0f);
    }
    void Wheel(int y, bool flipped = false) {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.y = y;
        e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
        HostWindowInput(e, layout_, 1.0f);
    }
    void Focus(bool gained) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
        HostWindowInput(e, layout_, 1.0f);
    }
    // Every code the key reader takes, one read after the other, until none is pending.
    std::vector<int> Drain() {
        std::vector<int> codes;
        while (uint16_t c = HostReadKey())
            codes.push_back(c);
        return codes;
    }

    PresentLayout layout_{};
};

TEST(KeyCodeTable, KeyDownsStoreTheirCodes) {
    EXPECT_EQ(KeyDownCode(VK_HOME), 2);
    EXPECT_EQ(KeyDownCode(VK_UP), 5);
    EXPECT_EQ(KeyDownCode(VK_DOWN), 6);
    EXPECT_EQ(KeyDownCode(VK_LEFT), 7);
    EXPECT_EQ(KeyDownCode(VK_RIGHT), 8);
    EXPECT_EQ(KeyDownCode(VK_DELETE), 12);
    EXPECT_EQ(KeyDownCode(VK_HELP), 16);
    EXPECT_EQ(KeyDownCode(VK_CLEAR), 1);
    EXPECT_EQ(KeyDownCode(VK_BACK), 11);
    EXPECT_EQ(KeyDownCode(VK_TAB), 9);
    EXPECT_EQ(KeyDownCode(VK_RETURN), 13);
    EXPECT_EQ(KeyDownCode(VK_ESCAPE), 15);
    EXPECT_EQ(KeyDownCode(VK_PRINT), 14);
    // Control and the input method's process key store nothing; other keys their own code.
    EXPECT_EQ(KeyDownCode(VK_CONTROL), kNoKeyCode);
    EXPECT_EQ(KeyDownCode(VK_PROCESSKEY), kNoKeyCode);
    EXPECT_EQ(KeyDownCode('A'), 'A');
    EXPECT_EQ(KeyDownCode(VK_SHIFT), 0x10);
    EXPECT_EQ(KeyDownCode(0x21), 0x21);  // Page Up, the same code as a wheel notch
}

TEST(KeyCodeTable, CharactersAndWheel) {
    EXPECT_EQ(CharacterCode(0x0C), 1);
    EXPECT_EQ(CharacterCode(0x08), 11);
    EXPECT_EQ(CharacterCode(0x09), 9);
    EXPECT_EQ(CharacterCode(0x0D), 13);
    EXPECT_EQ(CharacterCode(0x1B), 15);
    EXPECT_EQ(CharacterCode('*'), 14);
    EXPECT_EQ(CharacterCode('a'), 'a');
    EXPECT_EQ(CharacterCode(0x82), 0x82);
    EXPECT_EQ(WheelCode(1), 32);
    EXPECT_EQ(WheelCode(3), 33);
    EXPECT_EQ(WheelCode(-1), 34);
    EXPECT_EQ(WheelCode(-4), 35);
    EXPECT_EQ(WheelCode(0), kNoKeyCode);
}

TEST(KeyCodeTable, SdlKeysGetTheirVirtualKeys) {
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_a, SDL_SCANCODE_A), 'A');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_7, SDL_SCANCODE_7), '7');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_HOME, SDL_SCANCODE_HOME), VK_HOME);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_0, SDL_SCANCODE_KP_0), 0x60);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_9, SDL_SCANCODE_KP_9), 0x69);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F1, SDL_SCANCODE_F1), 0x70);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F24, SDL_SCANCODE_F24), 0x87);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RCTRL, SDL_SCANCODE_RCTRL), VK_CONTROL);
    // A key of another layout whose keycode is not Latin keeps the code of its position.
    EXPECT_EQ(VirtualKeyFromSdl(SDL_Keycode(0x0444), SDL_SCANCODE_A), 'A');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_UNKNOWN, SDL_SCANCODE_INTERNATIONAL3), VK_OEM_5);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN), 0);
}

TEST(KeyCodeTable, ControlCharactersFollowingKeyDowns) {
    EXPECT_EQ(ControlCharacter(VK_RETURN, false), 0x0D);
    EXPECT_EQ(ControlCharacter(VK_RETURN, true), 0x0A);
    EXPECT_EQ(ControlCharacter(VK_BACK, false), 0x08);
    EXPECT_EQ(ControlCharacter(VK_ESCAPE, false), 0x1B);
    EXPECT_EQ(ControlCharacter('C', true), 0x03);
    EXPECT_EQ(ControlCharacter('C', false), kNoKeyCode);
    EXPECT_EQ(ControlCharacter(VK_OEM_4, true), 0x1B);
    EXPECT_EQ(ControlCharacter(VK_HOME, true), kNoKeyCode);
}

TEST_F(WindowInputTest, KeyDownsAndTheirCharacters) {
    Key(SDLK_HOME);
    EXPECT_EQ(Drain(), std::vector<int>{2});
    // A printable key stores its virtual key, and the character message that follows
    // replaces it while it is still pending.
    Key(SDLK_a);
    EXPECT_EQ(HostReadKey(), 'A');
    Text("a");
    EXPECT_EQ(Drain(), std::vector<int>{'a'});
    Key(SDLK_a);
    Text("a");
    EXPECT_EQ(Drain(), std::vector<int>{'a'});
    Key(SDLK_RETURN);
    EXPECT_EQ(Drain(), std::vector<int>{13});
    Key(SDLK_c, KMOD_LCTRL);
    EXPECT_EQ(Drain(), std::vector<int>{3});
    Key(SDLK_LCTRL, KMOD_LCTRL);
    EXPECT_EQ(Drain(), std::vector<int>{});
    Text("*");
    EXPECT_EQ(Drain(), std::vector<int>{14});
    // Two keys before the reader looks: only the last one is read.
    Key(SDLK_UP);
    Key(SDLK_DOWN);
    EXPECT_EQ(Drain(), std::vector<int>{6});
}

TEST_F(WindowInputTest, SystemKeysNeverReachTheSystem) {
    EXPECT_EQ(Key(SDLK_F11), WindowAction::ToggleFullscreen);
    EXPECT_EQ(Key(SDLK_RETURN, KMOD_LALT), WindowAction::ToggleFullscreen);
    EXPECT_EQ(Key(SDLK_x, KMOD_LALT), WindowAction::None);
    EXPECT_EQ(Key(SDLK_LALT, KMOD_LALT), WindowAction::None);
    EXPECT_EQ(Key(SDLK_F10), WindowAction::None);
    EXPECT_EQ(Drain(), std::vector<int>{});
    EXPECT_EQ(Key(SDLK_F9), WindowAction::None);
    EXPECT_EQ(Drain(), std::vector<int>{0x78});
}

TEST_F(WindowInputTest, ShiftJisTextArrivesAsLeadAndTrailByte) {
    Text("あ");  // 0x82 0xA0
    EXPECT_EQ(HostReadKey(), 0x82);
    EXPECT_EQ(HostReadKey(), 0xA0);
    EXPECT_EQ(HostReadKey(), 0);
    // Characters after the first wait until the reader has taken the one before.
    Text("日本");  // 0x93 0xFA, 0x96 0x7B
    HostDeliverQueuedCharacters();
    EXPECT_EQ(HostReadKey(), 0x93);
    HostDeliverQueuedCharacters();
    EXPECT_EQ(HostReadKey(), 0xFA);
    HostDeliverQueuedCharacters();
    EXPECT_EQ(Drain(), (std::vector<int>{0x96, 0x7B}));
    // A half-width katakana is one byte.
    Text("ｱ");
    EXPECT_EQ(Drain(), std::vector<int>{0xB1});
}

TEST_F(WindowInputTest, PendingCodeAndLeadBytes) {
    // A lead byte taken alone leaves the trail byte to come as a key of its own.
    HostStoreChar(0x82);
    EXPECT_EQ(HostReadKey(), 0x82);
    EXPECT_EQ(HostReadKey(), 0);
    HostStoreChar(0xA0);
    EXPECT_EQ(Drain(), std::vector<int>{0xA0});
    // A key down between lead and trail replaces the lead; the stray trail stands alone.
    HostStoreChar(0x82);
    HostStoreKey(5);
    HostStoreChar(0xA0);
    EXPECT_EQ(Drain(), std::vector<int>{0xA0});
    // A lead byte from a key down does not wait for a trail byte.
    HostStoreKey(0xE2);
    HostStoreChar(0x41);
    EXPECT_EQ(Drain(), std::vector<int>{0x41});
}

TEST_F(WindowInputTest, MouseButtonsWheelAndCursor) {
    layout_ = ComputePresentLayout(800, 600, 1600, 1200, true);
    Button(SDL_BUTTON_LEFT, true, 201, 101);
    EXPECT_EQ(HostMouseButtons(), MOUSE_LEFT);
    EXPECT_EQ(HostCursorX(), 100);
    EXPECT_EQ(HostCursorY(), 50);
    Button(SDL_BUTTON_LEFT, false, 201, 101);
    EXPECT_EQ(HostMouseButtons(), MOUSE_NONE);
    Button(SDL_BUTTON_RIGHT, true, 0, 0);
    EXPECT_EQ(HostMouseButtons(), MOUSE_RIGHT);
    Button(SDL_BUTTON_MIDDLE, false, 0, 0);
    EXPECT_EQ(HostMouseButtons(), MOUSE_RIGHT);
    Button(SDL_BUTTON_RIGHT, false, 0, 0);
    EXPECT_EQ(HostMouseButtons(), MOUSE_NONE);
    // The click that brings the window to the front only activates it.
    Focus(false);
    Button(SDL_BUTTON_LEFT, true, 10, 10);
    EXPECT_EQ(HostMouseButtons(), MOUSE_NONE);
    Focus(true);
    Wheel(1);
    EXPECT_EQ(HostReadKey(), 32);
    Wheel(2);
    EXPECT_EQ(HostReadKey(), 33);
    Wheel(1, true);
    EXPECT_EQ(HostReadKey(), 34);
    Wheel(0);
    EXPECT_EQ(HostReadKey(), 0);
}

TEST_F(WindowInputTest, ModifiersOnlyWhileFocused) {
    Key(SDLK_LSHIFT, KMOD_LSHIFT);
    EXPECT_EQ(HostModifiers(), MOD_SHIFT);
    EXPECT_EQ(HostReadKey(), 0x10);  // Shift's own key down is stored like any key
    Key(SDLK_INSERT, KMOD_LSHIFT | KMOD_RCTRL);
    EXPECT_EQ(HostModifiers(), MOD_SHIFT | MOD_CONTROL | MOD_INSERT);
    Focus(false);
    EXPECT_EQ(HostModifiers(), 0u);
    Focus(true);
    Key(SDLK_LSHIFT, KMOD_NONE, false);
    EXPECT_EQ(HostModifiers(), 0u);
    Key(SDLK_INSERT, KMOD_NONE);
    Key(SDLK_INSERT, KMOD_NONE, false);
    EXPECT_EQ(HostModifiers(), 0u);
}

}  // namespace
