// Skies, seas and weather of the backgrounds.
#include <cmath>

#include "tools/demo_gen/scene_parts.h"

namespace {

struct SkyColours {
    Rgb top, horizon, cloud_light, cloud_dark, sea_top, sea_bottom;
};

SkyColours colours_for(const SceneState& s) {
    if (s.weather == "arashi")
        return {{18, 20, 30}, {52, 56, 70}, {70, 74, 88}, {28, 30, 40}, {30, 38, 48}, {12, 16, 22}};
    if (s.time == "yu")
        return {{46, 52, 110},  {250, 160, 90},  {255, 196, 140},
                {150, 90, 110}, {170, 110, 110}, {40, 40, 80}};
    if (s.time == "asa")
        return {{90, 130, 200},  {255, 214, 170}, {255, 236, 220},
                {200, 150, 160}, {150, 170, 200}, {50, 80, 120}};
    return {{8, 10, 30}, {30, 40, 80}, {60, 66, 100}, {20, 24, 50}, {20, 30, 60}, {6, 10, 24}};
}

}  // namespace

void PaintSky(Canvas& c, const SceneState& s, int horizon) {
    const SkyColours k = colours_for(s);
    c.vertical_gradient(0, horizon, k.top, k.horizon, 28);
    Random rnd(7);
    if (s.weather == "hare" && s.time == "yoru") {
        for (int i = 0; i < 220; ++i) {
            const int x = rnd.below(c.width()), y = rnd.below(horizon - 20);
            c.set(x, y, Mix({120, 130, 170}, {255, 255, 240}, rnd.uniform()));
        }
    }
    if (s.time == "yu" && s.weather == "hare") {
        // A low sun with flat rings of light.
        const double sx = 560, sy = horizon - 30;
        for (int r = 5; r >= 1; --r)
            c.blend_ellipse(sx, sy, 40.0 + r * 26, 40.0 + r * 26, {255, 220, 150}, 0.12);
        c.fill_ellipse(sx, sy, 34, 34, {255, 236, 190});
    }
    if (s.time == "asa") {
        const double sx = 220, sy = horizon - 8;
        for (int r = 5; r >= 1; --r)
            c.blend_ellipse(sx, sy, 50.0 + r * 30, 30.0 + r * 20, {255, 230, 200}, 0.14);
        c.fill_ellipse(sx, sy, 28, 28, {255, 250, 230});
    }
    // Clouds: flat lit tops over darker bellies.
    Random cr(s.weather == "arashi" ? 31 : 17);
    const int count = s.weather == "arashi" ? 26 : 9;
    for (int i = 0; i < count; ++i) {
        const double cx = cr.range(-60, c.width() + 60);
        const double cy =
            s.weather == "arashi" ? cr.range(10, horizon * 0.7) : cr.range(30, horizon * 0.55);
        const double w = cr.range(80, 220), h = cr.range(16, 36);
        const double alpha = s.weather == "arashi" ? 0.85 : 0.55;
        c.blend_ellipse(cx, cy + h * 0.35, w, h, k.cloud_dark, alpha);
        c.blend_ellipse(cx - w * 0.1, cy, w * 0.8, h * 0.8, k.cloud_light, alpha * 0.8);
    }
}

void PaintSea(Canvas& c, const SceneState& s, int horizon, int bottom, double glow_x) {
    const SkyColours k = colours_for(s);
    c.vertical_gradient(horizon, bottom, k.sea_top, k.sea_bottom, 16);
    Random rnd(11);
    const Rgb crest = s.weather == "arashi" ? Rgb{90, 100, 112} : Mix(k.horizon, k.sea_top, 0.3);
    const int waves = s.weather == "arashi" ? 260 : 140;
    for (int i = 0; i < waves; ++i) {
        const double y = horizon + 2 + std::pow(rnd.uniform(), 1.6) * (bottom - horizon - 4);
        const double depth = (y - horizon) / double(bottom - horizon);
        const double len = 6 + depth * 40 * rnd.range(0.5, 1.2);
        const double x = rnd.range(-20, c.width());
        c.fill_rect(int(x), int(y), int(len), depth > 0.5 ? 2 : 1, crest);
    }
    if (glow_x >= 0) {
        // The path of light on the water under the sun or the lamp.
        const Rgb glint = s.time == "yoru" ? Rgb{255, 230, 150} : Rgb{255, 230, 180};
        for (int y = horizon + 2; y < bottom; y += 3) {
            const double depth = (y - horizon) / double(bottom - horizon);
            const double half = 6 + depth * 70;
            const double shift = rnd.range(-half, half) * 0.6;
            c.fill_rect(int(glow_x + shift - half * 0.3), y, int(half * rnd.range(0.2, 0.6)), 1,
                        glint);
        }
    }
}

void PaintRain(Canvas& c, uint32_t seed) {
    Random rnd(seed);
    for (int i = 0; i < 520; ++i) {
        const double x = rnd.range(-60, c.width()), y = rnd.range(-20, c.height());
        const double len = rnd.range(10, 22);
        const Rgb streak = Mix({110, 120, 140}, {170, 180, 200}, rnd.uniform());
        c.line(x, y, x + len * 0.35, y + len, streak);
    }
}
