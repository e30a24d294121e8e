// The program thread: it runs the scheduler's cycles once the start-up on the first paint has
// finished, and it is the only thread that touches the system's state after that. The main
// thread hands it the work of a close request and of a later paint; it runs them at the end
// of a cycle, so they never overlap one.
#pragma once

#include <cstdint>

// The places where the program thread looks at the host's pending work: the end of a cycle,
// and the waits inside a cycle (HostSleep in drags and dialogs), where only input is applied.
enum class PollPoint { CycleEnd, Wait };

// What the program thread runs: the system above the host installs it before the thread starts.
struct ProgramHooks {
    void (*run)() = nullptr;            // the cycles, until the system has stopped
    void (*request_stop)() = nullptr;   // asks the cycles to stop (the system's stop flag)
    bool (*stopping)() = nullptr;       // the stop flag is set
    bool (*running)() = nullptr;        // the system is past its start (repaints may draw)
    void (*close_request)() = nullptr;  // the work of a user's close, in the program thread
};
void HostSetProgramHooks(const ProgramHooks& hooks);

// Creates the program thread; false when it cannot be created. It waits for the started flag.
bool HostStartProgramThread();
// The started flag: the thread runs cycles from now on.
void HostSetStarted();
bool HostStarted();
// True once the thread has left its loop (stop flag) and is about to end.
bool HostProgramThreadFinished();
// Waits for the thread to end: first lets it leave its loop by setting the stop flag when it
// still runs, then joins it. False when it did not end within `wait_ms` (the thread is left
// to the process's end).
bool HostEndProgramThread(uint32_t wait_ms);
// Puts the started flag and the posted work back as a fresh process has them, so that a
// system stopped inside the process can be started again. Only while no program thread
// exists (none was made, or it has been joined); false, changing nothing, otherwise.
bool HostResetProgramThread();

// For an end that does not come through the message loop (the display connection is lost and
// the platform library is about to end the process): posts a close as from the close box,
// lets the cycles finish the shutdown for up to `wait_ms`, then ends the thread.
void HostEndBeforeExit(uint32_t wait_ms);

// Requests from the main thread, done at the program thread's next cycle end.
void HostPostUserClose();  // the user closed the main window
void HostPostRepaint();    // a later paint of the main window

// Runs the pending host work due at this point (program thread).
void HostServiceProgramThread(PollPoint point);

// The work of a close request: logs it and, unless the system is already stopping, runs the
// installed close request (the shutdown request in the name of NomaManager).
void HostUserCloseRequest();

// The redraw of a later paint (program thread, system running): logs it and runs the repaint
// handler the window system registered (redraw every window and every open system dialog).
void HostRepaintWindows();
using RepaintHandler = void (*)();
void HostSetRepaintHandler(RepaintHandler handler);
