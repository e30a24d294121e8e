// noma: the program entry. The composition root puts the system together and the host brings
// up the window, the program thread and the message loop; the command line only chooses the
// folder and how the run is driven.
#include <cstdio>
#include <string>

#include "app/compose.h"
#include "host/options.h"

int main(int argc, char** argv) {
    HostOptions options;
    std::string error;
    if (!ParseHostOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "noma: %s\n%s", error.c_str(), kHostUsage);
        return 2;
    }
    return RunSystem(options);
}
