// Fixture of the presentation tests: the window system on a 320 x 240 screen with every system
// task registered, an owner task with an open window, fake message objects for the effect
// player, and golden screenshots.
#pragma once

#include <cstdint>
#include <string>

#include "core/pool.h"
#include "kernel/event.h"
#include "support/golden.h"
#include "support/test_env.h"

class PresentTest : public NomaTest {
protected:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;

    void SetUp() override;
    void TearDown() override;

    // Runs the task until it has looked at every event sent so far.
    void Pump(void (*task_function)(Handle), Handle task);
    // An open top-level window of the owner at (x, y).
    Handle OpenWindow(int x, int y, int width, int height, uint32_t mode = 0, Handle gc = 0);
    // A message object drawing `text` into `window` with `gc`; the effect player reads it
    // through the reader the fixture installs.
    Handle MessageObject(Handle window, Handle gc, const std::string& text);
    void SetMessageText(Handle object, const std::string& text);

    // EffectTask started, and requests and tick events from the owner run through it.
    void StartEffects();
    void RequestEffect(uint16_t type, Handle window, Handle object = 0, uint32_t mode = 0,
                       uint32_t color = 0xFFFFFF, int x = 0, int y = 0, int width = 0,
                       int height = 0, uint16_t word = 7);
    void TickEffects(int n = 1);

    uint32_t Pixel(int x, int y);
    void CompareGolden(const char* file) { CompareScreenGolden(file, folder_); }

    Handle owner_ = 0;
    uint32_t owner_id_ = 0;
};
