// Cut-ins, sprites, the animation's frames, menu pictures, the swipe button, the result screen
// and the list of backgrounds the story shows.
#include "tools/demo_gen/pictures.h"

#include <cmath>
#include <cstdio>

#include "tools/demo_gen/scene_parts.h"

namespace {

struct Person {
    Rgb backdrop_top, backdrop_bottom, skin, hair, clothes, accent;
    bool long_hair, headband, old;
};

// A head-and-shoulders portrait for a 200 x 110 cut-in window.
Canvas portrait(const Person& p) {
    Canvas c(200, 110);
    c.vertical_gradient(0, 110, p.backdrop_top, p.backdrop_bottom, 12);
    c.fill_rect(0, 0, 200, 3, Scale(p.backdrop_top, 0.6));
    c.fill_rect(0, 107, 200, 3, Scale(p.backdrop_bottom, 0.6));
    const double cx = 100, cy = 52;
    if (p.long_hair)
        c.fill_polygon({{cx - 34, cy - 10}, {cx + 34, cy - 10}, {cx + 42, 110}, {cx - 42, 110}},
                       p.hair);
    c.fill_polygon({{cx - 70, 110},
                    {cx - 56, 86},
                    {cx - 20, 76},
                    {cx + 20, 76},
                    {cx + 56, 86},
                    {cx + 70, 110}},
                   p.clothes);
    c.fill_polygon({{cx - 14, 76}, {cx, 96}, {cx + 14, 76}}, p.accent);
    c.fill_rect(int(cx - 9), int(cy + 20), 18, 12, Scale(p.skin, 0.9));
    // Hair behind the head, the face, then the hair over the forehead.
    c.fill_ellipse(cx, cy - 6, 32, 32, p.hair);
    c.fill_ellipse(cx, cy + 2, 27, 32, p.skin);
    c.fill_ellipse(cx, cy - 24, 30, 13, p.hair);
    if (p.long_hair) {
        c.fill_rect(int(cx - 33), int(cy - 14), 8, 44, p.hair);
        c.fill_rect(int(cx + 25), int(cy - 14), 8, 44, p.hair);
    }
    if (p.headband) c.fill_rect(int(cx - 31), int(cy - 20), 62, 7, {236, 236, 230});
    const Rgb eye = {36, 30, 34};
    c.fill_ellipse(cx - 11, cy + 2, 4, p.old ? 1.5 : 4.5, eye);
    c.fill_ellipse(cx + 11, cy + 2, 4, p.old ? 1.5 : 4.5, eye);
    if (!p.old) {
        c.set(int(cx - 10), int(cy), {255, 255, 255});
        c.set(int(cx + 12), int(cy), {255, 255, 255});
    }
    c.line(cx - 6, cy + 18, cx + 6, cy + 18, Scale(p.skin, 0.6), 2);
    if (p.old) {
        c.line(cx - 18, cy - 4, cx - 5, cy - 6, {200, 200, 200}, 2);
        c.line(cx + 5, cy - 6, cx + 18, cy - 4, {200, 200, 200}, 2);
        for (int i = 0; i < 30; ++i) {
            Random r(uint32_t(i + 3));
            c.set(int(cx + r.range(-16, 16)), int(cy + r.range(20, 32)), {170, 160, 150});
        }
    }
    c.blend_ellipse(cx - 17, cy + 12, 6, 3, {255, 120, 120}, 0.35);
    c.blend_ellipse(cx + 17, cy + 12, 6, 3, {255, 120, 120}, 0.35);
    return c;
}

Canvas letter() {
    Canvas c(200, 110);
    c.vertical_gradient(0, 110, {60, 50, 70}, {30, 24, 40}, 10);
    c.fill_polygon({{40, 20}, {168, 12}, {176, 92}, {34, 100}}, {236, 226, 200});
    c.fill_polygon({{40, 20}, {168, 12}, {104, 60}}, {214, 202, 176});
    c.fill_ellipse(104, 58, 11, 11, {170, 40, 40});
    for (int i = 0; i < 4; ++i)
        c.line(52, 70.0 + i * 6, 92, 68.0 + i * 6, {120, 110, 100});
    return c;
}

Canvas lens_piece() {
    Canvas c(200, 110);
    c.vertical_gradient(0, 110, {20, 30, 50}, {10, 14, 24}, 10);
    for (int r = 5; r >= 0; --r)
        c.fill_ellipse(100, 56, 20.0 + r * 9, 16.0 + r * 7,
                       Mix({220, 240, 250}, {90, 130, 160}, r / 5.0));
    c.fill_polygon({{138, 20}, {160, 40}, {120, 96}}, {10, 14, 24});  // the broken edge
    c.line(70, 40, 84, 34, {255, 255, 255}, 2);
    return c;
}

// A cat sitting, on pure green.
Canvas cat() {
    Canvas c(96, 80, kTransparent);
    const Rgb fur{236, 150, 60}, dark{150, 80, 30};
    c.fill_ellipse(50, 56, 28, 22, fur);
    c.fill_ellipse(30, 30, 18, 16, fur);
    c.fill_polygon({{14, 24}, {16, 6}, {26, 18}}, fur);
    c.fill_polygon({{34, 18}, {44, 6}, {46, 24}}, fur);
    c.line(76, 70, 90, 44, fur, 5);
    for (int i = 0; i < 3; ++i)
        c.line(40.0 + i * 10, 40, 46.0 + i * 10, 52, dark, 3);
    c.fill_ellipse(24, 28, 2.5, 3.5, {30, 40, 20});
    c.fill_ellipse(36, 28, 2.5, 3.5, {30, 40, 20});
    c.set(30, 34, {200, 90, 90});
    c.fill_rect(30, 74, 10, 6, fur);
    c.fill_rect(58, 74, 10, 6, fur);
    return c;
}

// A paper lantern on a short pole, on pure green.
Canvas lantern() {
    Canvas c(60, 110, kTransparent);
    c.line(30, 0, 30, 20, {60, 50, 40}, 3);
    c.fill_rect(18, 18, 24, 6, {50, 40, 36});
    c.fill_ellipse(30, 52, 22, 30, {255, 170, 90});
    for (int i = 0; i < 5; ++i)
        c.fill_rect(9, 34 + i * 9, 42, 1, {200, 110, 60});
    c.fill_ellipse(30, 52, 9, 14, {255, 236, 170});
    c.fill_rect(18, 80, 24, 6, {50, 40, 36});
    return c;
}

// Frame n (1-8) of the turning beam seen from the sea, for the cut-in window.
Canvas beam_frame(int n) {
    Canvas c(200, 110);
    c.vertical_gradient(0, 80, {10, 12, 30}, {34, 40, 70}, 10);
    c.vertical_gradient(80, 110, {20, 26, 48}, {6, 8, 18}, 6);
    c.fill_polygon({{120, 80}, {150, 60}, {200, 62}, {200, 80}}, {16, 18, 26});
    const double lx = 165, ly = 34;
    c.fill_polygon({{lx - 6, 62}, {lx + 6, 62}, {lx + 4, ly}, {lx - 4, ly}}, {60, 60, 70});
    const double angle = (n - 1) * (2 * M_PI / 8);
    const double dx = std::cos(angle), reach = 200 * std::abs(dx) + 20;
    const double spread = 10 + 30 * (1 - std::abs(dx));
    if (std::abs(dx) > 0.05) {
        c.blend_polygon({{lx, ly - 2},
                         {lx + dx * reach, ly - spread},
                         {lx + dx * reach, ly + spread},
                         {lx, ly + 2}},
                        {255, 240, 180}, 0.35 + 0.3 * std::abs(std::sin(angle / 2)));
    }
    const double glow = 5 + 6 * std::abs(std::sin(angle / 2)) + (std::abs(dx) < 0.5 ? 6 : 0);
    c.fill_ellipse(lx, ly, glow, glow, {255, 250, 220});
    return c;
}

// The picture behind a choice: a plate with a small emblem at its right end.
Canvas choice_plate(Rgb tone, int emblem) {
    Canvas c(210, 24);
    c.vertical_gradient(0, 24, Mix(tone, {255, 255, 255}, 0.55), Mix(tone, {255, 255, 255}, 0.3),
                        6);
    c.fill_rect(0, 23, 210, 1, Scale(tone, 0.6));
    const double ex = 194, ey = 12;
    switch (emblem) {
        case 0:  // a wave
            for (int i = 0; i < 3; ++i)
                c.fill_ellipse(ex - 8 + i * 8, ey, 4, 3, tone);
            break;
        case 1:  // a gate
            c.fill_rect(int(ex - 8), 4, 16, 3, tone);
            c.fill_rect(int(ex - 6), 4, 3, 16, tone);
            c.fill_rect(int(ex + 3), 4, 3, 16, tone);
            break;
        default:  // a tower
            c.fill_polygon({{ex - 5, 21}, {ex + 5, 21}, {ex + 3, 4}, {ex - 3, 4}}, tone);
            break;
    }
    return c;
}

Canvas select_backdrop() {
    Canvas c(220, 240);
    c.vertical_gradient(0, 240, {236, 228, 210}, {206, 196, 176}, 12);
    c.fill_rect(0, 0, 220, 2, {140, 120, 90});
    c.fill_rect(0, 238, 220, 2, {140, 120, 90});
    return c;
}

Canvas swipe_button() {
    Canvas c(200, 100, {0, 0, 0});
    c.fill_rect(0, 0, 200, 100, {24, 30, 52});
    c.vertical_gradient(4, 96, {60, 80, 130}, {24, 34, 70}, 10);
    c.fill_rect(0, 0, 200, 4, {200, 180, 120});
    c.fill_rect(0, 96, 200, 4, {200, 180, 120});
    c.fill_rect(0, 0, 4, 100, {200, 180, 120});
    c.fill_rect(196, 0, 4, 100, {200, 180, 120});
    c.fill_polygon({{170, 40}, {186, 50}, {170, 60}}, {200, 180, 120});
    c.fill_polygon({{30, 40}, {14, 50}, {30, 60}}, {200, 180, 120});
    return c;
}

Canvas result_screen() {
    SceneState night{"minato", "yoru", "hare", "tomo"};
    Canvas c(800, 600);
    PaintSky(c, night, 470);
    PaintSea(c, night, 470, 600, 640);
    c.blend_rect(0, 100, 800, 400, {0, 0, 20}, 0.45);
    c.fill_rect(60, 96, 680, 2, {200, 180, 120});
    c.fill_rect(60, 502, 680, 2, {200, 180, 120});
    return c;
}

// The two endings: the boat home at dawn, and the cape after the long night.
Canvas ending(char which) {
    SceneState s{which == 'a' ? "minato" : "misaki", "asa", "hare", "tomo"};
    Canvas c = PaintBackground(s);
    if (which == 'a') {
        const Rgb hull{60, 50, 60}, sail{240, 230, 220};
        c.fill_polygon({{250, 330}, {400, 330}, {380, 356}, {266, 356}}, hull);
        c.fill_polygon({{320, 250}, {320, 328}, {380, 328}}, sail);
        c.line(320, 240, 320, 330, hull, 3);
    } else {
        // Someone small on the cliff, looking out to sea.
        const Rgb figure{40, 36, 50};
        c.fill_ellipse(250, 380, 7, 8, figure);
        c.fill_polygon({{242, 388}, {258, 388}, {262, 420}, {238, 420}}, figure);
    }
    return c;
}

}  // namespace

