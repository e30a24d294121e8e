// The anime records, their picture caches, the end notice and the removal of an animation.
// A cache is a chain of small entry records (name, graphic, next) so a looping script finds
// its pictures again by the name it asked for, however long, and never loads a file twice
// while the picture stays cached.
#include "present/anime_data.h"

#include <cstring>

#include "core/log.h"
#include "host/sjis_literal.h"
#include "kernel/event.h"
#include "kernel/task.h"
#include "resource/resource.h"
#include "text/text.h"
#include "window/graphic.h"
#include "window/win_bitmap.h"
#include "window/win_text.h"
#include "window/window.h"

AnimeState g_anime = {};
int64_t g_anime_cache_pixels = int64_t(16) << 20;

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

AnimePicture* picture_entry(Handle entry) {
    if (!entry || !g_anime.cache) return nullptr;
    HandleEntry* e = handle_entry(entry);
    if (!e || !e->body || e->owner != g_anime.cache || (e->flags & RECORD_INACTIVE)) return nullptr;
    return reinterpret_cast<AnimePicture*>(record_body(entry));
}

Handle open_resource(const char* data_name) {
    Handle r = FindResource("Resource.res", data_name);
    return r ? r : CreateResource(0, "Resource.res", data_name);
}

void copy_name(char* to, const char* from) {
    size_t n = strnlen(from, kAnimeNameSize - 1);
    std::memcpy(to, from, n);
    to[n] = 0;
}

int64_t graphic_pixels(Handle graphic) {
    const GraphicRecord* g = graphic_record(graphic);
    return g ? int64_t(g->width) * g->height : 0;
}

void free_entry(Handle entry) {
    if (AnimePicture* p = picture_entry(entry)) {
        Handle graphic = p->graphic;
        FreeGraphic(g_anime.task, g_anime.graphics, graphic);
        RemoveRecord(g_anime.task, g_anime.cache, entry);
    }
}

// Drops the oldest pictures after the first until the cache plus `incoming` pixels fit.
void make_room(Handle record, int64_t incoming) {
    AnimeData* r = anime_data(record);
    if (!r) return;
    int64_t total = incoming;
    for (Handle h = r->pictures; const AnimePicture* p = picture_entry(h); h = p->next)
        total += graphic_pixels(p->graphic);
    Handle first = r->pictures;
    while (total > g_anime_cache_pixels) {
        AnimePicture* head = picture_entry(first);
        AnimePicture* victim = head ? picture_entry(head->next) : nullptr;
        if (!victim) break;
        Handle gone = head->next;
        head->next = victim->next;
        total -= graphic_pixels(victim->graphic);
        free_entry(gone);
    }
}

// The cache entry of `name`, loading the picture when it is not cached; 0 when it cannot be
// loaded.
Handle cached_graphic(Handle record, const char* name) {
    char key[kAnimeNameSize];
    copy_name(key, name);
    AnimeData* r = anime_data(record);
    for (Handle h = r ? r->pictures : 0; const AnimePicture* p = picture_entry(h); h = p->next)
        if (std::strcmp(p->name, key) == 0) return p->graphic;
    Handle graphic = LoadGraphic(g_anime.task, g_anime.graphics, key);
    if (!graphic) return 0;
    make_room(record, graphic_pixels(graphic));
    Handle entry = CreateRecord(g_anime.cache, -1, sizeof(AnimePicture));
    AnimePicture* p = picture_entry(entry);
    if (!p) {
        FreeGraphic(g_anime.task, g_anime.graphics, graphic);
        return 0;
    }
    p->graphic = graphic;
    p->next = 0;
    copy_name(p->name, key);
    // The room made may have removed the old last entry: find the end again.
    r = anime_data(record);
    Handle last = 0;
    for (Handle h = r->pictures; const AnimePicture* q = picture_entry(h); h = q->next)
        last = h;
    if (AnimePicture* tail = picture_entry(last))
        tail->next = entry;
    else
        anime_data(record)->pictures = entry;
    return graphic;
}

}  // namespace

