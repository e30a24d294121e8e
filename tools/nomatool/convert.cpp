// nomatool sjis / utf8: convert a whole file between UTF-8 and CP932.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "host/sjis.h"
#include "tools/nomatool/commands.h"

namespace {

int convert(int argc, char** argv, std::string (*conversion)(std::string_view)) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nomatool %s FILE\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "nomatool: cannot open %s\n", argv[1]);
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string out = conversion(text);
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}

}  // namespace

int CmdSjis(int argc, char** argv) { return convert(argc, argv, Utf8ToSjis); }
int CmdUtf8(int argc, char** argv) { return convert(argc, argv, SjisToUtf8); }
