// The composition root: the one place that decides what the running system is made of. It
// fills the scheduler's task table, hands the kernel the window system's start-up steps and
// the dialogs, gives the host the program it runs, and starts the host.
#pragma once

#include "host/options.h"

// Installs every hook of the layers into the layers below them: the task functions, the
// window system's start-up steps, the system message dialog and the program thread's work.
// Tests that boot parts of the system call it too, so they run what the program runs.
void InstallSystemHooks();

// Installs the game's own actions into the scenario interpreter's pointers and the game's
// hooks (part of InstallSystemHooks; tests that reset the game call it again).
void InstallGameActions();

// Runs the program with its hooks installed; returns its exit status.
int RunSystem(const HostOptions& options);
