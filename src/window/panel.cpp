#include "window/panel.h"

#include "host/raster.h"
#include "window/draw.h"
#include "window/gc.h"
#include "window/window.h"

void Panel(int x, int y, int width, int height, int edge, Handle gc) {
    GCRecord* g = gc_record(gc);
    if (!g) return;
    uint32_t fill = g->fill, edge1 = g->edge1, edge2 = g->edge2;
    HostFillRect(x, y, width, height, fill);
    HostFillRect(x, y, width - edge, edge, edge1);
    HostFillRect(x, y, edge, height - edge, edge1);
    HostFillRect(x, y + height - edge, width - edge, edge, edge2);
    HostFillRect(x + width - edge, y + edge, edge, height - edge, edge2);
}

void WinPanel(Handle window, int edge, Handle gc) {
    WindowRecord* w = window_record(window);
    if (!w || !(w->mode & WIN_DRAWABLE)) return;
    Panel(w->origin_x + w->x, w->origin_y + w->y, w->width, w->height, edge, gc);
}

void GradationBand(Handle window, int x, int width, int /*ramp_index*/, int height) {
    WindowRecord* w = window_record(window);
    GCRecord* g = w ? gc_record(w->gc) : nullptr;
    if (!g) return;
    // The ramp runs from dark to bright; band i always takes entry i, so the band reads as
    // one sweep whatever ramp index the caller passes.
    uint32_t ramp[16];
    for (int i = 0; i < 16; ++i)
        ramp[i] = g->ramp[i];
    int band = width / 16;
    for (int i = 0; i < 16; ++i)
        FillRectangle(window, x + i * band, 0, uint16_t(band), uint16_t(height), ramp[i]);
}
