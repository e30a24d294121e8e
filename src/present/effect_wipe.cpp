// Wipes and fades: a grid of lines and five bands that sweep the window in the effect's colour,
// the capture of a screen area in strips of two rows and its interleaved reveal, and the
// mosaic white-out and black-out.
#include <algorithm>
#include <vector>

#include "host/raster.h"
#include "kernel/scheduler.h"
#include "present/effect_data.h"
#include "resource/resource.h"
#include "window/draw.h"
#include "window/graphic.h"
#include "window/win_bitmap.h"
#include "window/window.h"

namespace {

constexpr int kGridSpacing = 20;
constexpr int kBandDivisions = 15;
constexpr int kStripRows = 2;
constexpr int kRevealPassCount = 4;
constexpr int kMosaicSpacing = 20;
constexpr int kWhiteOutFirst = 5, kWhiteOutLast = 8;
constexpr int kBlackOutFirst = 0, kBlackOutLast = 18;

int strip_count(const EffectData& r) {
    return r.height > 0 ? (r.height + kStripRows - 1) / kStripRows : 0;
}

// Calls `f(strip, k)` for the record's strips in order. The strips were made one after another,
// so they follow each other in the graphic resource's chain; the walk never goes past the
// number of strips the area has.
template <typename F>
void for_each_strip(const EffectData& r, F f) {
    Handle h = r.first_strip;
    for (int k = 0; h && k < strip_count(r); ++k) {
        Handle next = h == r.last_strip ? 0 : NextRecord(h);
        f(h, k);
        h = next;
    }
}

}  // namespace

bool LineGridStep(Handle record) {
    const EffectData r = *effect_data(record);
    WindowRecord* w = window_record(r.window);
    if (!w) return true;
    const int width = w->width, height = w->height, s = int(r.position);
    const int n = width / kGridSpacing > height / kGridSpacing ? width : height;
    // Lines past the client area clamp onto its edge: one of them draws what all of them do.
    bool vertical_edge = false, horizontal_edge = false;
    for (int k = 0; k <= n && !(vertical_edge && horizontal_edge); ++k) {
        const int at = s + kGridSpacing * k;
        if (!vertical_edge) {
            Line(r.window, at, 0, at, height, r.color);
            vertical_edge = at >= width;
        }
        if (!horizontal_edge) {
            Line(r.window, 0, at, width, at, r.color);
            horizontal_edge = at >= height;
        }
    }
    return false;
}

bool BandWipeStep(Handle record) {
    const EffectData r = *effect_data(record);
    WindowRecord* w = window_record(r.window);
    if (!w) return true;
    const int width = w->width, height = w->height, s = int(r.position);
    const int u = width / kBandDivisions;
    const int edges[5] = {u, 3 * u, 6 * u, 10 * u, width - u};
    for (int k = 0; k < 5; ++k) {
        const int strip = edges[k] / kBandDivisions + (k == 0 ? 1 : 0);
        FillRectangle(r.window, edges[k] - strip * s, 0, uint16_t(strip), uint16_t(height),
                      r.color);
    }
    return false;
}

bool CaptureArea(Handle record) {
    const EffectData r = *effect_data(record);
    if (r.width <= 0 || r.height <= 0) return false;
    Handle first = 0, last = 0;
    bool complete = true;
    for (int i = 0; i < r.height; i += kStripRows) {
        Handle strip = CreateGraphic(g_tasks.effect, 0, r.width, kStripRows);
        GraphicRecord* g = graphic_record(strip);
        if (!g) {
            complete = false;
            break;
        }
        if (!first) first = strip;
        last = strip;
        if (!WinSaveArea(r.window, r.x, r.y + i, r.width, kStripRows, g->bitmap)) {
            complete = false;
            break;
        }
    }
    EffectData* live = effect_data(record);
    live->first_strip = first;
    live->last_strip = last;
    if (!complete) FreeStrips(record);
    return complete;
}

void RevealPass(Handle record, int pass) {
    const EffectData r = *effect_data(record);
    for_each_strip(r, [&](Handle strip, int k) {
        if ((pass + k) % kRevealPassCount) return;
        if (GraphicRecord* g = graphic_record(strip))
            WinPutBitmap(r.window, r.x, r.y + k * kStripRows, r.width, kStripRows, g->bitmap);
    });
    if (pass >= kRevealPassCount - 1) FreeStrips(record);
}

void FreeStrips(Handle record) {
    EffectData* live = effect_data(record);
    if (!live || !live->first_strip) return;
    const EffectData r = *live;
    live->first_strip = live->last_strip = 0;
    // Collected first: freeing a graphic unlinks it from the chain the walk follows.
    std::vector<Handle> strips;
    for_each_strip(r, [&](Handle strip, int) { strips.push_back(strip); });
    for (Handle strip : strips)
        FreeGraphic(g_tasks.effect, 0, strip);
}

bool FadeStep(Handle record) {
    EffectData* live = effect_data(record);
    const bool white = live->type == EFFECT_WHITE_OUT;
    const int s = int(live->position) + (white ? kWhiteOutFirst : kBlackOutFirst);
    ++live->position;
    const EffectData r = *live;
    WindowRecord* w = window_record(r.window);
    if (!w) return true;
    const int side = white ? 4 * s : 2 * s;
    HostMosaicPass(client_left(r.window), client_top(r.window), w->width, w->height, s,
                   kMosaicSpacing, side, white ? s : -s);
    if (s + 1 <= (white ? kWhiteOutLast : kBlackOutLast)) return false;
    FillRectangle(r.window, 0, 0, w->width, w->height, white ? 0xFFFFFFu : 0u);
    return true;
}
