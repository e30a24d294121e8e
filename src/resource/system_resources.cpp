// The system resources of the start-up: the group resource with the group "NOMA" and the
// resources every part of the kernel keeps its records in.
#include <cstring>

#include "resource/resource.h"

bool CreateSystemResources() {
    g_resources.group = CreateResource(0, "Resource.res", "Group");
    Handle noma = CreateRecord(g_resources.group, 0, sizeof(GroupRecord));
    if (auto* group = reinterpret_cast<GroupRecord*>(record_body(noma))) {
        std::memset(group, 0, sizeof *group);
        std::strcpy(group->name, "NOMA");
        group->number = 0;
        group->created = ClockNow();
    }
    g_current_group = 0;

    struct Entry {
        const char* data_name;
        Handle SystemResources::*field;
    };
    static constexpr Entry kSystem[] = {
        {"Window", &SystemResources::window},
        {"Object", &SystemResources::object},
        {"Graphic VRAM", &SystemResources::graphic_vram},
        {"Code", &SystemResources::code},
        {"Event", &SystemResources::event},
        {"Task", &SystemResources::task},
        {"Font", &SystemResources::font},
        {"Menu", &SystemResources::menu},
        {"GC", &SystemResources::gc},
        {"Text", &SystemResources::text},
        {"Item", &SystemResources::item},
    };
    bool complete = g_resources.group && noma;
    for (const Entry& entry : kSystem) {
        g_resources.*entry.field = CreateResource(0, "Resource.res", entry.data_name);
        complete = complete && g_resources.*entry.field;
    }
    return complete;
}
