// Game controllers, driven through SDL's virtual joystick as a real pad would be: every button
// must store what the keyboard or the mouse stores for the same action, the stick must move the
// cursor within the screen, and pads may come and go.
#include <SDL2/SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "host/controller.h"
#include "host/input.h"
#include "host/present_layout.h"
#include "host/surface.h"
#include "host/window_proc.h"

namespace {

class ControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        ASSERT_TRUE(HostCreateSurface(640, 480));
        HostResetInput();
        HostResetWindowInput();
        layout_ = ComputePresentLayout(640, 480, 640, 480, true);
        Attach();
    }
    void TearDown() override {
        HostCloseControllers();
        if (device_ >= 0) SDL_JoystickDetachVirtual(device_);
        Pump();
        SDL_Quit();
    }

    void Attach() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.name = "test pad";
        device_ = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(device_, 0) << SDL_GetError();
        Pump();
        joystick_ = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(device_));
        ASSERT_NE(joystick_, nullptr) << "the added pad was opened";
    }
    void Detach() {
        ASSERT_EQ(SDL_JoystickDetachVirtual(device_), 0);
        device_ = -1;
        joystick_ = nullptr;
        Pump();
    }

    // Lets SDL read the pad and hands its controller events to the host, as the message loop
    // does; returns how many the host took.
    int Pump() {
        SDL_PumpEvents();
        SDL_Event e;
        int taken = 0;
        while (SDL_PollEvent(&e))
            taken += HostControllerEvent(e);
        return taken;
    }
    void Press(SDL_GameControllerButton b, bool down = true) {
        SDL_JoystickSetVirtualButton(joystick_, b, down ? 1 : 0);
        Pump();
    }
    void Stick(int x, int y) {
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTX, int16_t(x));
        SDL_JoystickSetVirtualAxis(joystick_, SDL_CONTROLLER_AXIS_LEFTY, int16_t(y));
        Pump();
    }
    uint32_t Tick(uint32_t now) { return HostControllerTick(now, layout_, 1.0f); }

    // What the keyboard stores for a key, through the window procedure.
    std::vector<int> KeyboardCodes(SDL_Keycode key) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = key;
        HostWindowInput(e, layout_, 1.0f);
        return Drain();
    }
    static std::vector<int> Drain() {
        std::vector<int> codes;
        while (uint16_t c = HostReadKey())
            codes.push_back(c);
        return codes;
    }

    int device_ = -1;
    SDL_Joystick* joystick_ = nullptr;
    PresentLayout layout_{};
};

TEST_F(ControllerTest, ButtonsStoreWhatTheKeyboardAndTheMouseStore) {
    ASSERT_EQ(HostControllerCount(), 1);
    const struct {
        SDL_GameControllerButton button;
        SDL_Keycode key;
    } keys[] = {
        {SDL_CONTROLLER_BUTTON_A, SDLK_RETURN},
        {SDL_CONTROLLER_BUTTON_B, SDLK_ESCAPE},
        {SDL_CONTROLLER_BUTTON_DPAD_UP, SDLK_UP},
        {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDLK_RIGHT},
    };
    for (const auto& k : keys) {
        std::vector<int> expected = KeyboardCodes(k.key);
        ASSERT_FALSE(expected.empty());
        Press(k.button);
        EXPECT_EQ(Drain(), expected) << SDL_GameControllerGetStringForButton(k.button);
        Press(k.button, false);
        EXPECT_EQ(Drain(), std::vector<int>{}) << "the release stores nothing";
    }

    // A is also the left button at the pointer, held while A is; Start the right button.
    Press(SDL_CONTROLLER_BUTTON_A);
    Drain();
    EXPECT_EQ(HostMouseButtons(), MOUSE_LEFT);
    Press(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(HostPollMouseButtons(), MOUSE_LEFT) << "a short press is still seen once";
    EXPECT_EQ(HostPollMouseButtons(), MOUSE_NONE);
    Press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(HostMouseButtons(), MOUSE_RIGHT);
    EXPECT_EQ(Drain(), std::vector<int>{}) << "Start is no key";
    Press(SDL_CONTROLLER_BUTTON_START, false);
    HostPollMouseButtons();
    EXPECT_EQ(HostMouseButtons(), MOUSE_NONE);
    // Buttons without a meaning do nothing.
    Press(SDL_CONTROLLER_BUTTON_Y);
    EXPECT_EQ(Drain(), std::vector<int>{});
    EXPECT_EQ(HostMouseButtons(), MOUSE_NONE);
}

TEST_F(ControllerTest, AHeldDirectionRepeatsLikeAHeldKey) {
    std::vector<int> down = KeyboardCodes(SDLK_DOWN);
    Press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    EXPECT_EQ(Drain(), down);
    EXPECT_GT(Tick(1000), 0u);
    Tick(1300);
    EXPECT_EQ(Drain(), std::vector<int>{}) << "no repeat before the delay";
    Tick(1400);
    Tick(1480);
    Tick(1560);
    std::vector<int> three = down;
    three.insert(three.end(), down.begin(), down.end());
    three.insert(three.end(), down.begin(), down.end());
    EXPECT_EQ(Drain(), three);
    Press(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false);
    EXPECT_EQ(Tick(3000), 0u) << "nothing held: no more ticks wanted";
    EXPECT_EQ(Drain(), std::vector<int>{});
}

TEST_F(ControllerTest, TheLeftStickMovesThePointerWithinTheScreen) {
    HostSetCursor(100, 200);
    Stick(32767, 0);
    Tick(0);
    EXPECT_EQ(HostCursorX(), 100) << "the pointer starts where the mouse left it";
    Tick(100);
    int after = HostCursorX();
    EXPECT_GT(after, 150);
    EXPECT_LT(after, 250);
    EXPECT_EQ(HostCursorY(), 200);
    // A slight deflection moves it slower; inside the dead zone it rests.
    Stick(16000, 0);
    Tick(200);
    EXPECT_GT(HostCursorX(), after);
    EXPECT_LT(HostCursorX() - after, after - 100);
    Stick(3000, -3000);
    EXPECT_EQ(Tick(300), 0u);
    int rest = HostCursorX();
    Tick(400);
    EXPECT_EQ(HostCursorX(), rest);
    // Down and to the right for a long while: it stops at the screen's corner.
    Stick(32767, 32767);
    for (uint32_t t = 500; t < 3500; t += 50)
        Tick(t);
    EXPECT_EQ(HostCursorX(), 639);
    EXPECT_EQ(HostCursorY(), 479);
}

TEST_F(ControllerTest, PadsComeAndGoAndAPadThatGoesLetsGoOfItsButtons) {
    ASSERT_EQ(HostControllerCount(), 1);
    Press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(HostMouseButtons(), MOUSE_RIGHT);
    Detach();
    EXPECT_EQ(HostControllerCount(), 0);
    HostPollMouseButtons();
    EXPECT_EQ(HostMouseButtons(), MOUSE_NONE);
    Attach();
    EXPECT_EQ(HostControllerCount(), 1);
    Drain();
    std::vector<int> escape = KeyboardCodes(SDLK_ESCAPE);
    Press(SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(Drain(), escape) << "the new pad works";
}

}  // namespace
