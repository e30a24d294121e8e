#include "host/input.h"

#include <atomic>

#include "host/sjis.h"

namespace {

// The pending key word: the code in the low 16 bits; a Shift-JIS trail byte waiting behind
// it in bits 16-23 (kHasTrail); kAwaitsTrail while the pending code is a lead byte from a
// character message whose trail byte has not come yet.
constexpr uint32_t kCodeMask = 0xFFFF;
constexpr uint32_t kHasTrail = 1u << 24;
constexpr uint32_t kAwaitsTrail = 1u << 25;

std::atomic<uint32_t> pending_key{0};
std::atomic<uint16_t> mouse_buttons{0};
std::atomic<uint64_t> cursor{0};  // x in the low half, y in the high half
std::atomic<uint32_t> modifier_bits{0};
std::atomic<bool> window_focused{true};

}  // namespace

void HostStoreKey(uint16_t code) {
    pending_key.store(code);
}

void HostStoreChar(uint16_t code) {
    uint32_t old = pending_key.load();
    uint32_t next;
    do {
        if ((old & kAwaitsTrail) && code <= 0xFF && IsSjisTrail(uint8_t(code)))
            next = (old & kCodeMask) | uint32_t(code) << 16 | kHasTrail;
        else
            next = code | (code <= 0xFF && IsSjisLead(uint8_t(code)) ? kAwaitsTrail : 0);
    } while (!pending_key.compare_exchange_weak(old, next));
}

uint16_t HostReadKey() {
    uint32_t old = pending_key.load();
    uint32_t next;
    do {
        next = (old & kHasTrail) ? (old >> 16) & 0xFF : 0;
    } while (!pending_key.compare_exchange_weak(old, next));
    return uint16_t(old & kCodeMask);
}

bool HostKeyPending() {
    return pending_key.load() != 0;
}

void HostSetMouseButtons(uint16_t state) {
    mouse_buttons.store(state);
}
uint16_t HostMouseButtons() {
    return mouse_buttons.load();
}
void HostClearButtons() {
    mouse_buttons.store(0);
}

void HostSetCursor(int x, int y) {
    cursor.store(uint32_t(x) | uint64_t(uint32_t(y)) << 32);
}
int HostCursorX() {
    return int32_t(uint32_t(cursor.load()));
}
int HostCursorY() {
    return int32_t(uint32_t(cursor.load() >> 32));
}

void HostSetModifierState(uint32_t bits, bool focused) {
    modifier_bits.store(bits);
    window_focused.store(focused);
}
uint32_t HostModifiers() {
    return window_focused.load() ? modifier_bits.load() : 0;
}

void HostResetInput() {
    pending_key.store(0);
    mouse_buttons.store(0);
    cursor.store(0);
    modifier_bits.store(0);
    window_focused.store(true);
}
