#include "kernel/kernel_test_env.h"

#include "host/clock.h"
#include "host/input.h"
#include "host/message_box.h"
#include "host/sjis.h"
#include "kernel/event_task.h"
#include "kernel/scheduler.h"
#include "kernel/system.h"
#include "kernel/task.h"
#include "resource/resource.h"

void KernelTest::SetUp() {
    NomaTest::SetUp();
    HostSetHeadless(true);
    HostUseVirtualClock(true);
    while (HostReadKey()) {
    }
    HostSetModifierState(0, true);
    HostClearButtons();
    ASSERT_TRUE(CreateSystemResources());
    ResetKernel();
    g_max_event = 255;
    g_system.current_time = ClockNow();
    InitEvents();
}

void KernelTest::TearDown() {
    ResetKernel();
    HostUseVirtualClock(false);
    NomaTest::TearDown();
}

Handle KernelTest::Register(const char* name, uint32_t id) {
    Handle task = RegisterTask(name, id, 0);
    OpenTaskEvents(task);
    return task;
}

std::vector<KernelTest::Sent> KernelTest::Chain() {
    std::vector<Sent> chain;
    for (Handle h = g_event_head; h; h = event_record(h)->next) {
        const EventRecord* e = event_record(h);
        chain.push_back({e->code, e->source, e->destination});
        if (chain.size() > 100000) break;  // a looping chain fails the test, not the run
    }
    return chain;
}

std::vector<KernelTest::Sent> KernelTest::ChainWithCode(uint16_t code) {
    std::vector<Sent> out;
    for (const Sent& s : Chain())
        if (s.code == code) out.push_back(s);
    return out;
}

void KernelTest::Cycles(int count) {
    SetSystemFlag(FLAG_LOOP_EXIT);
    for (int i = 0; i < count; ++i)
        RunCycles();
}

void KernelTest::Advance(uint64_t ms) {
    while (ms) {
        uint32_t step = ms > 0x40000000u ? 0x40000000u : uint32_t(ms);
        HostAdvanceClock(step);
        ms -= step;
    }
}

std::vector<std::string> KernelTest::LogLinesStartingWith(const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& line : LogLines())
        if (line.compare(0, prefix.size(), prefix) == 0) out.push_back(line);
    return out;
}

std::string Sj(const std::string& utf8) {
    return Utf8ToSjis(utf8);
}
