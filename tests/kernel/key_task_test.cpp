#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "host/clock.h"
#include "host/input.h"
#include "kernel/event.h"
#include "kernel/kernel_test_env.h"
#include "kernel/key_task.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"

namespace {

class KeyTaskTest : public KernelTest {
protected:
    struct Key {
        uint8_t bytes[3];
        uint32_t modifiers;
    };
    // The key events of the chain, oldest first.
    std::vector<Key> KeyEvents() {
        std::vector<Key> keys;
        for (Handle h = g_event_head; h; h = event_record(h)->next) {
            const EventRecord* e = event_record(h);
            if (e->code != EVENT_KEY) continue;
            EXPECT_EQ(e->source, uint32_t(TASK_ID_KEY));
            EXPECT_EQ(e->destination, TASK_ID_ALL);
            Key k;
            std::memcpy(k.bytes,
                        reinterpret_cast<const uint8_t*>(e) + offsetof(EventRecord, word_a), 3);
            k.modifiers = e->long_a;
            keys.push_back(k);
        }
        return keys;
    }
};

TEST_F(KeyTaskTest, ReadKeyPairsShiftJisBytes) {
    char buffer[3] = {9, 9, 9};
    EXPECT_EQ(ReadKey(buffer), 0);
    HostStoreKey(13);
    ASSERT_EQ(ReadKey(buffer), 1);
    EXPECT_EQ(std::memcmp(buffer, "\x0d\0\0", 3), 0);
    EXPECT_EQ(ReadKey(buffer), 0);

    HostStoreChar(0x82);  // both bytes arrived before the read: one key
    HostStoreChar(0xA0);
    ASSERT_EQ(ReadKey(buffer), 1);
    EXPECT_EQ(std::memcmp(buffer, "\x82\xA0\0", 3), 0);
    EXPECT_EQ(ReadKey(buffer), 0);

    HostStoreChar(0x88);  // the trail byte comes later: the lead byte alone, then the trail
    ASSERT_EQ(ReadKey(buffer), 1);
    EXPECT_EQ(std::memcmp(buffer, "\x88\0\0", 3), 0);
    HostStoreChar(0x9F);
    ASSERT_EQ(ReadKey(buffer), 1);
    EXPECT_EQ(std::memcmp(buffer, "\x9F\0\0", 3), 0);
}

TEST_F(KeyTaskTest, AKeyWaitsForACycleWithoutAnEventForTheTask) {
    Handle task = Register("KeyTask", TASK_ID_KEY);
    HostSetModifierState(MOD_SHIFT | MOD_CONTROL, true);
    HostStoreKey('a');
    KeyTask(task);  // its first event: no key read
    EXPECT_TRUE(KeyEvents().empty());
    KeyTask(task);
    ASSERT_EQ(KeyEvents().size(), 1u);
    EXPECT_EQ(std::memcmp(KeyEvents()[0].bytes, "a\0\0", 3), 0);
    EXPECT_EQ(KeyEvents()[0].modifiers, MOD_SHIFT | MOD_CONTROL);

    HostStoreKey('b');
    KeyTask(task);  // receives its own key event: 'b' stays pending
    EXPECT_EQ(KeyEvents().size(), 1u);
    HostSetModifierState(MOD_SHIFT, false);  // the window is in the background
    KeyTask(task);
    ASSERT_EQ(KeyEvents().size(), 2u);
    EXPECT_EQ(KeyEvents()[1].bytes[0], 'b');
    EXPECT_EQ(KeyEvents()[1].modifiers, 0u);

    SendEvent(TASK_ID_MANAGER, TASK_ID_ALL, EVENT_SYSTEM_READY);
    KeyTask(task);  // its own key event
    KeyTask(task);
    EXPECT_TRUE(Logged("KeyTask start!"));
}

TEST_F(KeyTaskTest, DelayWaitsTenMillisecondsPerTickOnTheClock) {
    uint32_t start = HostTickCount();
    Delay(100);
    EXPECT_EQ(HostTickCount() - start, 1000u);
    Delay(0);
    EXPECT_EQ(HostTickCount() - start, 1000u);
}

}  // namespace
