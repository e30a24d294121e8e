// The program entry of the host: one copy per working folder, the windows, the program
// thread and the message loop on the main thread.
#pragma once

#include "host/options.h"
#include "host/report.h"

// The system the host runs, as the composition root hands it over.
struct HostSystem {
    // The system's start on the main window's first paint (headless: right after the window
    // is made). It ends by setting the started flag that lets the program thread run.
    void (*start_up)() = nullptr;
    // Read in the working folder before the windows are made: the debug monitor wanted, and the
    // configured screen size (-1 for a size not configured).
    bool (*debug_monitor)() = nullptr;
    void (*configured_screen)(int* width, int* height) = nullptr;
    // The pool's use for the headless use report (--report).
    PoolUseReader pool_use = nullptr;
};

// Ends the program with `status` (non-zero: a failure) once the current message is handled:
// the start-up calls it when the system cannot be brought up. The program thread is let go,
// the streams closed and the window destroyed in the usual order.
void HostEndProgram(int status);

// Runs the program; returns its exit status.
int HostMain(const HostOptions& options, const HostSystem& system);
