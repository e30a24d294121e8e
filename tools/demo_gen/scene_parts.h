// The pieces the backgrounds are put together from (sky.cpp, places.cpp).
#pragma once

#include "tools/demo_gen/pictures.h"

void PaintSky(Canvas& c, const SceneState& s, int horizon);
// Sea between horizon and bottom; glow_x >= 0 adds a path of light at that x.
void PaintSea(Canvas& c, const SceneState& s, int horizon, int bottom, double glow_x);
void PaintRain(Canvas& c, uint32_t seed);
// A lighthouse standing on (x, base) with the given height; its lamp lit or dark.
void PaintLighthouse(Canvas& c, const SceneState& s, double x, double base, double height);
// Darkens a silhouette colour for the time of day.
Rgb Shade(const SceneState& s, Rgb day);
