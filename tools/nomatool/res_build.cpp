// nomatool res-build DEFINITION.txt: builds the resource an item data definition file declares
// and saves it as its resource file. Names in the definition are relative to the current
// folder, as they are for the running system. When that resource file exists already, it is
// loaded and saved again: the definitions are not applied (the system does the same).
#include <cstdio>
#include <cstring>
#include <string>

#include "core/config.h"
#include "core/pool.h"
#include "host/file.h"
#include "host/sjis.h"
#include "resource/resource.h"
#include "resource/resource_file.h"
#include "text/item_data.h"
#include "tools/nomatool/commands.h"

namespace {

const char* type_word(const ItemDesc* d) {
    if (d->type == ITEMstring) return "ITEMstring";
    if (d->type == ITEMlong) return d->flags & ITEM_LIMITED ? "ITEMlimited" : "ITEMlong";
    return "other";
}

bool file_exists(const char* sjis_name) {
    FILE* f = HostFileOpen(sjis_name, "rb");
    if (f) HostFileClose(f);
    return f != nullptr;
}

}  // namespace

int CmdResBuild(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: nomatool res-build DEFINITION.txt\n");
        return 2;
    }
    if (!CreatePool() || !CreateSystemResources()) {
        std::fprintf(stderr, "nomatool: cannot create the system resources\n");
        return 1;
    }
    std::string definition = Utf8ToSjis(argv[1]);
    char resource_name[kIniValueSize];
    bool existed = GetIniString("ResourceName", resource_name, definition.c_str()) &&
                   file_exists(resource_name);
    Handle resource = CreateItemData(0, definition.c_str());
    if (!resource) {
        std::fprintf(stderr,
                     "nomatool: %s defines no resource (unreadable, or no ResourceName "
                     "or DataName)\n",
                     argv[1]);
        return 1;
    }
    if (existed)
        std::fprintf(stderr,
                     "nomatool: %s exists: it was loaded, the definitions were not "
                     "applied\n",
                     SjisToUtf8(resource_name).c_str());
    int saved = SaveResource(0, resource);
    const ResourceAttr* attr = resource_attr(resource);
    std::string name = SjisToUtf8(attr->name);
    std::printf("resource %s\n", name.c_str());
    std::printf("data name %s\n", SjisToUtf8(attr->data_name).c_str());
    std::printf("items %d, record size %u\n", int(attr->item_count), attr->record_size);
    for (const ItemDesc* d = item_desc(attr->first_item); d; d = item_desc(d->next)) {
        std::string item = SjisToUtf8(std::string(d->name, strnlen(d->name, sizeof d->name)));
        if (d->flags & ITEM_LIMITED)
            std::printf("  %s %s %u [%d..%d]\n", item.c_str(), type_word(d), d->size, d->lower,
                        d->upper);
        else
            std::printf("  %s %s %u\n", item.c_str(), type_word(d), d->size);
    }
    std::printf("records %d\n", RecordCount(resource));
    if (saved != 0) {
        std::fprintf(stderr, "nomatool: cannot save %s\n", name.c_str());
        return 1;
    }
    std::printf("saved %s\n", name.c_str());
    return 0;
}
