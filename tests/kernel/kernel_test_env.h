// A kernel ready for cycles: system resources, the first event, a virtual clock and no host
// windows or boxes in the way.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/pool.h"
#include "kernel/event.h"
#include "support/test_env.h"

class KernelTest : public NomaTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // RegisterTask followed by OpenTaskEvents, as every registration does.
    Handle Register(const char* name, uint32_t id = 0);
    // Code, source and destination of the events of the chain (those with `code`, or all),
    // oldest first.
    struct Sent {
        uint16_t code;
        uint32_t source;
        uint32_t destination;
        bool operator==(const Sent&) const = default;
    };
    std::vector<Sent> Chain(int code = -1);
    // Runs `count` cycles under LOOP_EXIT.
    void Cycles(int count);
    // Moves the virtual clock on by any number of milliseconds.
    void Advance(uint64_t ms);
};
