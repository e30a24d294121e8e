// nomatool ini-get FILE KEY: a key as GetIniString, GetIniNumber and GetIniBool read it.
#include <cstdio>
#include <string>

#include "core/config.h"
#include "host/sjis.h"
#include "tools/nomatool/commands.h"

int CmdIniGet(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: nomatool ini-get FILE KEY\n");
        return 2;
    }
    std::string file = Utf8ToSjis(argv[1]);
    std::string key = Utf8ToSjis(argv[2]);
    char value[kIniValueSize];
    const char* found = GetIniString(key.c_str(), value, file.c_str());
    std::printf("string %s\n", found ? SjisToUtf8(found).c_str() : "");
    std::printf("number %d\n", GetIniNumber(key.c_str(), file.c_str()));
    std::printf("bool %d\n", GetIniBool(key.c_str(), file.c_str()));
    return 0;
}
