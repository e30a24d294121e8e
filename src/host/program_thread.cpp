#include "host/program_thread.h"

#include <SDL2/SDL.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <thread>

#include "host/clock.h"
#include "host/screen.h"
#include "host/script_input.h"
#include "kernel/event.h"
#include "kernel/log.h"
#include "kernel/scheduler.h"
#include "kernel/system.h"

namespace {

std::thread program_thread;
std::atomic<bool> started{false};
std::atomic<bool> abandoned{false};  // the program ends before the thread was started
std::atomic<bool> finished{false};
std::atomic<bool> close_posted{false};
std::atomic<bool> repaint_posted{false};
std::atomic<RepaintHandler> repaint_handler{nullptr};

// The cycles run at raised priority where the system lets the user have it; headless runs
// keep the ordinary priority (their cycles never sleep).
void raise_priority() {
    pid_t thread = pid_t(syscall(SYS_gettid));
    errno = 0;
    int nice = getpriority(PRIO_PROCESS, id_t(thread));
    if (errno == 0) setpriority(PRIO_PROCESS, id_t(thread), nice - 5);
}

void program_thread_main() {
    // Nothing runs before the start-up on the first paint has finished (the log opens there).
    while (!started.load() && !abandoned.load())
        started.wait(false);
    if (started.load()) {
        if (!HostClockIsVirtual()) raise_priority();
        LogLine("**** START! THREAD PROGRAM!! ****");
        for (;;) {
            RunCycles();
            if (TestSystemFlag(FLAG_STOP)) break;
        }
        LogLine("system end ready");
    }
    LogLine(" exit thread");
    finished.store(true);
    // Wakes the message loop: the window closes now.
    if (SDL_WasInit(SDL_INIT_EVENTS)) {
        SDL_Event wake{};
        wake.type = SDL_USEREVENT;
        SDL_PushEvent(&wake);
    }
}

}  // namespace

bool HostStartProgramThread() {
    try {
        program_thread = std::thread(program_thread_main);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void HostSetStarted() {
    started.store(true);
    started.notify_all();
}

bool HostStarted() {
    return started.load();
}

bool HostProgramThreadFinished() {
    return finished.load();
}

bool HostEndProgramThread(uint32_t wait_ms) {
    if (!program_thread.joinable()) return true;
    if (!started.load()) {
        abandoned.store(true);
        started.notify_all();
    } else if (!finished.load()) {
        SetSystemFlag(FLAG_STOP);
    }
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms);
    while (!finished.load()) {
        if (std::chrono::steady_clock::now() > deadline) {
            program_thread.detach();
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    program_thread.join();
    return true;
}

void HostPostUserClose() {
    HostSetCloseWaiting(true);
    close_posted.store(true);
}
void HostPostRepaint() {
    repaint_posted.store(true);
}

void HostServiceProgramThread(PollPoint point) {
    bool at_cycle_end = point == PollPoint::CycleEnd;
    if (HostScriptLoaded() && HostApplyScript(at_cycle_end) == ScriptRequest::Close)
        HostUserCloseRequest();
    if (!at_cycle_end) return;
    if (close_posted.exchange(false)) HostUserCloseRequest();
    if (repaint_posted.exchange(false) && g_system.phase == PHASE_RUNNING) HostRepaintWindows();
}

void HostUserCloseRequest() {
    HostSetCloseWaiting(false);
    LogLine("TUVO CLOSED");
    if (TestSystemFlag(FLAG_STOP)) return;
    LogLine("TUVO Direct close request!");
    RequestShutDown(g_tasks.manager);
}

void HostRepaintWindows() {
    LogLine("TUVO window redraw call for WINDOWS");
    if (RepaintHandler handler = repaint_handler.load()) handler();
}

void HostSetRepaintHandler(RepaintHandler handler) {
    repaint_handler.store(handler);
}
