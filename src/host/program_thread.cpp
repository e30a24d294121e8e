#include "host/program_thread.h"

#include <SDL2/SDL.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "host/clock.h"
#include "host/log_sink.h"
#include "host/screen.h"
#include "host/script_input.h"

namespace {

// Never destroyed: an exit() that comes while the thread runs must not meet a joinable thread
// object in the static destructors.
std::thread& program_thread = *new std::thread;
// Whether the thread may run its cycles: it waits on this one value until the start-up has
// finished or the program ends without a start.
enum Launch : int { kWaiting, kStarted, kAbandoned };
std::atomic<int> launch{kWaiting};
std::atomic<bool> finished{false};
std::atomic<bool> close_posted{false};
std::atomic<bool> repaint_posted{false};
std::atomic<RepaintHandler> repaint_handler{nullptr};
ProgramHooks hooks;  // set before the thread starts, read only after

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
    launch.wait(kWaiting);
    if (launch.load() == kStarted) {
        if (!HostClockIsVirtual()) raise_priority();
        HostLog("**** START! THREAD PROGRAM!! ****");
        if (hooks.run) hooks.run();
        HostLog("system end ready");
    }
    HostLog(" exit thread");
    finished.store(true);
    // Wakes the message loop: the window closes now.
    if (SDL_WasInit(SDL_INIT_EVENTS)) {
        SDL_Event wake{};
        wake.type = SDL_USEREVENT;
        SDL_PushEvent(&wake);
    }
}

}  // namespace

void HostSetProgramHooks(const ProgramHooks& new_hooks) {
    hooks = new_hooks;
}

bool HostStartProgramThread() {
    try {
        program_thread = std::thread(program_thread_main);
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void HostSetStarted() {
    int waiting = kWaiting;
    launch.compare_exchange_strong(waiting, kStarted);
    launch.notify_all();
}

bool HostStarted() {
    return launch.load() == kStarted;
}

bool HostProgramThreadFinished() {
    return finished.load();
}

void HostEndBeforeExit(uint32_t wait_ms) {
    if (!program_thread.joinable() || finished.load()) return;
    if (launch.load() == kStarted) {
        // The close is done by the program thread at its next cycle end, as every close is.
        close_posted.store(true);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms);
        while (!finished.load() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    HostEndProgramThread(wait_ms);
}

bool HostEndProgramThread(uint32_t wait_ms) {
    if (!program_thread.joinable()) return true;
    int waiting = kWaiting;
    if (launch.compare_exchange_strong(waiting, kAbandoned)) {
        launch.notify_all();
    } else if (!finished.load()) {
        if (hooks.request_stop) hooks.request_stop();
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

bool HostResetProgramThread() {
    if (program_thread.joinable()) return false;
    launch.store(kWaiting);
    finished.store(false);
    close_posted.store(false);
    repaint_posted.store(false);
    repaint_handler.store(nullptr);
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
    if (repaint_posted.exchange(false) && hooks.running && hooks.running()) HostRepaintWindows();
}

void HostUserCloseRequest() {
    HostSetCloseWaiting(false);
    HostLog("TUVO CLOSED");
    if (hooks.stopping && hooks.stopping()) return;
    HostLog("TUVO Direct close request!");
    if (hooks.close_request) hooks.close_request();
}

void HostRepaintWindows() {
    HostLog("TUVO window redraw call for WINDOWS");
    if (RepaintHandler handler = repaint_handler.load()) handler();
}

void HostSetRepaintHandler(RepaintHandler handler) {
    repaint_handler.store(handler);
}
