#include "window/backing_store.h"

#include "core/log.h"
#include "host/bitmap_draw.h"
#include "host/sjis_literal.h"
#include "window/graphic.h"
#include "window/window.h"

namespace {

// The bitmap of the window's backing store, or 0 when it keeps none.
uint32_t store_bitmap(Handle window) {
    WindowRecord* w = window_record(window);
    GraphicRecord* g = w ? graphic_record(w->backing_store) : nullptr;
    return g ? g->bitmap : 0;
}

}  // namespace

void BackingStore(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w) return;
    Handle owner = w->owner, old = w->backing_store;
    w->backing_store = 0;
    if (old) FreeGraphic(owner, 0, old);
    Handle store = CreateGraphic(owner, 0, outer_width(window), outer_height(window));
    w = window_record(window);
    if (!store) {
        LogLinef("BackingStoreでメモリ確保に失敗 %s"_sj, window_owner_name(window));
        w->mode &= ~WIN_BACKSTORE;
        return;
    }
    w->backing_store = store;
    w->mode |= WIN_BACKSTORE;
}

void SaveBackingStore(Handle window) {
    if (uint32_t bitmap = store_bitmap(window))
        HostSaveScreenArea(bitmap, outer_left(window), outer_top(window), outer_width(window),
                           outer_height(window));
}

void RestoreBackingStore(Handle window) {
    if (uint32_t bitmap = store_bitmap(window))
        HostPutScreenArea(bitmap, outer_left(window), outer_top(window), outer_width(window),
                          outer_height(window));
}
