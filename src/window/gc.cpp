#include "window/gc.h"

#include <cstring>

#include "resource/resource.h"
#include "window/colors.h"
#include "window/font.h"

namespace {

constexpr uint32_t kRamp[16] = {0x149632, 0x289632, 0x3C9632, 0x649632, 0x789632, 0x829632,
                                0x8C9632, 0x969632, 0xA09632, 0xAAA032, 0xB4A032, 0xBEAA32,
                                0xC8AA32, 0xD2B432, 0xDCB432, 0xFABE32};

uint8_t gc_serial = 0;

// GC records are unnumbered: the serial is a byte and would repeat after 256 GCs, and a
// repeated record number would hand out an existing GC.
Handle new_gc_record() {
    Handle h = CreateRecord(g_resources.gc, -1, sizeof(GCRecord));
    if (h) ++gc_serial;
    return h;
}

}  // namespace

GCRecord* gc_record(Handle gc) {
    if (!gc) return nullptr;
    HandleEntry* e = handle_entry(gc);
    if (!e || (e->flags & RECORD_INACTIVE) || e->size < sizeof(GCRecord)) return nullptr;
    return reinterpret_cast<GCRecord*>(handle_body(gc));
}

Handle CreateGC(uint32_t fill, uint32_t edge1, uint32_t edge2, uint32_t text) {
    Handle font = SystemFont();
    Handle h = new_gc_record();
    GCRecord* g = gc_record(h);
    if (!g) return 0;
    std::memset(g, 0, sizeof *g);
    g->fill = fill;
    g->edge1 = edge1;
    g->edge2 = edge2;
    g->text = text;
    g->font = font;
    g->reserved3 = 0xFFFF;
    g->reserved4 = 1;
    std::memcpy(g->ramp, kRamp, sizeof kRamp);
    return h;
}

Handle CopyGC(Handle gc) {
    if (!gc_record(gc)) return 0;
    Handle h = new_gc_record();
    GCRecord* copy = gc_record(h);
    GCRecord* source = gc_record(gc);  // re-read: the allocation may have moved it
    if (!copy || !source) return 0;
    std::memcpy(copy, source, sizeof *copy);
    return h;
}

uint8_t LastGCSerial() {
    return gc_serial;
}

void SetGCColors(Handle gc, uint32_t fill, uint32_t edge1, uint32_t edge2) {
    if (GCRecord* g = gc_record(gc)) {
        g->fill = fill;
        g->edge1 = edge1;
        g->edge2 = edge2;
    }
}

void SetGCTextColor(Handle gc, uint32_t color) {
    if (GCRecord* g = gc_record(gc)) g->text = color;
}

void SetGCFont(Handle gc, Handle font) {
    if (GCRecord* g = gc_record(gc)) g->font = font;
}

void SetGCTile(Handle gc, uint32_t bitmap) {
    if (GCRecord* g = gc_record(gc)) g->tile = bitmap;
}

void SwapGCEdges(Handle gc) {
    if (GCRecord* g = gc_record(gc)) {
        uint32_t e = g->edge1;
        g->edge1 = g->edge2;
        g->edge2 = e;
    }
}

void SetGCColorName(Handle gc, const char* name) {
    SetGCTextColor(gc, ColorByName(name));
}
