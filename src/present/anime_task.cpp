// AnimeTask: the animation player. A task starts an animation in one of its windows with one
// request event (1283); the player keeps one record per animation, moves every running one on
// by one tick on each timer event (at most one picture drawn per animation and tick) and
// tells the window's owner with 1288 when an animation ends.
#include "present/anime_task.h"

#include <cstring>
#include <vector>

#include "core/log.h"
#include "host/sjis_literal.h"
#include "kernel/dialog.h"
#include "kernel/event.h"
#include "kernel/scheduler.h"
#include "kernel/task.h"
#include "present/anime_data.h"
#include "present/anime_script.h"
#include "resource/resource.h"
#include "text/text.h"
#include "window/graphic.h"
#include "window/window.h"

namespace {

constexpr size_t kScriptLineSize = 1024;

int16_t clamp16(int32_t v) {
    return int16_t(v < INT16_MIN ? INT16_MIN : v > INT16_MAX ? INT16_MAX : v);
}

// Lines of the script: the empty remainder after a final newline is no line of its own.
int16_t script_lines(Handle text) {
    const TextHeader* h = text_header(text);
    if (!h) return 0;
    int32_t last = int32_t(h->lines);
    char line[8];
    GetTextLine(text, last, line, sizeof line);
    return clamp16(line[0] ? last + 1 : last);
}

// Start (type 1): the record, then the script. A script that cannot be read leaves the record
// there, not running.
void start(Handle task, const AnimeRequestData& d) {
    Handle record = CreateRecord(g_anime.resource, -1, sizeof(AnimeData));
    AnimeData* r = anime_data(record);
    if (!r) {
        MessageDialog("データの作成に失敗"_sj);
        return;
    }
    std::memset(r, 0, sizeof *r);
    r->window = d.window;
    r->owner_id = window_owner_id(d.window);
    r->press_line = -1;
    r->x = d.x;
    r->y = d.y;
    char name[kAnimeNameSize];
    std::memcpy(name, d.script, sizeof name);
    name[sizeof name - 1] = 0;
    Handle text = CreateText(task, name, 0);
    if (!text) {
        LogLine("指定されたREVOvarｽｸﾘﾌﾟﾄが読み込めませんでした。"_sj);
        return;
    }
    anime_data(record)->script = text;
    if (ReadTextFile(text) != 0) return;
    int16_t lines = script_lines(text);
    r = anime_data(record);
    std::memcpy(r->script_name, name, sizeof name);
    r->line = 0;
    r->loop_mode = ANIME_SEQUENCE_NONE;
    r->flags = ANIME_RUNNING;
    r->tick_count = 0;
    r->wait = 1;
    r->line_count = lines;
    ++g_anime.count;
}

void press(AnimeData* r) {
    if (r->press_line == -1) return;
    r->line = r->press_line;
    r->press_line = -1;
}

// Set focus (type 8): focus x and y given in the first picture's scale come down to the focus
// rectangle's. A ratio of 0 (a focus wider than the picture, or no width) leaves them as given.
void set_focus(Handle record, const AnimeRequestData& d) {
    int x = d.x, y = d.y;
    const GraphicRecord* g = graphic_record(FirstAnimeGraphic(record));
    if (g && x > 0 && y > 0 && d.focus_width > 0) {
        int ratio = g->width / d.focus_width;
        if (ratio > 0) {
            x /= ratio;
            y /= ratio;
        }
    }
    AnimeData* r = anime_data(record);
    r->flags |= ANIME_FOCUS;
    r->focus_x = int16_t(x);
    r->focus_y = int16_t(y);
    r->focus_width = d.focus_width;
    r->focus_height = d.focus_height;
}

// Move focus (type 7): the focus origin, kept inside the first picture.
void move_focus(Handle record, const AnimeRequestData& d) {
    int x = d.x, y = d.y;
    AnimeData* r = anime_data(record);
    if (const GraphicRecord* g = graphic_record(FirstAnimeGraphic(record))) {
        if (x + r->focus_width > g->width) x = g->width - r->focus_width;
        if (y + r->focus_height > g->height) y = g->height - r->focus_height;
        if (x < 0) {
            x = 0;
            LogLine("    focus_anime() in tasks error  x = 0");
        }
        if (y < 0) {
            y = 0;
            LogLine("    focus_anime() in tasks error  y = 0");
        }
    }
    r->focus_x = int16_t(x);
    r->focus_y = int16_t(y);
}

// Free cache (type 4): the kept animations of the requesting task that have ended go.
void free_cache(uint32_t requester) {
    std::vector<Handle> kept;
    for (Handle h = FirstRecord(g_anime.resource); h; h = NextRecord(h)) {
        const AnimeData* r = anime_data(h);
        if (r && (r->flags & ANIME_KEEP) && !(r->flags & ANIME_RUNNING) && r->owner_id == requester)
            kept.push_back(h);
    }
    for (Handle h : kept)
        RemoveAnime(h);
}

// Stop (type 0): a running animation ends (notice, removal unless kept); one that has already
// ended and stayed (kept, or its script never loaded) is removed.
void stop(Handle record) {
    AnimeData* r = anime_data(record);
    if (r->flags & ANIME_RUNNING)
        EndAnime(record);
    else if (r->flags & ANIME_KEEP)
        RemoveAnime(record);
    else
        EndAnime(record);
}

void request(Handle task, const EventRecord& e) {
    if (!g_anime.resource) return;
    AnimeRequestData d;
    std::memcpy(&d, e.data, sizeof d);
    if (e.long_a == ANIME_START) {
        start(task, d);
        return;
    }
    if (e.long_a == ANIME_FREE_CACHE) {
        LogLine("パタアニcash free"_sj);
        free_cache(e.source);
        return;
    }
    Handle record = FindAnimeByWindow(d.window);
    AnimeData* r = anime_data(record);
    if (!r) return;
    switch (e.long_a) {
        case ANIME_STOP:
            stop(record);
            break;
        case ANIME_PRESS:
            LogLine("press animewindow");
            press(r);
            break;
        case ANIME_START_STOP:
            LogLine("ANIME start & stop");
            r->flags ^= ANIME_RUNNING;
            break;
        case ANIME_DEBUG:
            LogLine("パタアニdebug mode"_sj);
            r->flags ^= ANIME_DEBUG_FLAG;
            LogLine(r->flags & ANIME_DEBUG_FLAG ? "ANIME debug on" : "ANIME debug off");
            break;
        case ANIME_MOVE_FOCUS:
            move_focus(record, d);
            break;
        case ANIME_SET_FOCUS:
            set_focus(record, d);
            break;
        case ANIME_FOCUS_OFF:
            r->flags &= ~ANIME_FOCUS;
            break;
        default:
            break;
    }
}

// One tick of a picture sequence: 0 to go on, 1 when its picture cannot be drawn.
int sequence_tick(Handle record) {
    char name[kAnimeNameSize];
    AnimeData* r = anime_data(record);
    FormatSequenceName(r->loop_format, int32_t(r->loop_counter), name, sizeof name);
    if (!DrawAnimePicture(record, name)) {
        LogLinef("AnimeTask sync_anime() draw_graphic error  %s.", name);
        return 1;
    }
    r = anime_data(record);
    int32_t counter = int32_t(r->loop_counter), limit = int32_t(r->loop_limit);
    if (r->loop_mode == ANIME_SEQUENCE_UP) {
        if (counter < INT32_MAX) ++counter;
        if (counter >= limit) r->loop_mode = ANIME_SEQUENCE_NONE;
    } else {
        if (counter > INT32_MIN) --counter;
        if (counter <= limit || counter <= 0) r->loop_mode = ANIME_SEQUENCE_NONE;
    }
    r->loop_counter = uint32_t(counter);
    return 0;
}

void execute(Handle record, const AnimeCommand& c) {
    AnimeData* r = anime_data(record);
    switch (c.kind) {
        case ANIME_CMD_PIC:
            if (!DrawAnimePicture(record, c.text))
                LogLinef("AnimeTask sync_anime() -pic- draw_graphic error  %s.", c.text);
            break;
        case ANIME_CMD_WAIT:
            r->wait = clamp16(c.a);
            break;
        case ANIME_CMD_JUMP:
            r->line = clamp16(c.a);
            break;
        case ANIME_CMD_PRESS_JUMP:
            r->press_line = clamp16(c.a);
            break;
        case ANIME_CMD_ADD_LOOP:
        case ANIME_CMD_SUB_LOOP:
            r->loop_counter = uint32_t(c.a);
            r->loop_limit = uint32_t(c.b);
            r->loop_mode = c.kind == ANIME_CMD_ADD_LOOP ? ANIME_SEQUENCE_UP : ANIME_SEQUENCE_DOWN;
            std::memcpy(r->loop_format, c.text, sizeof r->loop_format);
            break;
        case ANIME_CMD_ENDMOTION:
            r->flags |= c.flags;
            break;
        case ANIME_CMD_NONE:
            break;
    }
}

}  // namespace

