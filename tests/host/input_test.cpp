// The key codes the window procedure stores and how the pending key code hands them to the key
// reader, fed with the SDL events the message loop receives.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <initializer_list>
#include <thread>
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
        {VK_HOME, 2}, {VK_DELETE, 12}, {VK_HELP, 16},      {VK_CLEAR, 1},         {VK_PRINT, 14},
        {'A', 'A'},   {VK_SHIFT, 16},  {VK_CONTROL, none}, {VK_PROCESSKEY, none}, {0x21, 0x21},
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
    const uint16_t num = KMOD_NUM;
    const struct {
        SDL_Keycode key;
        SDL_Scancode scancode;
        uint16_t mods;
        int vk;
    } cases[] = {
        {SDLK_7, SDL_SCANCODE_7, 0, '7'},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, num, 0x60},
        {SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, num, 0x6E},
        // Without Num Lock the keypad navigates (more of it through the window input below).
        {SDLK_KP_1, SDL_SCANCODE_KP_1, 0, VK_END},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, 0, VK_PRIOR},
        {SDLK_KP_3, SDL_SCANCODE_KP_3, 0, VK_NEXT},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, num, VK_RETURN},
        {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, 0, 0x6B},
        {SDLK_F24, SDL_SCANCODE_F24, 0, 0x87},
        {SDLK_RCTRL, SDL_SCANCODE_RCTRL, 0, VK_CONTROL},
        // A key of another layout whose keycode is not Latin keeps the code of its position.
        {SDL_Keycode(0x0444), SDL_SCANCODE_A, 0, 'A'},
        {SDLK_UNKNOWN, SDL_SCANCODE_INTERNATIONAL3, 0, VK_OEM_5},
        {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VirtualKeyFromSdl(c.key, c.scancode, c.mods), c.vk)
            << c.key << " mods " << c.mods;
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
}

TEST_F(WindowInputTest, KeysTypedFasterThanTheReaderReadsAllArriveInOrder) {
    // A burst of keystrokes between two reads: each printable key is one code (its
    // character), each special key its own code.
    std::vector<int> expected;
    for (int i = 0; i < 49; ++i) {
        char letter[2] = {char('a' + i % 26), 0};
        Key(SDLK_a + i % 26);
        Text(letter);
        expected.push_back(letter[0]);
        if (i % 10 == 9) {
            Key(SDLK_LEFT);
            expected.push_back(7);
        }
    }
    Key(SDLK_RETURN);
    expected.push_back(13);
    EXPECT_EQ(Drain(), expected);
    // The queue has room for a long burst; beyond it keys are dropped, not the oldest.
    for (int i = 0; i < 1000; ++i)
        Key(SDLK_HOME);
    Key(SDLK_DELETE);
    std::vector<int> codes = Drain();
    EXPECT_GE(codes.size(), 200u);
    EXPECT_EQ(codes.back(), 2) << "the last key did not fit";
}

TEST_F(WindowInputTest, TheKeypadWithoutNumLockNavigates) {
    // Up, Home, Delete, Clear (5), Left, Down from the keypad without Num Lock.
    for (SDL_Keycode key : {SDLK_KP_8, SDLK_KP_7, SDLK_KP_PERIOD, SDLK_KP_5, SDLK_KP_4, SDLK_KP_2})
        Key(key);
    EXPECT_EQ(Drain(), (std::vector<int>{5, 2, 12, 1, 7, 6}));
    // With Num Lock the digit comes as its character; Shift turns the keypad back.
    Key(SDLK_KP_8, KMOD_NUM);
    Text("8");
    Key(SDLK_KP_8, KMOD_NUM | KMOD_LSHIFT);
    EXPECT_EQ(Drain(), (std::vector<int>{'8', 5}));
    // Keypad 0 without Num Lock is Insert, held as long as the key is.
    Key(SDLK_KP_0);
    EXPECT_EQ(HostModifiers(), MOD_INSERT);
    Key(SDLK_KP_0, KMOD_NONE, false);
    EXPECT_EQ(HostModifiers(), 0u);
}

