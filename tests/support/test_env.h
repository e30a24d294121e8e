// Shared test helpers: a fresh kernel state in a temporary working folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "kernel/event.h"
#include "kit/boot.h"

// Base fixture: a temporary working folder (the current directory during the test), a small
// pool, no resources, system flags 0x10 and an error log written to "test.log".
class NomaTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates a pool of `bytes` with `entries` handle entries instead of the default.
    void UsePool(uint32_t bytes, uint32_t entries);
    // Lines of the error log written so far (the log is flushed first).
    std::vector<std::string> LogLines();
    // True when some log line equals `line` exactly.
    bool Logged(const std::string& line);
    // Every one of `lines` is a log line.
    void ExpectLogged(std::initializer_list<std::string> lines);
    // Log lines that contain `part`.
    int LogCount(const std::string& part);
    // Events sent so far to task `id`, oldest first.
    std::vector<EventRecord> EventsTo(uint32_t id);
    // Answers the draw requests sent to `owner` (drawing with `draw` first) until none is left.
    void AnswerDraws(uint32_t owner, const std::function<void(uint32_t)>& draw = nullptr);
    // Writes `content` to `name` inside the working folder.
    void WriteFile(const std::string& name, const std::string& content);
    std::string ReadFile(const std::string& name);

    std::unique_ptr<TempFolder> temp_;
    std::string folder_;
};
