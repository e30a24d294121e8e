#include "window/graphic.h"

#include <cstring>

#include "host/bitmap.h"
#include "host/bmp.h"
#include "resource/resource.h"

namespace {

Handle ResourceOrDefault(Handle resource) {
    return resource ? resource : g_resources.graphic_vram;
}

// A new record with a zeroed body; 0 when it cannot be made.
Handle NewRecord(Handle resource) {
    const Handle record = CreateRecord(resource, -1, sizeof(GraphicRecord));
    GraphicRecord* g = graphic_record(record);
    if (!g) return 0;
    std::memset(g, 0, sizeof *g);
    return record;
}

}  // namespace

GraphicRecord* graphic_record(Handle graphic) {
    return reinterpret_cast<GraphicRecord*>(record_body(graphic));
}

Handle CreateGraphic(Handle owner, Handle resource, int width, int height) {
    resource = ResourceOrDefault(resource);
    const Handle record = NewRecord(resource);
    if (!record) return 0;
    const uint32_t bitmap = HostCreateBitmap(width, height);
    if (!bitmap) {
        RemoveRecord(owner, resource, record);
        return 0;
    }
    GraphicRecord* g = graphic_record(record);
    g->width = uint16_t(width);
    g->height = uint16_t(height);
    g->bitmap = bitmap;
    return record;
}

Handle LoadGraphic(Handle owner, Handle resource, const char* name) {
    (void)owner;
    resource = ResourceOrDefault(resource);
    if (!HostLoadBmp(name)) return 0;
    const Handle record = NewRecord(resource);
    if (!record) {
        HostFreeBmpState();
        return 0;
    }
    int width, height;
    const uint32_t bitmap = HostTakeBmpBitmap();
    HostBitmapSize(bitmap, &width, &height);
    GraphicRecord* g = graphic_record(record);
    g->width = uint16_t(width);
    g->height = uint16_t(height);
    g->bitmap = bitmap;
    std::strncpy(g->name, name, sizeof g->name - 1);
    HostFreeBmpState();
    return record;
}

Handle FindOrLoadGraphic(Handle owner, Handle resource, const char* name) {
    resource = ResourceOrDefault(resource);
    if (std::strlen(name) < sizeof(GraphicRecord::name)) {
        for (Handle h = FirstRecord(resource); h; h = NextRecord(h)) {
            const GraphicRecord* g = graphic_record(h);
            if (g && std::strncmp(g->name, name, sizeof g->name) == 0) return h;
        }
    }
    return LoadGraphic(owner, resource, name);
}

void FreeGraphic(Handle owner, Handle resource, Handle graphic) {
    resource = ResourceOrDefault(resource);
    GraphicRecord* g = graphic_record(graphic);
    if (!g) return;
    HostDeleteBitmap(g->bitmap);
    if (g->mask) HostDeleteBitmap(g->mask);
    RemoveRecord(owner, resource, graphic);
}
