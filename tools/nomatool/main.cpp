// nomatool: the author's and tester's command-line toolbox.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/nomatool/commands.h"

namespace {

struct Command {
    const char* name;
    const char* usage;
    int (*run)(int argc, char** argv);  // argv[0] is the subcommand
};

const Command kCommands[] = {
    {"sjis", "sjis FILE          UTF-8 file -> CP932 on stdout", CmdSjis},
    {"utf8", "utf8 FILE          CP932 file -> UTF-8 on stdout", CmdUtf8},
    {"res-dump", "res-dump FILE.res  every field of a resource file", CmdResDump},
    {"compute", "compute FILE.res INDEX 'EXPR'  run it, print the record's items", CmdCompute},
    {"compare", "compare FILE.res INDEX 'EXPR'  CompareRecord: 1 or 0", CmdCompare},
    {"ini-get", "ini-get FILE KEY   the key as string, number and bool", CmdIniGet},
    {"gfx", "gfx OPS.txt OUT.png  replay host drawing operations into a PNG", CmdGfx},
    {"demo-art", "demo-art DIR       paint the demo's start-screen pictures into DIR", CmdDemoArt},
    {"text-lines", "text-lines FILE    every line as GetTextLine returns it", CmdTextLines},
    {"res-build", "res-build DEF.txt  item data file -> its resource file", CmdResBuild},
    {"check", "check GAMEDIR      report what would go wrong in the game (0 clean, 1 findings)",
     CmdCheck},
};

int usage() {
    std::fprintf(stderr, "usage: nomatool COMMAND ARGS...\n");
    for (const Command& c : kCommands)
        std::fprintf(stderr, "  nomatool %s\n", c.usage);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    for (const Command& c : kCommands)
        if (!std::strcmp(argv[1], c.name)) return c.run(argc - 1, argv + 1);
    std::fprintf(stderr, "nomatool: unknown command %s\n", argv[1]);
    return usage();
}
