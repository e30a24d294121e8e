// The six places of the island, painted for a time of day, weather and the lamp.
#include <algorithm>
#include <cmath>

#include "tools/demo_gen/scene_parts.h"

namespace {

bool night(const SceneState& s) {
    return s.time == "yoru";
}
bool lit(const SceneState& s) {
    return s.lamp == "tomo";
}

const Rgb kWindow{255, 214, 120};

// A row of small houses on the ground line y, roofs alternating in height.
void houses(Canvas& c, const SceneState& s, double x0, double x1, double y, double scale,
            uint32_t seed) {
    Random rnd(seed);
    const Rgb wall = Shade(s, {120, 100, 86}), roof = Shade(s, {70, 64, 72});
    for (double x = x0; x < x1;) {
        const double w = rnd.range(50, 80) * scale, h = rnd.range(34, 56) * scale;
        c.fill_rect(int(x), int(y - h), int(w), int(h) + 1, wall);
        c.fill_polygon(
            {{x - 6 * scale, y - h}, {x + w / 2, y - h - 22 * scale}, {x + w + 6 * scale, y - h}},
            roof);
        if (night(s) || s.time == "yu") {
            const int windows = 1 + rnd.below(2);
            for (int i = 0; i < windows; ++i) {
                if (rnd.uniform() < 0.3) continue;
                const double wx = x + 8 * scale + i * 26 * scale, wy = y - h + 10 * scale;
                c.fill_rect(int(wx), int(wy), int(12 * scale), int(10 * scale),
                            night(s) ? kWindow : Mix(wall, kWindow, 0.5));
            }
        }
        x += w + rnd.range(4, 14) * scale;
    }
}

void pine(Canvas& c, Rgb colour, double x, double base, double h) {
    c.fill_rect(int(x - 3), int(base - h * 0.4), 6, int(h * 0.4), colour);
    for (int i = 0; i < 4; ++i) {
        const double y = base - h * (0.3 + i * 0.18), w = h * (0.42 - i * 0.08);
        c.fill_ellipse(x + (i % 2 ? 6 : -6), y, w, h * 0.1, colour);
    }
}

void stone_lantern(Canvas& c, const SceneState& s, double x, double base, double scale) {
    const Rgb stone = Shade(s, {150, 146, 140});
    c.fill_rect(int(x - 6 * scale), int(base - 40 * scale), int(12 * scale), int(40 * scale),
                stone);
    c.fill_rect(int(x - 16 * scale), int(base - 62 * scale), int(32 * scale), int(22 * scale),
                stone);
    c.fill_rect(int(x - 8 * scale), int(base - 56 * scale), int(16 * scale), int(12 * scale),
                night(s) ? kWindow : Scale(stone, 0.5));
    c.fill_polygon({{x - 24 * scale, base - 62 * scale},
                    {x, base - 80 * scale},
                    {x + 24 * scale, base - 62 * scale}},
                   Scale(stone, 0.8));
}

void harbour(Canvas& c, const SceneState& s) {
    const int horizon = 300;
    PaintSky(c, s, horizon);
    // The far cape with its lighthouse.
    c.fill_below(Ridge(800, 3, horizon - 6, 10, 160, 3), Shade(s, {70, 80, 100}));
    const double glow = lit(s) ? 640 : (s.time == "yu" && s.weather == "hare" ? 560 : -1);
    PaintSea(c, s, horizon, 600, glow);
    c.fill_polygon({{560, horizon}, {610, horizon - 40}, {690, horizon - 46}, {760, horizon}},
                   Shade(s, {60, 70, 80}));
    PaintLighthouse(c, s, 650, horizon - 44, 70);
    // Warehouses on the left and the pier.
    houses(c, s, -10, 260, 380, 1.3, 21);
    c.fill_rect(0, 378, 330, 14, Shade(s, {90, 80, 70}));
    c.fill_polygon({{0, 392}, {330, 392}, {420, 600}, {0, 600}}, Shade(s, {70, 62, 56}));
    for (int i = 0; i < 9; ++i) {
        const double y = 400 + i * 22;
        c.fill_rect(int(40 + i * 10), int(y), int(300 + i * 8), 2, Shade(s, {52, 46, 42}));
    }
    // Moored boats.
    const Rgb hull = Shade(s, {150, 60, 50}), cabin = Shade(s, {210, 204, 190});
    for (int i = 0; i < 2; ++i) {
        const double bx = 440 + i * 170, by = 440 + i * 40, w = 120 + i * 30;
        c.fill_polygon({{bx, by}, {bx + w, by}, {bx + w - 18, by + 26}, {bx + 14, by + 26}}, hull);
        c.fill_rect(int(bx + w * 0.3), int(by - 26), int(w * 0.32), 26, cabin);
        c.line(bx + w * 0.7, by, bx + w * 0.7, by - 80, Shade(s, {60, 50, 40}), 2);
    }
}

void slope(Canvas& c, const SceneState& s) {
    const int horizon = 230;
    PaintSky(c, s, horizon);
    PaintSea(c, s, horizon, 330, -1);
    // The street climbing from bottom right to top left, houses stepping up beside it.
    c.fill_polygon({{0, 330}, {800, 330}, {800, 600}, {0, 600}}, Shade(s, {96, 90, 80}));
    for (int step = 0; step < 5; ++step) {
        const double y = 600 - step * 60;
        houses(c, s, -20 + step * 30, 300 - step * 20, y - 10, 1.4 - step * 0.12, 40 + step);
        houses(c, s, 520 + step * 10, 840, y - 10, 1.4 - step * 0.12, 50 + step);
    }
    c.fill_polygon({{330, 600}, {520, 600}, {450, 330}, {400, 330}}, Shade(s, {150, 140, 124}));
    for (int i = 0; i < 12; ++i) {
        const double t = i / 12.0, y = 600 - t * 270;
        const double xl = 330 + t * 70, xr = 520 - t * 70;
        c.fill_rect(int(xl), int(y), int(xr - xl), 2, Shade(s, {110, 100, 90}));
    }
    // Paper lanterns along the street.
    for (int i = 0; i < 4; ++i) {
        const double x = 300 + i * 70, y = 360 - i * 8;
        c.line(x, y - 30, x, y - 14, Shade(s, {40, 36, 30}));
        c.fill_ellipse(x, y, 9, 13, night(s) ? Rgb{255, 150, 80} : Shade(s, {220, 90, 70}));
    }
}

void shrine(Canvas& c, const SceneState& s) {
    const int horizon = 360;
    PaintSky(c, s, horizon);
    const Rgb forest = Shade(s, {40, 70, 50});
    c.fill_below(Ridge(800, 5, 250, 40, 120, 4), Scale(forest, 0.8));
    c.fill_rect(0, horizon, 800, 240, Shade(s, {110, 104, 96}));
    for (int i = 0; i < 7; ++i)
        pine(c, forest, 40 + i * 120, horizon + 10, 240 + (i % 3) * 40);
    // Stone steps towards the gate.
    for (int i = 0; i < 8; ++i) {
        const double y = 600 - i * 24, w = 380 - i * 30;
        c.fill_rect(int(400 - w / 2), int(y - 24), int(w), 22, Shade(s, {160, 154, 146}));
        c.fill_rect(int(400 - w / 2), int(y - 3), int(w), 3, Shade(s, {100, 96, 90}));
    }
    // The gate.
    const Rgb red = Shade(s, {200, 50, 40});
    c.fill_rect(300, 180, 22, 230, red);
    c.fill_rect(478, 180, 22, 230, red);
    c.fill_rect(280, 212, 240, 14, red);
    c.fill_polygon({{250, 168}, {550, 168}, {540, 190}, {260, 190}}, Shade(s, {40, 30, 30}));
    c.fill_rect(388, 190, 24, 22, Shade(s, {40, 30, 30}));
    stone_lantern(c, s, 200, 560, 1.6);
    stone_lantern(c, s, 600, 560, 1.6);
}

void cape(Canvas& c, const SceneState& s) {
    const int horizon = 280;
    PaintSky(c, s, horizon);
    PaintSea(c, s, horizon, 600, lit(s) ? 600 : (s.time == "asa" ? 220 : -1));
    // The cliff falls away on the left; the path runs along its edge.
    std::vector<double> edge = Ridge(800, 9, 380, 24, 150, 3);
    for (int x = 0; x < 800; ++x)
        edge[size_t(x)] += std::max(0.0, (x - 420) * 0.9);
    c.fill_below(edge, Shade(s, {70, 96, 60}));
    c.fill_polygon({{0, 380}, {60, 370}, {110, 600}, {0, 600}}, Shade(s, {80, 72, 66}));
    c.fill_polygon({{150, 600}, {260, 420}, {300, 420}, {330, 600}}, Shade(s, {150, 130, 100}));
    PaintLighthouse(c, s, 600, 330, 230);
    for (int i = 0; i < 40; ++i) {
        Random rnd(uint32_t(100 + i));
        const double x = rnd.range(0, 800), y = edge[size_t(std::clamp(int(x), 0, 799))];
        c.line(x, y + 4, x + rnd.range(-4, 4), y - rnd.range(6, 16), Shade(s, {50, 80, 44}));
    }
}

void tower(Canvas& c, const SceneState& s) {
    const int horizon = 420;
    PaintSky(c, s, horizon);
    PaintSea(c, s, horizon, 600, lit(s) ? 400 : -1);
    c.fill_polygon({{120, 600}, {200, 470}, {600, 460}, {700, 600}}, Shade(s, {80, 76, 72}));
    PaintLighthouse(c, s, 400, 480, 420);
    // The keeper's hut with its door.
    c.fill_rect(520, 420, 140, 70, Shade(s, {200, 196, 186}));
    c.fill_polygon({{510, 420}, {590, 380}, {670, 420}}, Shade(s, {90, 60, 50}));
    c.fill_rect(570, 444, 28, 46, Shade(s, {80, 60, 44}));
    c.fill_rect(620, 436, 22, 18, night(s) ? kWindow : Shade(s, {100, 120, 140}));
}

void lamp_room(Canvas& c, const SceneState& s) {
    // Window panes show the sky; the great lens stands in the middle of the room.
    PaintSky(c, s, 420);
    const Rgb frame = {46, 40, 44};
    for (int x = 0; x <= 800; x += 160)
        c.fill_rect(x - 8, 0, 16, 420, frame);
    c.fill_rect(0, 60, 800, 10, frame);
    c.fill_rect(0, 330, 800, 14, frame);
    c.fill_rect(0, 400, 800, 200, {70, 56, 50});
    c.fill_rect(0, 400, 800, 10, {40, 32, 30});
    const Rgb brass = lit(s) ? Rgb{230, 190, 90} : Rgb{140, 116, 70};
    c.fill_rect(360, 420, 80, 140, Scale(brass, 0.7));
    if (lit(s)) {
        for (int r = 6; r >= 1; --r)
            c.blend_ellipse(400, 260, 90.0 + r * 40, 110.0 + r * 40, {255, 240, 180}, 0.12);
    }
    for (int r = 7; r >= 0; --r) {
        const double t = r / 7.0;
        const Rgb ring = lit(s) ? Mix({255, 250, 220}, {220, 180, 80}, t)
                                : Mix({150, 170, 180}, {70, 80, 90}, t);
        c.fill_ellipse(400, 260, 30 + r * 14, 40 + r * 18, ring);
    }
    c.fill_rect(390, 150, 20, 220, Scale(brass, 0.8));
}

}  // namespace