void ResetAnime() {
    g_anime = {};
}

void OpenAnimeResources(Handle task) {
    g_anime.task = task;
    if (!g_anime.resource) g_anime.resource = open_resource("AnimeData");
    if (!g_anime.cache) g_anime.cache = open_resource("AnimeCache");
    if (!g_anime.graphics) g_anime.graphics = open_resource("AnimeGraphic");
}

AnimeData* anime_data(Handle record) {
    if (!record || !g_anime.resource) return nullptr;
    HandleEntry* e = handle_entry(record);
    if (!e || !e->body || e->owner != g_anime.resource || (e->flags & RECORD_INACTIVE))
        return nullptr;
    return reinterpret_cast<AnimeData*>(record_body(record));
}

Handle FindAnimeByWindow(Handle window) {
    for (Handle h = FirstRecord(g_anime.resource); h; h = NextRecord(h)) {
        const AnimeData* r = anime_data(h);
        if (r && r->window == window) return h;
    }
    return 0;
}

void EndAnime(Handle record) {
    AnimeData* r = anime_data(record);
    if (!r) return;
    uint32_t owner = r->owner_id;
    Handle window = r->window;
    bool kept = r->flags & ANIME_KEEP;
    r->flags &= ~ANIME_RUNNING;
    if (EventRecord* e = event_record(SendEvent(TASK_ID_ANIME, owner, EVENT_ANIME_END))) {
        e->word_a = 0;
        std::memcpy(e->data + 4, &window, sizeof window);
    }
    if (!kept) RemoveAnime(record);
}

void RemoveAnime(Handle record) {
    AnimeData* r = anime_data(record);
    if (!r) return;
    r->flags = 0;
    LogLinef("delete anime!! %s", r->script_name);
    for (Handle h = r->pictures; h;) {
        const AnimePicture* p = picture_entry(h);
        if (!p) break;
        Handle next = p->next;
        free_entry(h);
        h = next;
    }
    r = anime_data(record);
    r->pictures = 0;
    Handle script = r->script;
    bool shared = false;
    for (Handle h = FirstRecord(g_anime.resource); h && script; h = NextRecord(h)) {
        const AnimeData* other = anime_data(h);
        shared |= h != record && other && other->script == script;
    }
    // Animations of the same script share its text object: the last one closes it.
    if (script && !shared) CloseText(g_anime.task, script);
    RemoveRecord(g_anime.task, g_anime.resource, record);
    if (g_anime.count > 0) --g_anime.count;
}

bool DrawAnimePicture(Handle record, const char* name) {
    Handle graphic = cached_graphic(record, name);
    if (!graphic) {
        LogLinef("no graphic %s", name);
        return false;
    }
    const AnimeData r = *anime_data(record);
    if (!(window_mode(r.window) & WIN_DRAWABLE)) LogLine("anime window描画禁止です"_sj);
    const GraphicRecord g = *graphic_record(graphic);
    if (r.flags & ANIME_FOCUS)
        WinStretchBitmapPart(r.window, r.x, r.y, g.width, g.height, g.bitmap, r.focus_x, r.focus_y,
                             r.focus_width, r.focus_height);
    else
        WinDrawBitmap(r.window, r.x, r.y, g.bitmap);
    if (r.flags & ANIME_DEBUG_FLAG) WinColorMessage(r.window, 10, 10, name, kWhite);
    return true;
}

Handle FirstAnimeGraphic(Handle record) {
    const AnimeData* r = anime_data(record);
    const AnimePicture* p = r ? picture_entry(r->pictures) : nullptr;
    return p ? p->graphic : 0;
}

int AnimePictureCount(Handle record) {
    const AnimeData* r = anime_data(record);
    int n = 0;
    for (Handle h = r ? r->pictures : 0; const AnimePicture* p = picture_entry(h); h = p->next)
        ++n;
    return n;
}
