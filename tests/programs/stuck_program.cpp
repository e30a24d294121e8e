// A host whose program thread never comes back from its cycles and ignores the stop flag: the
// whole-system tests use it to see how the host ends when the system inside is stuck.
#include <cstdio>

#include "host/clock.h"
#include "host/message_loop.h"
#include "host/options.h"
#include "host/program_thread.h"

namespace {

void stuck_cycles() {
    std::fputs("stuck: cycles begin\n", stdout);
    std::fflush(stdout);
    for (;;)
        HostClockSleep(1);
}

}  // namespace

int main(int argc, char** argv) {
    HostOptions options;
    std::string error;
    if (!ParseHostOptions(argc, argv, &options, &error)) return 2;
    ProgramHooks program;
    program.run = stuck_cycles;
    HostSetProgramHooks(program);
    HostSystem system;
    system.start_up = HostSetStarted;
    return HostMain(options, system);
}
