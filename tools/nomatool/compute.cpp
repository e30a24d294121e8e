// nomatool compute / compare FILE.res INDEX 'EXPR': ComputeRecord or CompareRecord on the
// INDEX-th active record of a resource file.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/sjis.h"
#include "resource/compute.h"
#include "tools/nomatool/commands.h"
#include "tools/nomatool/resource_print.h"

namespace {

Handle record_from_arguments(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: nomatool %s FILE.res INDEX 'EXPR'\n", argv[0]);
        return 0;
    }
    char* end = nullptr;
    long index = std::strtol(argv[2], &end, 10);
    if (!*argv[2] || *end || index < 1) {
        std::fprintf(stderr, "nomatool: INDEX must be a number from 1, not %s\n", argv[2]);
        return 0;
    }
    Handle resource = LoadResourceForTool(argv[1]);
    if (!resource) return 0;
    Handle record = ActiveRecordAt(resource, index);
    if (!record) std::fprintf(stderr, "nomatool: %s has no active record %ld\n", argv[1], index);
    return record;
}

}  // namespace

int CmdCompute(int argc, char** argv) {
    Handle record = record_from_arguments(argc, argv);
    if (!record) return argc == 4 ? 1 : 2;
    std::string text = Utf8ToSjis(argv[3]);
    int result = ComputeRecordCopy(record, text.c_str());
    std::fflush(stdout);
    PrintRecordItems(record);
    if (!result) {
        std::fprintf(stderr, "nomatool: the expression failed\n");
        return 1;
    }
    return 0;
}

int CmdCompare(int argc, char** argv) {
    Handle record = record_from_arguments(argc, argv);
    if (!record) return argc == 4 ? 1 : 2;
    std::string text = Utf8ToSjis(argv[3]);
    std::printf("%d\n", CompareRecordCopy(record, text.c_str()));
    return 0;
}
