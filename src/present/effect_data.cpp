// The effect records, their lookups and notices, and what the player reads of message objects.
#include "present/effect_data.h"

#include <cstring>

#include "kernel/event.h"
#include "kernel/task.h"
#include "present/effect_task.h"
#include "resource/resource.h"
#include "window/backing_store.h"
#include "window/graphic.h"
#include "window/window.h"
#include "window/window_draw.h"

EffectState g_effect = {};

namespace {

EffectMessageReader g_reader = nullptr;

}  // namespace

void ResetEffects() {
    g_effect = {};
}

EffectData* effect_data(Handle record) {
    if (!record || !g_effect.resource) return nullptr;
    HandleEntry* e = handle_entry(record);
    if (!e || !e->body || e->owner != g_effect.resource || (e->flags & RECORD_INACTIVE))
        return nullptr;
    return reinterpret_cast<EffectData*>(record_body(record));
}

Handle FindEffectByObject(Handle object, uint16_t type) {
    for (Handle h = FirstRecord(g_effect.resource); h; h = NextRecord(h)) {
        const EffectData* r = effect_data(h);
        if (r && r->object == object && r->type == type) return h;
    }
    return 0;
}

Handle FindEffectByWindow(Handle window, uint32_t request_word) {
    for (Handle h = FirstRecord(g_effect.resource); h; h = NextRecord(h)) {
        const EffectData* r = effect_data(h);
        if (r && r->window == window && r->request_word == request_word) return h;
    }
    return 0;
}

int EffectCount() {
    return g_effect.resource ? RecordCount(g_effect.resource) : 0;
}

void SendEffectNotice(Handle record, uint16_t code) {
    EffectData* r = effect_data(record);
    if (!r) return;
    r->flags |= EFFECT_PAGE_DONE;
    EffectData copy = *r;
    Handle event = SendEvent(TASK_ID_EFFECT, copy.owner_id, code);
    EventRecord* e = event_record(event);
    if (!e) return;
    e->word_a = uint16_t(copy.request_word);
    std::memcpy(e->data + 4, &copy.window, 4);
    std::memcpy(e->data + 8, &copy.x, 2);
    std::memcpy(e->data + 10, &copy.y, 2);
}

void RemoveEffect(Handle record) {
    if (!effect_data(record)) return;
    FreeStrips(record);
    RemoveRecord(0, g_effect.resource, record);
}

void SetEffectMessageReader(EffectMessageReader reader) {
    g_reader = reader;
}

bool ReadEffectMessage(Handle object, EffectMessage* out) {
    *out = EffectMessage{};
    if (!g_reader || !object || !g_reader(object, out)) return false;
    return out->text && window_record(out->window);
}

void RepaintEffectBackground(Handle window) {
    WindowRecord* w = window_record(window);
    if (!w || !(w->mode & WIN_DRAWABLE)) return;
    if (w->backing_store)
        RestoreBackingStore(window);
    else
        draw_window_background(window);
}
