// The scheduler's own cost, on the virtual clock (no sleeping).
#include <benchmark/benchmark.h>

#include <cstdio>

#include "core/log.h"
#include "core/pool.h"
#include "core/system.h"
#include "kernel/event.h"
#include "kernel/event_task.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "kit/boot.h"
#include "resource/resource.h"

namespace {

constexpr int kLiveEvents = 50;

// A kernel without a log: pool, system resources and the first event.
void FreshKernel() {
    CloseErrorLog();
    BootKernel(256u << 20, 1u << 16);
    StoreSystemFlags(FLAG_TRACE | FLAG_LOOP_EXIT | FLAG_APPLICATION);
}

// A running system: the ten tasks registered, phase 3.
void BootRunningSystem() {
    FreshKernel();
    RegisterSystemTasks();
    g_system.phase = PHASE_RUNNING;
}

// One idle cycle of the ten tasks (no key, no window work) with 50 live events in the chain. An
// eleventh task lags behind and takes an event only when there are more than 50, so the clock
// task's house-keeping keeps the chain at 50.
void BM_IdleCycleWith50LiveEvents(benchmark::State& state) {
    BootRunningSystem();
    Handle lagging = RegisterTask("Lagging", 0, 0);
    OpenTaskEvents(lagging);
    for (int i = 0; i < kLiveEvents; ++i)
        SendEvent(1, 40, 0x700);
    for (int i = 0; i < 200; ++i)
        RunCycles();  // every task past its start
    for (auto _ : state) {
        if (RecordCount(g_resources.event) > kLiveEvents) ReciveEvent(lagging);
        RunCycles();
    }
    state.counters["live_events"] = RecordCount(g_resources.event);
    ShutDownBoot();
}
BENCHMARK(BM_IdleCycleWith50LiveEvents);

// SendEvent, one ReciveEvent of a task at the young end and the removal of the oldest event,
// with `range(0)` live events: constant per call whatever the chain length.
void BM_SendReceiveEnd(benchmark::State& state) {
    FreshKernel();
    Handle reader = RegisterTask("Reader", 0, 0);
    OpenTaskEvents(reader);
    Handle lagging = RegisterTask("Lagging", 0, 0);
    OpenTaskEvents(lagging);
    for (int i = 0; i < state.range(0); ++i)
        SendEvent(1, 40, 0x700);
    while (ReciveEvent(reader) != RECEIVE_NO_EVENT) {
    }
    for (auto _ : state) {
        SendEvent(1, TASK_ID_ALL, 0x700);
        benchmark::DoNotOptimize(ReciveEvent(reader));
        ReciveEvent(lagging);
        EndEvent();
    }
    state.counters["live_events"] = RecordCount(g_resources.event);
    ShutDownBoot();
}
BENCHMARK(BM_SendReceiveEnd)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000);

}  // namespace
