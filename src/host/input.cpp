#include "host/input.h"

#include <atomic>
#include <cstddef>
#include <mutex>

namespace {

// Keystrokes wait here until the key reader takes them, one code per read, so keys typed
// faster than the reader's cycles are all delivered in order. A key down's code stays open to
// the character message of the same keystroke, which replaces it while it is unread (the
// reader sees 'a', not 'A' and 'a'); once read, the character follows as a code of its own.
struct QueuedCode {
    uint16_t code;
    bool key_down;
};
constexpr size_t kQueueCapacity = 256;  // beyond this, keys are dropped until the reader reads

class KeyQueue {
public:
    void push(uint16_t code, bool key_down) {
        std::lock_guard<std::mutex> hold(lock_);
        if (count_ == kQueueCapacity) return;
        codes_[(head_ + count_) % kQueueCapacity] = {code, key_down};
        ++count_;
    }
    void push_character(uint16_t code) {
        std::lock_guard<std::mutex> hold(lock_);
        if (count_ > 0) {
            QueuedCode& last = codes_[(head_ + count_ - 1) % kQueueCapacity];
            if (last.key_down) {
                last = {code, false};
                return;
            }
        }
        if (count_ == kQueueCapacity) return;
        codes_[(head_ + count_) % kQueueCapacity] = {code, false};
        ++count_;
    }
    uint16_t pop() {
        std::lock_guard<std::mutex> hold(lock_);
        if (count_ == 0) return 0;
        uint16_t code = codes_[head_].code;
        head_ = (head_ + 1) % kQueueCapacity;
        --count_;
        return code;
    }
    bool empty() {
        std::lock_guard<std::mutex> hold(lock_);
        return count_ == 0;
    }
    void clear() {
        std::lock_guard<std::mutex> hold(lock_);
        head_ = count_ = 0;
    }

private:
    std::mutex lock_;
    QueuedCode codes_[kQueueCapacity] = {};
    size_t head_ = 0, count_ = 0;
};

KeyQueue keys;

// The mouse buttons: the state now in the low half; in the high half a press that no poll has
// seen yet. A click whose press and release both fall between two polls would otherwise never
// be seen: the latch hands the press to the next poll, and the poll after it sees the release.
std::atomic<uint32_t> mouse_buttons{0};
std::atomic<uint64_t> cursor{0};  // x in the low half, y in the high half
// The modifier bits and, in bit 31, that the main window is in the background: one word, so a
// reader never pairs the bits of one moment with the focus of another.
constexpr uint32_t kUnfocused = 1u << 31;
std::atomic<uint32_t> modifier_state{0};

uint16_t seen_buttons(uint32_t word) {
    uint16_t latched = uint16_t(word >> 16);
    return latched ? latched : uint16_t(word);
}

}  // namespace

void HostStoreKey(uint16_t code) {
    keys.push(code, true);
}

void HostStoreChar(uint16_t code) {
    keys.push_character(code);
}

uint16_t HostReadKey() {
    return keys.pop();
}

bool HostKeyPending() {
    return !keys.empty();
}

void HostSetMouseButtons(uint16_t state) {
    uint32_t old = mouse_buttons.load();
    uint32_t next;
    do {
        next = state ? uint32_t(state) | uint32_t(state) << 16 : old & 0xFFFF0000u;
    } while (!mouse_buttons.compare_exchange_weak(old, next));
}
uint16_t HostMouseButtons() {
    return seen_buttons(mouse_buttons.load());
}
uint16_t HostPollMouseButtons() {
    uint32_t old = mouse_buttons.load();
    while (!mouse_buttons.compare_exchange_weak(old, old & 0xFFFFu)) {
    }
    return seen_buttons(old);
}
void HostClearButtons() {
    mouse_buttons.store(0);
}

void HostSetCursor(int x, int y) {
    cursor.store(uint32_t(x) | uint64_t(uint32_t(y)) << 32);
}
HostPoint HostCursor() {
    uint64_t both = cursor.load();
    return {int32_t(uint32_t(both)), int32_t(uint32_t(both >> 32))};
}
int HostCursorX() {
    return HostCursor().x;
}
int HostCursorY() {
    return HostCursor().y;
}

void HostSetModifierState(uint32_t bits, bool focused) {
    modifier_state.store((bits & ~kUnfocused) | (focused ? 0 : kUnfocused));
}
uint32_t HostModifiers() {
    uint32_t state = modifier_state.load();
    return (state & kUnfocused) ? 0 : state;
}

void HostResetInput() {
    keys.clear();
    mouse_buttons.store(0);
    cursor.store(0);
    modifier_state.store(0);
}