void AddPictures(FileSet& files, std::map<std::string, Canvas>* previews) {
    auto add8 = [&](const std::string& name, const Canvas& canvas) {
        files[name] = EncodeBmp8(canvas);
        if (previews) previews->insert_or_assign(name, canvas);
    };
    // Backgrounds the story reaches: place, time, weather and lamp, as the modes name them.
    static const SceneState kScenes[] = {
        {"minato", "yu", "hare", "kie"},      {"saka", "yu", "hare", "kie"},
        {"jinja", "yu", "hare", "kie"},       {"toudai", "yu", "hare", "kie"},
        {"minato", "yoru", "arashi", "kie"},  {"saka", "yoru", "arashi", "kie"},
        {"jinja", "yoru", "arashi", "kie"},   {"misaki", "yoru", "arashi", "kie"},
        {"toudai", "yoru", "arashi", "kie"},  {"heya", "yoru", "arashi", "kie"},
        {"heya", "yoru", "arashi", "tomo"},   {"toudai", "yoru", "arashi", "tomo"},
        {"misaki", "yoru", "arashi", "tomo"}, {"minato", "yoru", "arashi", "tomo"},
        {"minato", "asa", "hare", "tomo"},
    };
    for (const SceneState& s : kScenes) {
        add8("bg_" + s.place + "_" + s.time + "_" + s.weather + "_" + s.lamp + ".bmp",
             PaintBackground(s));
    }
    // The remembered harbour of a summer long ago, in the colours of an old photograph.
    Canvas memory = PaintBackground({"minato", "yu", "hare", "kie"});
    memory.tint({250, 220, 170}, 0.8);
    add8("mem_minato_yu_hare_kie.bmp", memory);
    add8("ep_a_asa_hare_tomo.bmp", ending('a'));
    add8("ep_b_asa_hare_tomo.bmp", ending('b'));
    add8("result.bmp", result_screen());

    add8("gen.bmp", portrait({{60, 90, 120},
                              {30, 44, 64},
                              {200, 150, 110},
                              {120, 118, 116},
                              {50, 70, 100},
                              {230, 230, 220},
                              false,
                              true,
                              true}));
    add8("toko.bmp", portrait({{40, 50, 90},
                               {16, 20, 40},
                               {244, 210, 184},
                               {30, 24, 30},
                               {40, 60, 110},
                               {220, 190, 90},
                               true,
                               false,
                               false}));
    add8("koha.bmp", portrait({{120, 40, 40},
                               {60, 20, 24},
                               {250, 220, 196},
                               {70, 44, 30},
                               {240, 240, 236},
                               {210, 40, 40},
                               false,
                               false,
                               false}));
    add8("fumi.bmp", letter());
    add8("lens.bmp", lens_piece());
    add8("neko.bmp", cat());
    add8("chochin.bmp", lantern());
    for (int n = 1; n <= 8; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "lamp%d.bmp", n);
        add8(name, beam_frame(n));
    }
    add8("sel_umi.bmp", choice_plate({40, 90, 150}, 0));
    add8("sel_jin.bmp", choice_plate({170, 50, 40}, 1));
    add8("sel_tou.bmp", choice_plate({150, 120, 50}, 2));
    add8("selmenu.bmp", select_backdrop());
    add8("system/button.bmp", swipe_button());
}