TEST_F(WindowInputTest, SystemKeysNeverReachTheSystem) {
    EXPECT_EQ(Key(SDLK_F11), WindowAction::ToggleFullscreen);
    EXPECT_EQ(Key(SDLK_RETURN, KMOD_LALT), WindowAction::ToggleFullscreen);
    EXPECT_EQ(Key(SDLK_x, KMOD_LALT), WindowAction::None);
    // The player's keys: F12 a screenshot, Ctrl+M mute (which would otherwise be a Return
    // character); a held key's repeats do it once.
    EXPECT_EQ(Key(SDLK_F12), WindowAction::Screenshot);
    EXPECT_EQ(Key(SDLK_m, KMOD_RCTRL), WindowAction::ToggleMute);
    SDL_Event held{};
    held.type = SDL_KEYDOWN;
    held.key.keysym.sym = SDLK_F12;
    held.key.repeat = 1;
    EXPECT_EQ(Send(held), WindowAction::None);
    EXPECT_EQ(Drain(), std::vector<int>{});
    EXPECT_EQ(Key(SDLK_F9), WindowAction::None);
    EXPECT_EQ(Drain(), std::vector<int>{0x78});
    // Ctrl+J is still the system's.
    EXPECT_EQ(Key(SDLK_j, KMOD_LCTRL), WindowAction::None);
    EXPECT_EQ(Drain(), std::vector<int>{10});
}

TEST_F(WindowInputTest, ShiftJisTextArrivesAsLeadAndTrailByte) {
    Text("あ");  // 0x82 0xA0
    EXPECT_EQ(HostReadKey(), 0x82);
    EXPECT_EQ(HostReadKey(), 0xA0);
    EXPECT_EQ(HostReadKey(), 0);
    // Every character of a longer text waits its turn.
    Text("日本");  // 0x93 0xFA, 0x96 0x7B
    Text("ｱ");     // a half-width katakana is one byte
    EXPECT_EQ(Drain(), (std::vector<int>{0x93, 0xFA, 0x96, 0x7B, 0xB1}));
}

TEST_F(WindowInputTest, ACharacterTakesThePlaceOnlyOfItsOwnUnreadKeyDown) {
    // A lead byte taken alone leaves the trail byte to come as a key of its own.
    HostStoreChar(0x82);
    EXPECT_EQ(HostReadKey(), 0x82);
    EXPECT_EQ(HostReadKey(), 0);
    HostStoreChar(0xA0);
    EXPECT_EQ(Drain(), std::vector<int>{0xA0});
    // A character never takes the place of a character before it.
    HostStoreChar(0x82);
    HostStoreChar(0xA0);
    HostStoreChar('x');
    EXPECT_EQ(Drain(), (std::vector<int>{0x82, 0xA0, 'x'}));
    // A key down read before its character: both reach the reader.
    HostStoreKey('A');
    EXPECT_EQ(HostReadKey(), 'A');
    HostStoreChar('a');
    HostStoreKey(0xE2);
    HostStoreChar(0x41);
    EXPECT_EQ(Drain(), (std::vector<int>{'a', 0x41}));
}

TEST_F(WindowInputTest, MouseButtonsWheelAndCursor) {
    layout_ = ComputePresentLayout(800, 600, 1600, 1200, true);
    Button(SDL_BUTTON_LEFT, true, 201, 101);
    EXPECT_EQ(HostPollMouseButtons(), MOUSE_LEFT);
    EXPECT_EQ(HostCursorX(), 100);
    EXPECT_EQ(HostCursorY(), 50);
    Button(SDL_BUTTON_LEFT, false, 201, 101);
    EXPECT_EQ(HostPollMouseButtons(), MOUSE_NONE);
    Button(SDL_BUTTON_RIGHT, true, 0, 0);
    Button(SDL_BUTTON_MIDDLE, false, 0, 0);
    EXPECT_EQ(HostPollMouseButtons(), MOUSE_RIGHT) << "the middle button is no button here";
    Button(SDL_BUTTON_RIGHT, false, 0, 0);
    // The click that brings the window to the front only activates it.
    Focus(false);
    Button(SDL_BUTTON_LEFT, true, 10, 10);
    EXPECT_EQ(HostPollMouseButtons(), MOUSE_NONE);
    Focus(true);
    Button(SDL_BUTTON_LEFT, false, 10, 10);
    Wheel(1);
    Wheel(2);
    Wheel(1, true);
    Wheel(0);
    Wheel(-3);
    EXPECT_EQ(Drain(), (std::vector<int>{32, 33, 34, 35}));
}

