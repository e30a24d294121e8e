// nomatool gfx OPS.txt OUT.png: replays host drawing operations (host/raster_script.h) on a
// fresh black surface and writes the surface as PNG.
#include <cstdio>
#include <string>

#include "host/raster_script.h"
#include "host/surface.h"
#include "tools/nomatool/commands.h"

int CmdGfx(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: nomatool gfx OPS.txt OUT.png\n");
        return 2;
    }
    std::string error;
    if (!RunRasterScript(argv[1], &error)) {
        std::fprintf(stderr, "nomatool: %s\n", error.c_str());
        return 1;
    }
    if (!HostSaveSurfacePng(argv[2])) {
        std::fprintf(stderr, "nomatool: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
