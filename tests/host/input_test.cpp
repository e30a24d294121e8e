// The key codes the window procedure stores and how the pending key code hands them to the key
// reader, fed with the SDL events the message loop receives.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
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

    WindowAction Send(const SDL_Event& e) { return HostWindowInput(e, layout_, 1.0f); }
    WindowAction Key(SDL_Keycode key, uint16_t mods = KMOD_NONE, bool down = true) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.sym = key;
        e.key.keysym.mod = mods;
        return Send(e);
    }
    void Text(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
        Send(e);
    }
    void Button(uint8_t button, bool down, int x, int y) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = button, e.button.x = x, e.button.y = y;
        Send(e);
    }
    void Wheel(int y, bool flipped = false) {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.y = y;
        e.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
        Send(e);
    }
    void Focus(bool gained) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST;
        Send(e);
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

TEST(KeyCodeTable, KeysCharactersWheelAndControlCharacters) {
    // Key downs: the special keys store their own codes, Control and the input method's
    // process key nothing, any other key its virtual key (Page Up shares a wheel notch's code).
    const int none = kNoKeyCode;
    const std::pair<int, int> downs[] = {
        {VK_HOME, 2},  {VK_LEFT, 7},   {VK_RIGHT, 8},      {VK_DELETE, 12},       {VK_HELP, 16},
        {VK_CLEAR, 1}, {VK_BACK, 11},  {VK_TAB, 9},        {VK_ESCAPE, 15},       {VK_PRINT, 14},
        {'A', 'A'},    {VK_SHIFT, 16}, {VK_CONTROL, none}, {VK_PROCESSKEY, none}, {0x21, 0x21},
    };
    for (auto [vk, code] : downs)
        EXPECT_EQ(KeyDownCode(uint16_t(vk)), code) << vk;
    const std::pair<int, int> chars[] = {{0x0C, 1},  {0x08, 11}, {0x09, 9},  {0x0D, 13},
                                         {0x1B, 15}, {'*', 14},  {'a', 'a'}, {0x82, 0x82}};
    for (auto [byte, code] : chars)
        EXPECT_EQ(CharacterCode(uint8_t(byte)), code) << byte;
    const std::pair<int, int> wheel[] = {{1, 32}, {3, 33}, {-1, 34}, {-4, 35}, {0, none}};
    for (auto [notches, code] : wheel)
        EXPECT_EQ(WheelCode(notches), code) << notches;
    EXPECT_EQ(ControlCharacter(VK_RETURN, true), 0x0A);
    EXPECT_EQ(ControlCharacter(VK_BACK, false), 0x08);
    EXPECT_EQ(ControlCharacter('C', false), kNoKeyCode);
    EXPECT_EQ(ControlCharacter(VK_OEM_4, true), 0x1B);
    EXPECT_EQ(ControlCharacter(VK_HOME, true), kNoKeyCode);
}

TEST(KeyCodeTable, SdlKeysGetTheirVirtualKeys) {
    const struct {
        SDL_Keycode key;
        SDL_Scancode scancode;
        int vk;
    } cases[] = {
        {SDLK_7, SDL_SCANCODE_7, '7'},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, VK_RETURN},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, 0x60},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, 0x69},
        {SDLK_F1, SDL_SCANCODE_F1, 0x70},
        {SDLK_F24, SDL_SCANCODE_F24, 0x87},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, VK_CONTROL},
        // A key of another layout whose keycode is not Latin keeps the code of its position.
        {SDL_Keycode(0x0444), SDL_SCANCODE_A, 'A'},
        {SDLK_UNKNOWN, SDL_SCANCODE_INTERNATIONAL3, VK_OEM_5},
        {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VirtualKeyFromSdl(c.key, c.scancode), c.vk) << c.key;
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
