// The generator's BMP encoders read back through the game's own loader: long runs, the last
// row, pictures of more than 256 colours and the transparent green, which must stay exact.
#include <gtest/gtest.h>

#include <cstdlib>

#include "host/bitmap.h"
#include "host/bmp.h"
#include "host/raster_target.h"
#include "support/test_env.h"
#include "tools/demo_gen/image.h"

namespace {

uint32_t Pixel(Rgb c) {
    return uint32_t(c.b) << 16 | uint32_t(c.g) << 8 | c.r;
}

class BmpEncoderTest : public NomaTest {
protected:
    // Loads the encoded file and returns its pixels row by row (0x00BBGGRR).
    std::vector<uint32_t> Load(const std::vector<uint8_t>& file, int w, int h) {
        const uint32_t bitmap = HostLoadBmpFromMemory(file.data(), file.size(), "encoded");
        EXPECT_NE(bitmap, 0u);
        int lw = 0, lh = 0;
        EXPECT_TRUE(HostBitmapSize(bitmap, &lw, &lh));
        EXPECT_EQ(lw, w);
        EXPECT_EQ(lh, h);
        const RasterTarget t = HostBitmapTarget(bitmap);
        return std::vector<uint32_t>(t.pixels, t.pixels + size_t(w) * h);
    }
};

TEST_F(BmpEncoderTest, FewColoursComeBackExactlyInBothEncodings) {
    // Runs longer than one RLE8 run (255), single pixels, and distinct first and last rows.
    Canvas c(601, 5, {10, 20, 30});
    c.fill_rect(0, 0, 601, 1, {200, 0, 0});
    c.fill_rect(300, 2, 1, 1, kTransparent);
    c.fill_rect(0, 4, 600, 1, {0, 0, 220});
    c.set(600, 4, {255, 255, 255});
    for (bool rle : {true, false}) {
        SCOPED_TRACE(rle ? "RLE8" : "24-bit");
        const std::vector<uint32_t> got = Load(rle ? EncodeBmp8(c) : EncodeBmp24(c), 601, 5);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 601; ++x)
                ASSERT_EQ(got[size_t(y) * 601 + x], Pixel(c.at(x, y))) << x << "," << y;
    }
}

TEST_F(BmpEncoderTest, ManyColoursAreQuantisedCloselyAndGreenStaysExact) {
    Canvas c(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            c.set(x, y, {uint8_t(x * 4), uint8_t(y * 4), uint8_t(x + y)});
    c.fill_rect(0, 0, 8, 8, kTransparent);
    const std::vector<uint8_t> file = EncodeBmp8(c);
    EXPECT_EQ(file[28], 8);  // bits per pixel
    EXPECT_EQ(file[30], 1);  // RLE8
    const std::vector<uint32_t> got = Load(file, 64, 64);
    int worst = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const uint32_t p = got[size_t(y) * 64 + x];
            const Rgb want = c.at(x, y);
            if (want == kTransparent) {
                ASSERT_EQ(p, Pixel(kTransparent));
                continue;
            }
            EXPECT_NE(p, Pixel(kTransparent)) << "a colour turned transparent";
            worst = std::max({worst, std::abs(int(p & 0xFF) - want.r),
                              std::abs(int(p >> 8 & 0xFF) - want.g),
                              std::abs(int(p >> 16 & 0xFF) - want.b)});
        }
    }
    EXPECT_LT(worst, 24);
}

}  // namespace