int sync_anime(Handle task, Handle record) {
    (void)task;
    AnimeData* r = anime_data(record);
    if (!r || !(r->flags & ANIME_RUNNING)) return 0;
    // A window that no longer exists ends its animation.
    if (!window_record(r->window)) return 1;
    if (r->loop_mode != ANIME_SEQUENCE_NONE) return sequence_tick(record);
    if (++r->tick_count < r->wait) return 0;
    r->tick_count = 0;
    r->wait = 1;
    char line[kScriptLineSize];
    if (r->line < 0 || r->line >= r->line_count ||
        !GetTextLine(r->script, r->line, line, sizeof line)) {
        if (r->flags & ANIME_LOOP) {
            r->line = 0;
            return 0;
        }
        r->flags &= ~ANIME_RUNNING;
        return 1;
    }
    execute(record, ParseAnimeLine(line));
    r = anime_data(record);
    if (r->line < INT16_MAX) ++r->line;
    return 0;
}

namespace {

void tick_all(Handle task) {
    if (g_anime.count <= 0) return;
    std::vector<Handle> records;
    for (Handle h = FirstRecord(g_anime.resource); h; h = NextRecord(h))
        records.push_back(h);
    for (Handle h : records)
        if (anime_data(h) && sync_anime(task, h)) EndAnime(h);
}

}  // namespace

void AnimeTask(Handle task) {
    if (ReciveEvent(task) != RECEIVE_EVENT) return;
    const EventRecord* e = event_record(CurrentEvent(task));
    if (!e) return;
    EventRecord copy = *e;  // handling allocates, which may move the record
    switch (copy.code) {
        case EVENT_START:
            OpenAnimeResources(task);
            break;
        case EVENT_EFFECT_REQUEST:
            request(task, copy);
            break;
        case EVENT_HALF_SECOND:
        case EVENT_QUARTER_SECOND:
        case EVENT_TICK:
            if (g_anime.resource) tick_all(task);
            break;
        default:
            break;
    }
}
