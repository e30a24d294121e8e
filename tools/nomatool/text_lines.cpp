// nomatool text-lines FILE: reads FILE into a text object and prints every line as
// GetTextLine returns it (tabs expanded), converted to UTF-8. The text's line count and size
// go to stderr, so stdout holds the lines and nothing else.
#include <cstdio>
#include <string>
#include <vector>

#include "core/pool.h"
#include "host/sjis.h"
#include "resource/resource.h"
#include "text/text.h"
#include "tools/nomatool/commands.h"

int CmdTextLines(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nomatool text-lines FILE\n");
        return 2;
    }
    if (!CreatePool() || !CreateSystemResources()) {
        std::fprintf(stderr, "nomatool: cannot create the system resources\n");
        return 1;
    }
    std::string name = Utf8ToSjis(argv[1]);
    Handle text = CreateText(0, name.c_str(), 0);
    int status = text ? ReadTextFile(text) : 1;
    if (status != 0) {
        std::fprintf(stderr, "nomatool: cannot read %s%s\n", argv[1],
                     status == 6 ? "" : " (out of memory)");
        return 1;
    }
    const TextHeader* h = text_header(text);
    uint32_t lines = h->lines;
    std::fprintf(stderr, "lines %u size %u\n", lines, h->size);
    std::vector<char> line(kTextLineSize);
    for (uint32_t y = 0; y <= lines; ++y) {
        const char* got = GetTextLine(text, int(y), line.data(), line.size());
        std::string utf8 = SjisToUtf8(got ? got : "");
        std::fwrite(utf8.data(), 1, utf8.size(), stdout);
        std::fputc('\n', stdout);
    }
    return 0;
}
