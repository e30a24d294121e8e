// A kernel ready for cycles: system resources, the first event, a virtual clock and no host
// windows or boxes in the way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kernel/event.h"
#include "kernel/pool.h"
#include "support/test_env.h"

class KernelTest : public NomaTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // RegisterTask followed by OpenTaskEvents, as every registration does.
    Handle Register(const char* name, uint32_t id = 0);
    // Code, source and destination of every event of the chain, oldest first.
    struct Sent {
        uint16_t code;
        uint32_t source;
        uint32_t destination;
        bool operator==(const Sent&) const = default;
    };
    std::vector<Sent> Chain();
    // The events of the chain with this code.
    std::vector<Sent> ChainWithCode(uint16_t code);
    // Runs `count` cycles under LOOP_EXIT.
    void Cycles(int count);
    // Moves the virtual clock on by any number of milliseconds.
    void Advance(uint64_t ms);
    // Log lines that begin with `prefix`.
    std::vector<std::string> LogLinesStartingWith(const std::string& prefix);
};

// Shift-JIS bytes of a UTF-8 text, for comparing with log lines.
std::string Sj(const std::string& utf8);
