// nomatool check GAMEDIR: the scenario checker. Prints one line per finding (UTF-8) on stdout
// and a summary on stderr; exit status 0 clean, 1 findings, 2 the game cannot be loaded.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "host/sjis.h"
#include "tools/nomatool/check_game.h"
#include "tools/nomatool/commands.h"

int CmdCheck(int argc, char** argv) {
    long states = kDefaultSearchStates;
    if (argc == 4 && std::strcmp(argv[1], "--states") == 0) {
        char* end = nullptr;
        states = std::strtol(argv[2], &end, 10);
        if (*end || states < 1 || states > 100000000) states = 0;
        argc -= 2;
        argv += 2;
    }
    if (argc != 2 || states == 0) {
        std::fprintf(stderr, "usage: nomatool check [--states N] GAMEDIR\n");
        return 2;
    }
    std::error_code error;
    std::filesystem::current_path(argv[1], error);
    if (error) {
        std::fprintf(stderr, "nomatool check: cannot enter %s: %s\n", argv[1],
                     error.message().c_str());
        return 2;
    }
    GameCheck check = CheckGame(int(states));
    if (check.status == 2) {
        std::fprintf(stderr, "nomatool check: the game cannot be loaded: %s\n",
                     SjisToUtf8(check.fatal).c_str());
        return 2;
    }
    for (const std::string& line : check.findings)
        std::printf("%s\n", line.c_str());
    std::fflush(stdout);
    std::fprintf(stderr, "nomatool check: %zu finding%s; %d player state%s searched%s\n",
                 check.findings.size(), check.findings.size() == 1 ? "" : "s", check.states,
                 check.states == 1 ? "" : "s",
                 check.bounded ? " (the search bound was reached)" : "");
    return check.status;
}
