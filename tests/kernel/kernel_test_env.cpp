#include "kernel/kernel_test_env.h"

#include "core/system.h"
#include "host/clock.h"
#include "host/input.h"
#include "host/message_box.h"
#include "host/sjis.h"
#include "kernel/event_task.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "resource/resource.h"

void KernelTest::SetUp() {
    NomaTest::SetUp();
    BootKernel();
}

void KernelTest::TearDown() {
    ShutDownBoot();
    NomaTest::TearDown();
}

Handle KernelTest::Register(const char* name, uint32_t id) {
    Handle task = RegisterTask(name, id, 0);
    OpenTaskEvents(task);
    return task;
}

std::vector<KernelTest::Sent> KernelTest::Chain(int code) {
    std::vector<Sent> chain;
    size_t walked = 0;  // a looping chain fails the test, not the run
    for (Handle h = g_event_head; h && ++walked < 100000; h = event_record(h)->next) {
        const EventRecord* e = event_record(h);
        if (code < 0 || e->code == code) chain.push_back({e->code, e->source, e->destination});
    }
    return chain;
}

void KernelTest::Cycles(int count) {
    SetSystemFlag(FLAG_LOOP_EXIT);
    for (int i = 0; i < count; ++i)
        RunCycles();
}

void KernelTest::Advance(uint64_t ms) {
    for (; ms > 0x40000000u; ms -= 0x40000000u)
        HostAdvanceClock(0x40000000u);
    HostAdvanceClock(uint32_t(ms));
}
