// What players see of the effect player, compared pixel for pixel with tests/golden: a page of
// outlined text with colour and size tags half typed and complete, and the wipes and fades at
// a middle step (the white-out at its end). NOMA_UPDATE_GOLDEN=1 writes the references anew.
#include <gtest/gtest.h>

#include "host/raster.h"
#include "host/sjis_literal.h"
#include "present/effect_data.h"
#include "present/effect_task.h"
#include "present_env.h"
#include "window/backing_store.h"
#include "window/draw.h"
#include "window/gc.h"
#include "window/window.h"

namespace {

class EffectGoldenTest : public PresentTest {
protected:
    void SetUp() override {
        PresentTest::SetUp();
        StartEffects();
    }

    // A scene: diagonal colour bands over the whole window.
    void Scene(Handle window) {
        const WindowRecord* w = window_record(window);
        int left = client_left(window), top = client_top(window);
        for (int y = 0; y < w->height; ++y)
            for (int x = 0; x < w->width; ++x) {
                int band = ((x + 2 * y) / 12) % 4;
                const uint32_t colours[4] = {0x6A3C1E, 0x8C6432, 0x3C5A28, 0x4A78A0};
                HostSetPixel(left + x, top + y, colours[band] + uint32_t(y / 4));
            }
    }
};

TEST_F(EffectGoldenTest, OutlinedPageHalfTypedAndComplete) {
    // The scene fills the screen; the message area is a darkened child window whose backing
    // store holds its background, as a message object keeps it.
    Handle gc = CreateGC(0x1E1E28, 0x505064, 0x0A0A10, 0xFFFFFF);
    Handle window = OpenWindow(0, 0, kWidth, kHeight, WIN_NOBACK, gc);
    Scene(window);
    Handle area = create_window(owner_, window, 300, 118, WIN_SUBWINDOW | WIN_SHOW);
    set_rectangle(area, 10, 114, 300, 118);
    set_window_mode(area, WIN_DRAWABLE);
    WinSemitransRectangle(area, 0, 0, 300, 118, 0x7878);
    BackingStore(area);
    SaveBackingStore(area);
    Handle object =
        MessageObject(area, gc,
                      "夕暮れの街道に<font_color gold>金色<font_color white>の光が差す。"
                      "旅人は足を止め、<font_size 2>遠く<font_size 1>を見た。\n"
                      "「ここから先は、ひとりで行くのだ」と、老人は言った。"_sj);
    RequestEffect(EFFECT_TEXT, window, object);
    TickEffects(24);
    CompareGolden("effect_text_midway.png");
    RedrawEffect(owner_, object, 0);
    CompareGolden("effect_text_page.png");
}

TEST_F(EffectGoldenTest, WipesAtAMiddleStepAndTheEndOfAWhiteOut) {
    Handle gc = CreateGC(0x1E1E28, 0x505064, 0x0A0A10, 0xFFFFFF);
    const int kSide = 150, kTall = 112;
    Handle grid = OpenWindow(5, 5, kSide, kTall, WIN_NOBACK, gc);
    Handle bands = OpenWindow(165, 5, kSide, kTall, WIN_NOBACK, gc);
    Handle black = OpenWindow(5, 123, kSide, kTall, WIN_NOBACK, gc);
    Handle white = OpenWindow(165, 123, kSide, kTall, WIN_NOBACK, gc);
    for (Handle w : {grid, bands, black, white}) {
        set_window_mode(w, WIN_DRAWABLE);
        Scene(w);
    }
    RequestEffect(EFFECT_LINE_GRID, grid, 1, 0, 0x40E0FF);
    RequestEffect(EFFECT_BAND_WIPE, bands, 2, 0, 0x202020);
    RequestEffect(EFFECT_BLACK_OUT, black, 3, 0, 0);
    RequestEffect(EFFECT_WHITE_OUT, white, 4, 0, 0);
    TickEffects(10);  // the white-out ended on its fourth tick
    CompareGolden("effect_wipes.png");
}

TEST_F(EffectGoldenTest, RevealHalfWay) {
    Handle gc = CreateGC(0x1E1E28, 0x505064, 0x0A0A10, 0xFFFFFF);
    Handle window = OpenWindow(0, 0, kWidth, kHeight, WIN_NOBACK, gc);
    Scene(window);
    RequestEffect(EFFECT_CAPTURE, window, 9, 0, 0, 40, 30, 240, 180);
    TickEffects();
    FillRectangle(window, 0, 0, kWidth, kHeight, 0x1E1E28);
    RequestEffect(EFFECT_REVEAL, window, 9, 0, 0);
    TickEffects(9);  // the passes of the 5th and 10th counted ticks: half of the rows are back
    CompareGolden("effect_reveal_halfway.png");
}

}  // namespace
