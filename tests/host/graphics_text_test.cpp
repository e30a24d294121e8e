// Text output: cells, advances, the three fonts, italics and the glyph cache.
#include <gtest/gtest.h>

#include <string>

#include "graphics_test_util.h"
#include "host/font.h"
#include "host/raster.h"
#include "host/sjis_literal.h"
#include "host/text_out.h"

namespace {

class GraphicsText : public GraphicsTest {
protected:
    // The screen after drawing the pieces in order, each (x, text, flags) at y = 10, size 16.
    struct Piece {
        int x;
        std::string text;
        uint16_t flags = 0;
    };
    std::vector<uint32_t> Draw(std::initializer_list<Piece> pieces) {
        EXPECT_TRUE(HostCreateSurface(kWidth, kHeight));
        for (const Piece& p : pieces)
            HostTextOut(p.x, 10, p.text.c_str(), 0xFFFFFF, 16, p.flags);
        return Screen();
    }
};

TEST_F(GraphicsText, CharactersStayInTheirCellsInTheTextColour) {
    ASSERT_TRUE(HostFontAvailable(HostFontKind::kMincho));
    ASSERT_TRUE(HostFontAvailable(HostFontKind::kGothicNarrow));
    HostTextOut(20, 10, "漢"_sj, 0x00FF00, 16, 0);
    const PixelSet set = Drawn();
    ASSERT_GT(set.size(), 30u);
    bool full = false;
    for (auto [x, y] : set) {
        EXPECT_GE(x, 19);
        EXPECT_LT(x, 20 + 18);
        EXPECT_GE(y, 10);
        EXPECT_LT(y, 10 + 16);
        EXPECT_EQ(Pixel(x, y) & 0xFF00FF, 0u);  // only green, blended over black
        full |= Pixel(x, y) == 0x00FF00;
    }
    EXPECT_TRUE(full);
    EXPECT_EQ(HostScreenTextColor(), 0x00FF00u);

    // The background stays: text over white leaves the white around the strokes.
    HostFillRect(0, 0, kWidth, kHeight, 0xFFFFFF);
    HostTextOut(20, 10, "A"_sj, 0xFFFFFF, 16, 0);
    EXPECT_TRUE(Drawn(0xFFFFFF).empty());
    HostTextOut(20, 10, "", 0x0000FF, 16, 0);
    HostTextOut(20, 10, nullptr, 0x0000FF, 16, 0);
    EXPECT_TRUE(Drawn(0xFFFFFF).empty());
}

TEST_F(GraphicsText, DoubleByteCharactersAdvanceBySizeAndSingleBytesByHalf) {
    EXPECT_EQ(Draw({{4, "漢A"_sj}}), Draw({{4, "漢"_sj}, {20, "A"}}));
    EXPECT_EQ(Draw({{4, "A漢"_sj}}), Draw({{4, "A"}, {12, "漢"_sj}}));
    EXPECT_EQ(Draw({{4, "ｱｲA"_sj}}), Draw({{4, "ｱ"_sj}, {12, "ｲ"_sj}, {20, "A"}}));
    // A lead byte without a trail byte is a single byte of its own.
    EXPECT_EQ(Draw({{4, "\x88 B"}}), Draw({{4, "\x88"}, {20, "B"}}));
    // The text ends at its NUL.
    EXPECT_EQ(Draw({{4, std::string("AB\0CD", 5)}}), Draw({{4, "AB"}}));
}

TEST_F(GraphicsText, HalfWidthKatakanaAndWesternBytesUseTheirOwnFonts) {
    // 0xB1 is the katakana ｱ in the narrow Mincho font, not the Western "±" of the Gothic one,
    // which the byte 0xB1 means there.
    const std::vector<uint32_t> katakana = Draw({{4, "\xB1"}});
    EXPECT_NE(katakana, Draw({{4, ""}}));
    EXPECT_EQ(katakana, Draw({{4, "ｱ"_sj}}));
    // Bytes 0xE0-0xFC not followed by a trail byte read as Western letters (à, è).
    EXPECT_NE(Draw({{4, "\xE0 "}}), Draw({{4, "\xE8 "}}));
    // The narrow fonts are narrower than the one-piece Mincho for the same character.
    const PixelSet narrow = [&] {
        Draw({{4, "ｱ"_sj}});
        return Drawn();
    }();
    const PixelSet wide = [&] {
        Draw({{4, "ｱ"_sj, FONT_ONE_PIECE}});
        return Drawn();
    }();
    EXPECT_NE(narrow, wide);
}

// (One-piece text, italics and other sizes are drawn in the gfx_text golden.)
TEST_F(GraphicsText, ItalicsLeanAndGlyphsAreCachedOnce) {
    EXPECT_NE(Draw({{4, "漢A"_sj, FONT_ITALIC}}), Draw({{4, "漢A"_sj}}));
    Draw({{4, "漢字かなｶﾅABC"_sj}});
    const size_t cached = HostFontCachedGlyphs();
    Draw({{40, "漢字かなｶﾅABC"_sj}});
    EXPECT_EQ(HostFontCachedGlyphs(), cached);
}

}  // namespace
