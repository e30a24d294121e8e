// EffectTask: the text effect player. A task asks for an effect with one request event (1283);
// the player keeps one record per running effect, moves every effect on by one step on each
// tick event and tells the owner of the effect's window when the effect is done. Holding Ctrl
// gives every text effect one more character per cycle.
#include "present/effect_task.h"

#include <cstring>
#include <vector>

#include "core/log.h"
#include "host/input.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "present/effect_data.h"
#include "resource/resource.h"
#include "window/font.h"
#include "window/window.h"

namespace {

constexpr int kLineGridTicks = 20;  // the notice comes after the 21st tick
constexpr int kBandWipeTicks = 15;  // ... after the 16th
constexpr int kRevealInterval = 5;
constexpr int kRevealPasses = 4;
// Types with this bit (4 to 7) outlive a redraw of their window.
constexpr uint16_t kTypeKeptOnRedraw = 0x04;

void start() {
    if (!g_effect.resource) {
        g_effect.resource = FindResource("Resource.res", "EffectData");
        if (!g_effect.resource) g_effect.resource = CreateResource(0, "Resource.res", "EffectData");
    }
    if (!g_effect.font28) g_effect.font28 = CreateFont(28, 28, 2, nullptr);
    if (!g_effect.font36) g_effect.font36 = CreateFont(36, 36, 2, nullptr);
}

// Type 6: the running effect of this window and request word takes the new mode.
void change_mode(const EventRecord& e, const EffectRequestData& d) {
    if (EffectData* r = effect_data(FindEffectByWindow(d.window, e.word_a))) r->mode = d.mode;
}

// A request for an object and type that already has an effect: a reveal of a capture in the
// same window turns the capture into the reveal (true: nothing more to do); otherwise the old
// record goes, with notice 1286.
bool replace_existing(const EffectRequestData& d, uint16_t type) {
    // A reveal looks for the capture it reveals.
    Handle old =
        FindEffectByObject(d.object, type == EFFECT_REVEAL ? uint16_t(EFFECT_CAPTURE) : type);
    if (!old && type == EFFECT_REVEAL) old = FindEffectByObject(d.object, type);
    if (!old) return false;
    EffectData* r = effect_data(old);
    if (type == EFFECT_REVEAL && r->window == d.window && r->type == EFFECT_CAPTURE) {
        r->type = EFFECT_REVEAL;
        return true;
    }
    if (type == EFFECT_TEXT && r->window == d.window) {
        EffectMessage m;
        if (ReadEffectMessage(d.object, &m)) RepaintEffectBackground(m.window);
    }
    LogLinef("同一ｴﾌｪｸﾄﾃﾞｰﾀが存在するため、古い方を削除します  count rec %d\n"_sj, EffectCount());
    // The notice goes out before the record is removed: it reads the record's fields.
    SendEffectNotice(old, EFFECT_REPLACED);
    RemoveEffect(old);
    return false;
}

void request(const EventRecord& e) {
    if (!g_effect.resource) return;
    EffectRequestData d;
    std::memcpy(&d, e.data, sizeof d);
    uint16_t type = uint16_t(e.long_a);
    if (type == EFFECT_SET_MODE) {
        change_mode(e, d);
        return;
    }
    if (replace_existing(d, type)) return;
    Handle record = CreateRecord(g_effect.resource, -1, sizeof(EffectData));
    EffectData* r = effect_data(record);
    if (!r) return;
    std::memset(r, 0, sizeof *r);
    r->owner_id = window_owner_id(d.window);
    r->request_word = e.word_a;
    r->type = type;
    r->window = d.window;
    r->object = d.object;
    r->color = r->base_color = e.value;
    r->mode = d.mode;
    r->x = d.x;
    r->y = d.y;
    r->width = d.width;
    r->height = d.height;
}

// A record whose window cannot be drawn does nothing this tick (true); it ends, with 1285, when
// the window is no longer open or, for the types without bit 0x04, is about to be redrawn.
bool window_lost(Handle record) {
    EffectData* r = effect_data(record);
    uint32_t mode = window_mode(r->window);
    if (mode & WIN_DRAWABLE) return false;
    bool kept = r->type & kTypeKeptOnRedraw;
    if ((!kept && (mode & WIN_REDRAW)) || !(mode & WIN_OPEN)) {
        SendEffectNotice(record, EFFECT_STOPPED);
        RemoveEffect(record);
    }
    return true;
}

void finish(Handle record, uint16_t notice) {
    SendEffectNotice(record, notice);
    RemoveEffect(record);
}

void reveal_tick(Handle record) {
    EffectData* r = effect_data(record);
    if (++r->position % kRevealInterval) return;
    int pass = int(r->mode++);
    RevealPass(record, pass);
    if (pass + 1 >= kRevealPasses) RemoveEffect(record);
}

void step(Handle record) {
    if (window_lost(record)) return;
    EffectData* r = effect_data(record);
    if (r->flags & EFFECT_PAGE_DONE) return;
    switch (r->type) {
        case EFFECT_LINE_GRID:
            LineGridStep(record);
            if (int(++effect_data(record)->position) > kLineGridTicks)
                finish(record, EFFECT_STOPPED);
            break;
        case EFFECT_BAND_WIPE:
            BandWipeStep(record);
            if (int(++effect_data(record)->position) > kBandWipeTicks)
                finish(record, EFFECT_STOPPED);
            break;
        case EFFECT_TEXT:
            if (TextEffectStep(record)) SendEffectNotice(record, EFFECT_DONE);
            break;
        case EFFECT_CAPTURE:
            if (r->first_strip) break;  // captured: waits for the reveal request
            if (!CaptureArea(record)) {
                RemoveEffect(record);
                break;
            }
            reveal_tick(record);
            break;
        case EFFECT_REVEAL:
            reveal_tick(record);
            break;
        case EFFECT_WHITE_OUT:
        case EFFECT_BLACK_OUT:
            if (FadeStep(record)) SendEffectNotice(record, EFFECT_DONE);
            break;
        default:
            LogLinef("NON suport effect request. type %d", int(r->type));
            break;
    }
}

std::vector<Handle> live_records() {
    std::vector<Handle> records;
    for (Handle h = FirstRecord(g_effect.resource); h; h = NextRecord(h))
        records.push_back(h);
    return records;
}

// Every record, in order, one step. A step may remove its own record (and a text step that
// redraws may end others), so each is checked before it runs.
void step_all() {
    for (Handle h : live_records())
        if (effect_data(h)) step(h);
}

void ctrl_steps() {
    for (Handle h : live_records()) {
        EffectData* r = effect_data(h);
        if (r && r->type == EFFECT_TEXT && TextEffectStep(h)) SendEffectNotice(h, EFFECT_DONE);
    }
}

}  // namespace

void EffectTask(Handle task) {
    if (ReciveEvent(task) == RECEIVE_EVENT) {
        if (const EventRecord* e = event_record(CurrentEvent(task))) {
            EventRecord copy = *e;  // handling allocates, which may move the record
            switch (copy.code) {
                case EVENT_START:
                    start();
                    break;
                case EVENT_EFFECT_REQUEST:
                    request(copy);
                    break;
                case EVENT_HALF_SECOND:
                case EVENT_QUARTER_SECOND:
                case EVENT_TICK:
                    if (g_effect.resource) step_all();
                    break;
                default:
                    break;
            }
        }
    }
    if (g_effect.resource && EffectCount() > 0 && (HostModifiers() & MOD_CONTROL)) ctrl_steps();
}
