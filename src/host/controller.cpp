#include "host/controller.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/input.h"
#include "host/keymap.h"
#include "host/surface.h"
#include "host/window.h"

namespace {

// The stick's rest: deflections inside it are noise.
constexpr int kDeadZone = 8000;
// Surface pixels per second at full deflection; the speed grows with the square of the
// deflection, so small moves stay precise.
constexpr double kPointerSpeed = 900.0;
// A held d-pad direction repeats like a held key.
constexpr uint32_t kRepeatDelayMs = 400;
constexpr uint32_t kRepeatIntervalMs = 80;
constexpr uint32_t kTickMs = 10;

struct Pad {
    SDL_GameController* controller;
    SDL_JoystickID id;
};

std::vector<Pad> pads;
int stick_x = 0, stick_y = 0;  // the left stick of the controller moved last
bool stick_moving = false;
double pointer_x = 0, pointer_y = 0;  // the pointer the stick moves, in surface pixels
uint32_t last_tick = 0;
int held_direction = -1;  // the d-pad button held (repeats), or -1
uint32_t next_repeat = 0;
bool repeat_pending_start = false;  // the repeat's timing starts at the next tick

// A key as the keyboard gives it: the key down code and, for Return and Escape, the control
// character of the same keystroke.
void press_key(uint16_t vk) {
    int code = KeyDownCode(vk);
    if (code != kNoKeyCode) HostStoreKey(uint16_t(code));
    int character = ControlCharacter(vk, false);
    if (character != kNoKeyCode) HostStoreChar(uint16_t(CharacterCode(uint8_t(character))));
}

uint16_t direction_key(int button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return VK_UP;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return VK_DOWN;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return VK_LEFT;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return VK_RIGHT;
        default:
            return 0;
    }
}

void button(int which, bool down) {
    if (uint16_t vk = direction_key(which)) {
        if (down) {
            press_key(vk);
            held_direction = which;
            repeat_pending_start = true;
        } else if (held_direction == which) {
            held_direction = -1;
        }
        return;
    }
    switch (which) {
        case SDL_CONTROLLER_BUTTON_A:
            if (down) press_key(VK_RETURN);
            HostSetMouseButtons(down ? MOUSE_LEFT : MOUSE_NONE);
            break;
        case SDL_CONTROLLER_BUTTON_B:
            if (down) press_key(VK_ESCAPE);
            break;
        case SDL_CONTROLLER_BUTTON_START:
            HostSetMouseButtons(down ? MOUSE_RIGHT : MOUSE_NONE);
            break;
        default:
            break;
    }
}

void release_all() {
    if (held_direction >= 0) held_direction = -1;
    stick_x = stick_y = 0;
    stick_moving = false;
    HostSetMouseButtons(MOUSE_NONE);
}

// The pointer's speed along one axis for a stick value.
double speed(int value) {
    int magnitude = std::abs(value);
    if (magnitude <= kDeadZone) return 0;
    double t = double(magnitude - kDeadZone) / double(32767 - kDeadZone);
    t = std::min(t, 1.0);
    return (value < 0 ? -1 : 1) * kPointerSpeed * t * t;
}

// Shows the system pointer where the stick put the cursor: the centre of the surface pixel,
// in window points.
void warp_window_pointer(int x, int y, const PresentLayout& layout, float output_scale) {
    SDL_Window* window = HostMainWindow();
    if (!window || layout.surface_width <= 0 || layout.surface_height <= 0 || output_scale <= 0)
        return;
    double wx = layout.x + (x + 0.5) * layout.width / layout.surface_width;
    double wy = layout.y + (y + 0.5) * layout.height / layout.surface_height;
    SDL_WarpMouseInWindow(window, int(wx / output_scale), int(wy / output_scale));
}

}  // namespace

bool HostControllerEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED: {
            SDL_GameController* c = SDL_GameControllerOpen(event.cdevice.which);
            if (!c) return true;
            SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c));
            for (const Pad& p : pads)
                if (p.id == id) {
                    SDL_GameControllerClose(c);  // already open (added twice)
                    return true;
                }
            pads.push_back({c, id});
            return true;
        }
        case SDL_CONTROLLERDEVICEREMOVED: {
            auto gone = std::find_if(pads.begin(), pads.end(),
                                     [&](const Pad& p) { return p.id == event.cdevice.which; });
            if (gone != pads.end()) {
                SDL_GameControllerClose(gone->controller);
                pads.erase(gone);
                // Whatever it held is let go, so no button stays down forever.
                release_all();
            }
            return true;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            button(event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
            return true;
        case SDL_CONTROLLERAXISMOTION:
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) stick_x = event.caxis.value;
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) stick_y = event.caxis.value;
            return true;
        default:
            return false;
    }
}

uint32_t HostControllerTick(uint32_t now, const PresentLayout& layout, float output_scale) {
    uint32_t elapsed = std::min<uint32_t>(now - last_tick, 100);
    last_tick = now;
    uint32_t wanted = 0;
    if (held_direction >= 0) {
        if (repeat_pending_start) {
            next_repeat = now + kRepeatDelayMs;
            repeat_pending_start = false;
        }
        if (int32_t(now - next_repeat) >= 0) {
            press_key(direction_key(held_direction));
            next_repeat = now + kRepeatIntervalMs;
        }
        wanted = std::max<uint32_t>(1, next_repeat - now);
    }
    double vx = speed(stick_x), vy = speed(stick_y);
    if (vx == 0 && vy == 0) {
        stick_moving = false;
        return wanted;
    }
    int width = HostSurfaceWidth(), height = HostSurfaceHeight();
    if (!stick_moving) {
        // The pointer goes on from wherever the mouse left it.
        HostPoint at = HostCursor();
        pointer_x = std::clamp(at.x, 0, std::max(0, width - 1));
        pointer_y = std::clamp(at.y, 0, std::max(0, height - 1));
        stick_moving = true;
    } else {
        pointer_x =
            std::clamp(pointer_x + vx * elapsed / 1000.0, 0.0, double(std::max(0, width - 1)));
        pointer_y =
            std::clamp(pointer_y + vy * elapsed / 1000.0, 0.0, double(std::max(0, height - 1)));
    }
    int x = int(pointer_x), y = int(pointer_y);
    HostPoint at = HostCursor();
    if (at.x != x || at.y != y) {
        HostSetCursor(x, y);
        warp_window_pointer(x, y, layout, output_scale);
    }
    return wanted ? std::min(wanted, kTickMs) : kTickMs;
}

int HostControllerCount() {
    return int(pads.size());
}

void HostCloseControllers() {
    for (const Pad& p : pads)
        SDL_GameControllerClose(p.controller);
    pads.clear();
    release_all();
    held_direction = -1;
}