Rgb Shade(const SceneState& s, Rgb day) {
    if (s.weather == "arashi") return Mix(Scale(day, 0.35), {20, 24, 34}, 0.35);
    if (s.time == "yoru") return Mix(Scale(day, 0.3), {10, 14, 40}, 0.3);
    if (s.time == "yu") return Mix(Scale(day, 0.75), {90, 50, 70}, 0.25);
    if (s.time == "asa") return Mix(day, {255, 210, 200}, 0.12);
    return day;
}

void PaintLighthouse(Canvas& c, const SceneState& s, double x, double base, double height) {
    const double w0 = height * 0.16, w1 = height * 0.10;
    const Rgb white = Shade(s, {236, 232, 224}), red = Shade(s, {190, 60, 50});
    c.fill_polygon(
        {{x - w0, base}, {x + w0, base}, {x + w1, base - height}, {x - w1, base - height}}, white);
    for (int band = 1; band < 4; band += 2) {
        const double ya = base - height * band / 4.0, yb = base - height * (band + 1) / 4.0;
        const double wa = w0 + (w1 - w0) * band / 4.0, wb = w0 + (w1 - w0) * (band + 1) / 4.0;
        c.fill_polygon({{x - wa, ya}, {x + wa, ya}, {x + wb, yb}, {x - wb, yb}}, red);
    }
    const double top = base - height, lamp_h = height * 0.12;
    c.fill_rect(int(x - w1 * 1.4), int(top - 3), int(w1 * 2.8), 4, Shade(s, {50, 50, 50}));
    const Rgb glass = s.lamp == "tomo" ? Rgb{255, 246, 200} : Shade(s, {90, 110, 120});
    c.fill_rect(int(x - w1 * 0.8), int(top - lamp_h), int(w1 * 1.6), int(lamp_h), glass);
    c.fill_polygon(
        {{x - w1 * 1.1, top - lamp_h}, {x, top - lamp_h * 1.8}, {x + w1 * 1.1, top - lamp_h}},
        Shade(s, {60, 50, 50}));
    if (s.lamp == "tomo") {
        // The beam: two long pale wedges.
        const double cy = top - lamp_h / 2;
        c.blend_polygon({{x, cy - 3}, {x - 900, cy - 70}, {x - 900, cy + 50}, {x, cy + 3}},
                        {255, 244, 190}, 0.28);
        c.blend_polygon({{x, cy - 3}, {x + 700, cy - 40}, {x + 700, cy + 30}, {x, cy + 3}},
                        {255, 244, 190}, 0.18);
        c.blend_ellipse(x, cy, lamp_h * 2, lamp_h * 2, {255, 250, 220}, 0.5);
    }
}

Canvas PaintBackground(const SceneState& s) {
    Canvas c(800, 600);
    if (s.place == "minato")
        harbour(c, s);
    else if (s.place == "saka")
        slope(c, s);
    else if (s.place == "jinja")
        shrine(c, s);
    else if (s.place == "misaki")
        cape(c, s);
    else if (s.place == "toudai")
        tower(c, s);
    else
        lamp_room(c, s);
    if (s.weather == "arashi" && s.place != "heya") PaintRain(c, 77);
    return c;
}
