// The effect player's records: one 60-byte record of "Resource.res":"EffectData" per running
// effect, the request and notice events, and the lookups the task and RedrawEffect share.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/pool.h"

// Effect types (long A of a request).
enum EffectType : uint16_t {
    EFFECT_LINE_GRID = 1,
    EFFECT_BAND_WIPE = 2,
    EFFECT_TEXT = 3,
    EFFECT_CAPTURE = 4,
    EFFECT_REVEAL = 5,
    EFFECT_SET_MODE = 6,
    EFFECT_WHITE_OUT = 7,
    EFFECT_BLACK_OUT = 8,
};

// Notices to the owner of the effect's window.
enum EffectNotice : uint16_t {
    EFFECT_DONE = 1284,      // a page is full or its text ended; a fade ended
    EFFECT_STOPPED = 1285,   // a wipe ended; a text stopped (x and y tell where)
    EFFECT_REPLACED = 1286,  // a newer request for the same object and type removed it
};

// Record flags.
constexpr uint32_t EFFECT_PAGE_DONE = 0x04;  // a text page waits; other effects are finished
// Our own bit: the page stopped because it was full, so a continuation follows at page start
// + position (RedrawEffect mode 1 moves there).
constexpr uint32_t EFFECT_PAGE_FULL = 0x08;

// Text mode 1 draws plainly (and shows a page at once); any other value outlines.
constexpr uint32_t EFFECT_PLAIN = 1;

struct EffectData {
    uint32_t owner_id;      // task id of the owner of the effect's window
    uint32_t flags;         // EFFECT_PAGE_DONE, EFFECT_PAGE_FULL
    uint32_t request_word;  // word A of the request, echoed in the notices
    Handle window;          // where the effect runs
    Handle object;          // the message object (text effects)
    uint32_t position;      // text: bytes of the current page consumed; others: step counter
    uint32_t page_start;    // text: offset where the current page starts
    uint16_t type;
    uint8_t pad0[2];
    uint32_t color;       // drawing colour
    uint32_t base_color;  // the requested colour, given back to the GC on a redraw
    uint32_t mode;        // text: EFFECT_PLAIN or outlined; capture: pass counter
    int16_t x, y;         // text: position in the text area; capture: area origin
    int16_t width, height;
    Handle first_strip;  // capture: graphics of two rows each, consecutive in "Graphic VRAM"
    Handle last_strip;
};
static_assert(sizeof(EffectData) == 60);
static_assert(offsetof(EffectData, type) == 28);
static_assert(offsetof(EffectData, color) == 32);
static_assert(offsetof(EffectData, mode) == 40);
static_assert(offsetof(EffectData, x) == 44);
static_assert(offsetof(EffectData, width) == 48);
static_assert(offsetof(EffectData, first_strip) == 52);

// The request's data bytes (event code 1283 to task 12).
struct EffectRequestData {
    uint32_t mode;  // text mode, or the new mode of type 6
    Handle window;
    int16_t x, y;
    int16_t width, height;
    Handle object;
};
static_assert(sizeof(EffectRequestData) == 20);

// The player's globals.
struct EffectState {
    Handle resource;       // "Resource.res":"EffectData"; 0 until the start event
    Handle font28;         // font_size 2
    Handle font36;         // font_size 3
    Handle previous_font;  // the GC's font before the first font_size 2 or 3
    bool font_remembered;
};
extern EffectState g_effect;

// The record behind a handle, or nullptr. Lives in the pool: re-read after allocations.
EffectData* effect_data(Handle record);
// The text effect or other effect of `object` with `type`, or 0.
Handle FindEffectByObject(Handle object, uint16_t type);
// The effect in `window` with `request_word`, or 0.
Handle FindEffectByWindow(Handle window, uint32_t request_word);
// Number of live effect records.
int EffectCount();

// Sends `code` to the record's owner (word A the request word, data bytes 4-7 the window,
// 8-9 and 10-11 x and y) and sets its page-done flag.
void SendEffectNotice(Handle record, uint16_t code);
// Frees the record's captured strips and removes it.
void RemoveEffect(Handle record);

// What the player needs of a message object: the window its text is drawn in, the GC it is
// drawn with and its text (Shift-JIS, NUL-terminated; read again before every use, since it
// lives in the pool). The window objects install the reader; without one, or when it answers
// false, an object has no text.
struct EffectMessage {
    Handle window;
    Handle gc;
    const char* text;
};
using EffectMessageReader = bool (*)(Handle object, EffectMessage* out);
void SetEffectMessageReader(EffectMessageReader reader);
bool ReadEffectMessage(Handle object, EffectMessage* out);

// Repaints the background of a window an effect draws into: its backing store when it has
// one, otherwise its background as the window manager draws it.
void RepaintEffectBackground(Handle window);

// One step of a text effect and the drawing of one character (present/effect_text.cpp):
// text_draw returns 0 to go on, 1 when the text ended (or the window cannot be drawn now), 2
// when the page is full.
int text_draw(Handle record);
// One step of a text effect; true when the effect reached an end (the caller sends 1284).
bool TextEffectStep(Handle record);

// The other effects' steps (present/effect_wipe.cpp); each returns true when the effect ended.
bool LineGridStep(Handle record);
bool BandWipeStep(Handle record);
// Captures the area into strips; false when a strip could not be made or copied (every strip
// is freed then).
bool CaptureArea(Handle record);
// Reveal pass `pass` (0 to 3); the last pass frees the strips.
void RevealPass(Handle record, int pass);
void FreeStrips(Handle record);
bool FadeStep(Handle record);  // white-out and black-out
