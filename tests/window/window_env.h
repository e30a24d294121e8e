// Fixture of the window tests: a kernel with the system resources, fonts, events, a 320 x 240
// screen and the window system started, on the virtual clock.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/pool.h"
#include "kernel/event.h"
#include "support/golden.h"
#include "support/test_env.h"

class WindowTest : public NomaTest {
protected:
    static constexpr int kScreenWidth = 320;
    static constexpr int kScreenHeight = 240;

    void SetUp() override;
    void TearDown() override;

    // Registers a task that can own windows.
    Handle NewTask(const char* name);
    // An open top-level window of `owner` at (x, y).
    Handle OpenAt(Handle owner, int x, int y, int width, int height, uint32_t mode = 0);
    // The codes of the events sent so far to task `id`, oldest first.
    std::vector<uint16_t> CodesTo(uint32_t id);
    // Forgets every event sent so far (they are readdressed to nobody).
    void ForgetEvents();
    uint32_t Pixel(int x, int y);
    void CompareGolden(const char* file) { CompareScreenGolden(file, folder_); }
    // Starts the window system again on a `width` x `height` screen with these NOMA.ini lines.
    void UseScreen(int width, int height, const std::string& ini);
    // Plays input lines whose times count from now.
    void PlayFromNow(const std::vector<std::pair<int, const char*>>& events);
};
