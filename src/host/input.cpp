#include "host/input.h"

#include <atomic>

namespace {
std::atomic<uint16_t> pending_key{0};
std::atomic<uint16_t> mouse_buttons{0};
std::atomic<int> cursor_x{0};
std::atomic<int> cursor_y{0};
std::atomic<uint32_t> modifier_bits{0};
std::atomic<bool> window_focused{true};
}  // namespace

void HostStoreKey(uint16_t code) { pending_key.store(code); }
void HostSetMouseButtons(uint16_t state) { mouse_buttons.store(state); }
void HostSetCursor(int x, int y) {
    cursor_x.store(x);
    cursor_y.store(y);
}
void HostSetModifierState(uint32_t bits, bool focused) {
    modifier_bits.store(bits);
    window_focused.store(focused);
}

uint16_t HostReadKey() { return pending_key.exchange(0); }
uint16_t HostMouseButtons() { return mouse_buttons.load(); }
int HostCursorX() { return cursor_x.load(); }
int HostCursorY() { return cursor_y.load(); }
uint32_t HostModifiers() { return window_focused.load() ? modifier_bits.load() : 0; }
void HostClearButtons() { mouse_buttons.store(0); }
