// The program entry of the host: one copy per working folder, the windows, the program
// thread and the message loop on the main thread.
#pragma once

#include "host/options.h"

// Runs the program; returns its exit status.
int HostMain(const HostOptions& options);