TEST_F(WindowInputTest, AClickBetweenTwoPollsIsSeenByTheNextPoll) {
    // Press and release before the poll looks: the poll sees the press once, then the release.
    Button(SDL_BUTTON_LEFT, true, 5, 5);
    Button(SDL_BUTTON_LEFT, false, 5, 5);
    EXPECT_EQ(HostMouseButtons(), MOUSE_LEFT) << "looking does not take the press";
    EXPECT_EQ(HostMouseButtons(), MOUSE_LEFT);
    EXPECT_EQ(HostPollMouseButtons(), MOUSE_LEFT);
    EXPECT_EQ(HostPollMouseButtons(), MOUSE_NONE);
    EXPECT_EQ(HostMouseButtons(), MOUSE_NONE);
    // Two quick clicks, left then right: the poll sees the later one.
    Button(SDL_BUTTON_LEFT, true, 5, 5);
    Button(SDL_BUTTON_LEFT, false, 5, 5);
    Button(SDL_BUTTON_RIGHT, true, 5, 5);
    Button(SDL_BUTTON_RIGHT, false, 5, 5);
    EXPECT_EQ(HostPollMouseButtons(), MOUSE_RIGHT);
    EXPECT_EQ(HostPollMouseButtons(), MOUSE_NONE);
    // Clearing the buttons forgets a press not yet seen.
    Button(SDL_BUTTON_LEFT, true, 5, 5);
    Button(SDL_BUTTON_LEFT, false, 5, 5);
    HostClearButtons();
    EXPECT_EQ(HostPollMouseButtons(), MOUSE_NONE);
}

TEST_F(WindowInputTest, ThePointerLeavingTheWindowTakesTheCursorOutOfEveryWindow) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 100, e.motion.y = 50;
    Send(e);
    EXPECT_EQ(HostCursor().x, 100);
    SDL_Event leave{};
    leave.type = SDL_WINDOWEVENT;
    leave.window.event = SDL_WINDOWEVENT_LEAVE;
    Send(leave);
    HostPoint p = HostCursor();
    EXPECT_LT(p.x, -10000);
    EXPECT_LT(p.y, -10000);
    // During a drag the pointer stays captured: leaving keeps the last position.
    Button(SDL_BUTTON_LEFT, true, 30, 40);
    Send(leave);
    EXPECT_EQ(HostCursor().x, 30);
    EXPECT_EQ(HostCursor().y, 40);
    Button(SDL_BUTTON_LEFT, false, 900, 40);  // released outside: the cursor is where it was
    EXPECT_EQ(HostCursor().x, 900);
    Button(SDL_BUTTON_MIDDLE, true, 30, 40);  // the middle button is no drag
    Send(leave);
    EXPECT_LT(HostCursor().x, -10000);
}

// Cursor and modifier state are each published as one value: a reader on another thread never
// sees x of one motion with y of another, or the bits of a focused moment with the focus of an
// unfocused one.
TEST(InputState, ReadersNeverSeeHalfAChange) {
    HostResetInput();
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int i = 0; i < 200000; ++i) {
            HostSetCursor(i, i);
            HostSetModifierState(MOD_SHIFT, false);  // Shift held in the background
            HostSetModifierState(MOD_CONTROL, true);
        }
        done = true;
    });
    int torn = 0, leaked = 0;
    while (!done) {
        HostPoint p = HostCursor();
        torn += p.x != p.y;
        leaked += (HostModifiers() & MOD_SHIFT) != 0;
    }
    writer.join();
    EXPECT_EQ(torn, 0);
    EXPECT_EQ(leaked, 0) << "Shift seen while the window was said to be focused";
    HostResetInput();
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
