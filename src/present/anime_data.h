// The anime player's records: one 296-byte record of "Resource.res":"AnimeData" per animation,
// the request and notice events, the picture cache of an animation and the lookups the task
// and its script commands share.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"

// Request types (long A of a request, event 1283 to task 11).
enum AnimeRequest : uint32_t {
    ANIME_STOP = 0,
    ANIME_START = 1,
    ANIME_PRESS = 2,
    ANIME_START_STOP = 3,
    ANIME_FREE_CACHE = 4,
    ANIME_DEBUG = 6,
    ANIME_MOVE_FOCUS = 7,
    ANIME_SET_FOCUS = 8,
    ANIME_FOCUS_OFF = 10,
};

// The notice to the owner when an animation ends: word A 0, data bytes 4-7 the window.
constexpr uint16_t EVENT_ANIME_END = 1288;

// Record flags.
constexpr uint32_t ANIME_RUNNING = 0x02;
constexpr uint32_t ANIME_LOOP = 0x08;
constexpr uint32_t ANIME_STOP_FLAG = 0x10;
constexpr uint32_t ANIME_EXIT = 0x20;
constexpr uint32_t ANIME_KEEP = 0x80;  // "cash": the record stays when the script ends
constexpr uint32_t ANIME_DEBUG_FLAG = 0x200;
constexpr uint32_t ANIME_FOCUS = 0x400;

// Picture sequence modes.
enum AnimeLoopMode : uint32_t {
    ANIME_SEQUENCE_NONE = 0,
    ANIME_SEQUENCE_UP = 1,
    ANIME_SEQUENCE_DOWN = 2,
};

constexpr size_t kAnimeNameSize = 80;

struct AnimeData {
    uint32_t owner_id;  // task id of the window's owner; notices go there
    Handle script;      // the script's text object
    int16_t x, y;       // where pictures are drawn in the window
    int16_t focus_x, focus_y, focus_width, focus_height;
    int16_t wait;        // ticks before the next script line
    int16_t tick_count;  // ticks waited so far
    int16_t line;        // next script line
    int16_t line_count;
    int16_t direction;   // always 0: lines step forward
    int16_t press_line;  // line to go on at when the window is pressed; -1 none
    uint32_t flags;
    char name[kAnimeNameSize];  // reserved, never filled
    Handle window;
    uint32_t loop_counter;
    uint32_t loop_limit;
    uint32_t loop_mode;
    char loop_format[kAnimeNameSize];  // file name format of the sequence, one %d
    char script_name[kAnimeNameSize];
    Handle pictures;  // first entry of the picture cache (an AnimePicture record)
};
static_assert(sizeof(AnimeData) == 296);
static_assert(offsetof(AnimeData, x) == 8);
static_assert(offsetof(AnimeData, wait) == 20);
static_assert(offsetof(AnimeData, press_line) == 30);
static_assert(offsetof(AnimeData, flags) == 32);
static_assert(offsetof(AnimeData, window) == 116);
static_assert(offsetof(AnimeData, loop_format) == 132);
static_assert(offsetof(AnimeData, script_name) == 212);
static_assert(offsetof(AnimeData, pictures) == 292);

// One picture of an animation's cache: a record of "Resource.res":"AnimeCache" holding its
// graphic (a record of "Resource.res":"AnimeGraphic"), the next entry and the name it was
// asked for.
struct AnimePicture {
    Handle graphic;
    Handle next;
    char name[kAnimeNameSize];
};
static_assert(sizeof(AnimePicture) == 88);

// The request's data bytes.
struct AnimeRequestData {
    uint32_t reserved;
    Handle window;
    int16_t x, y;  // start: where pictures go; focus requests: the focus origin
    int16_t focus_width, focus_height;
    uint32_t reserved2;
    char script[kAnimeNameSize];  // start: the script's file name
};
static_assert(offsetof(AnimeRequestData, script) == 20);

// The player's globals.
struct AnimeState {
    Handle resource;  // "Resource.res":"AnimeData"; 0 until the start event
    Handle cache;     // "Resource.res":"AnimeCache": the cache entries of every animation
    Handle graphics;  // "Resource.res":"AnimeGraphic": their graphics
    int count;        // animations started and not yet removed
    Handle task;      // the anime task (the owner of what it creates)
};
extern AnimeState g_anime;

// Forgets the player's globals (start-up and tests).
void ResetAnime();
// Opens the resources when they are not open yet.
void OpenAnimeResources(Handle task);

// The record behind a handle, or nullptr. Lives in the pool: re-read after allocations.
AnimeData* anime_data(Handle record);
// The first animation of `window`, or 0.
Handle FindAnimeByWindow(Handle window);

// Ends an animation: notice 1288 to its owner, then, unless it is kept, its removal.
void EndAnime(Handle record);
// Removes an animation: its pictures, its script (when no other animation reads the same
// one) and its record.
void RemoveAnime(Handle record);

// Draws the picture `name` at the animation's place, loading it into the cache first when it
// is not there. False when the picture cannot be loaded.
bool DrawAnimePicture(Handle record, const char* name);
// The graphic of the first cached picture, or 0.
Handle FirstAnimeGraphic(Handle record);
// Number of pictures in the animation's cache.
int AnimePictureCount(Handle record);
// Most pixels one animation keeps cached; pictures beyond it push the oldest out (the first
// one stays: focus is measured on it). Tests lower it.
extern int64_t g_anime_cache_pixels;
