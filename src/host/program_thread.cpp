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

// Never destroyed: an exit() from inside a library (Xlib's end on a lost display) must not
// meet a joinable thread object in the static destructors.
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

void end_at_exit();

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
    std::atexit(end_at_exit);
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

namespace {

constexpr uint32_t kExitWaitMs = 3000;

// An exit() that does not come through the message loop's end (Xlib ends the process when the
// display goes away) still lets the system shut down in order before the streams are flushed:
// the shutdown request goes in as from the close box, and the cycles get time to finish it.
void end_at_exit() {
    if (!program_thread.joinable() || finished.load()) return;
    if (launch.load() == kStarted && hooks.close_request && !(hooks.stopping && hooks.stopping())) {
        HostLog("TUVO CLOSED");
        hooks.close_request();
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kExitWaitMs);
        while (!finished.load() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    HostEndProgramThread(kExitWaitMs);
}

}  // namespace

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
