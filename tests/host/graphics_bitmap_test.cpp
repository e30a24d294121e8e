// Bitmaps: the host table, block transfers, the stretch walk and transparency masks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>

#include "graphics_test_util.h"
#include "host/bitmap.h"
#include "host/bitmap_draw.h"
#include "host/raster.h"
#include "host/raster_blit.h"

namespace {

// A bitmap whose pixel (x, y) is x + 16 y + 1 (never black).
uint32_t NumberedBitmap(int width, int height) {
    const uint32_t id = HostCreateBitmap(width, height);
    const RasterTarget t = HostBitmapTarget(id);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            t.Row(y)[x] = uint32_t(x + 16 * y + 1);
    return id;
}

// The stretch walk of one axis done step by step: the destination and source indexes it
// visits, as the platform walks them.
std::vector<int> WalkAxis(int dst_start, int dst_length, int dst_limit, int src_start,
                          int src_length, int src_limit, bool keep_first) {
    std::vector<int> map(size_t(dst_limit), -1);
    const int D = std::abs(dst_length), S = std::abs(src_length);
    const int dinc = dst_length > 0 ? 1 : -1, sinc = src_length > 0 ? 1 : -1;
    int d = dst_start, s = src_start;
    auto visit = [&] {
        if (d < 0 || d >= dst_limit || s < 0 || s >= src_limit) return;
        if (!keep_first || map[size_t(d)] < 0 || S <= D) map[size_t(d)] = s;
    };
    if (D >= S) {
        int err = 3 * S - 2 * D;
        for (int k = 0; k < D; ++k, d += dinc) {
            visit();
            if (err > 0) {
                s += sinc;
                err += 2 * S - 2 * D;
            } else {
                err += 2 * S;
            }
        }
    } else {
        int err = 3 * D - 2 * S;
        for (int m = 0; m < S; ++m, s += sinc) {
            visit();
            if (err > 0) {
                d += dinc;
                err += 2 * D - 2 * S;
            } else {
                err += 2 * D;
            }
        }
    }
    return map;
}

TEST(GraphicsStretch, AxisMappingFollowsTheStepwiseWalk) {
    for (int dst = -13; dst <= 13; ++dst) {
        for (int src = -13; src <= 13; ++src) {
            if (!dst || !src) continue;
            for (int dst_start : {-4, 0, 5, 12}) {
                for (int src_start : {-3, 0, 2, 9}) {
                    for (bool keep_first : {false, true}) {
                        ASSERT_EQ(
                            RasterStretchAxis(dst_start, dst, 16, src_start, src, 10, keep_first),
                            WalkAxis(dst_start, dst, 16, src_start, src, 10, keep_first))
                            << dst << " " << src << " " << dst_start << " " << src_start;
                    }
                }
            }
        }
    }
}

class GraphicsBitmaps : public GraphicsTest {};

TEST_F(GraphicsBitmaps, TableHandsOutIdsAndRefusesBadSizes) {
    const int before = HostBitmapCount();
    const uint32_t a = HostCreateBitmap(3, 2), m = HostCreateMask(3, 2);
    ASSERT_TRUE(a && m && a != m);
    EXPECT_TRUE(!HostBitmapIsMask(a) && HostBitmapIsMask(m));
    for (auto [w, h] : {std::pair{0, 5}, {5, -1}, {1 << 20, 1 << 20}})
        EXPECT_EQ(HostCreateBitmap(w, h), 0u) << w << "x" << h;
    EXPECT_TRUE(HostDeleteBitmap(a));
    EXPECT_FALSE(HostDeleteBitmap(a));
    EXPECT_EQ(HostBitmapTarget(a).pixels, nullptr);
    EXPECT_TRUE(HostDeleteBitmap(m));
    EXPECT_EQ(HostBitmapCount(), before);
}

TEST_F(GraphicsBitmaps, ScreenAreasGoIntoBitmapsAndBack) {
    HostFillRect(0, 0, kWidth, kHeight, 0x00FF00);
    HostFillRect(10, 10, 4, 4, 0x0000FF);
    const uint32_t b = HostCreateBitmap(6, 6);
    // The block reaches past the screen's corner: those pixels of the bitmap stay black.
    EXPECT_TRUE(HostSaveScreenArea(b, 9, 9, 6, 6));
    RasterTarget t = HostBitmapTarget(b);
    EXPECT_EQ(t.Row(0)[0], 0x00FF00u);
    EXPECT_EQ(t.Row(1)[1], 0x0000FFu);

    HostFillRect(0, 0, kWidth, kHeight, 0);
    EXPECT_TRUE(HostPutScreenArea(b, 30, 30, 3, 3));
    EXPECT_EQ(Drawn().size(), 9u);
    EXPECT_EQ(Pixel(32, 32), 0x0000FFu);

    // A bitmap that is gone: nothing drawn, the failure logged.
    HostDeleteBitmap(b);
    EXPECT_FALSE(HostPutScreenArea(b, 0, 0, 3, 3));
    EXPECT_TRUE(Logged("Error GraphicLoad() BitBlt() ret 6"));

    // Copying an area through a bitmap leaves the screen as it was.
    const std::vector<uint32_t> before = Screen();
    HostCopyScreenArea(25, 25, 20, 20);
    EXPECT_EQ(Screen(), before);
}

TEST_F(GraphicsBitmaps, DrawingIsCutToTheBitmapAndTakesRasterCodes) {
    const uint32_t b = NumberedBitmap(4, 3);
    EXPECT_TRUE(HostDrawBitmap(2, 2, 50, 50, b));
    EXPECT_EQ(Drawn().size(), 12u);
    EXPECT_EQ(Pixel(5, 4), uint32_t(3 + 32 + 1));

    HostFillRect(0, 0, kWidth, kHeight, 0x000100);
    EXPECT_TRUE(HostDrawBitmapPart(10, 10, 2, 2, b, 1, 1, ROP_SRCPAINT));
    EXPECT_EQ(Pixel(10, 10), uint32_t(0x000100 | (1 + 16 + 1)));
    EXPECT_EQ(Pixel(11, 11), uint32_t(0x000100 | (2 + 32 + 1)));
    // A code that reads the pattern: the screen's brush is white.
    EXPECT_TRUE(HostDrawBitmapPart(20, 20, 1, 1, b, 0, 0, ROP_PATCOPY));
    EXPECT_EQ(Pixel(20, 20), 0xFFFFFFu);
    EXPECT_TRUE(HostDrawBitmapPart(21, 20, 1, 1, b, 0, 0, 0x00E20746));  // (D & ~S) | (P & S)
    EXPECT_EQ(Pixel(21, 20), 0x000101u);
    EXPECT_FALSE(HostDrawBitmap(0, 0, 4, 4, 0));

    // The generic raster operation agrees with the common codes.
    const uint32_t p = 0x5A3C0F, s = 0x336699, d = 0xF0F0F0;
    EXPECT_EQ(RasterRop3(ROP_TINT, p, s, d), d | (s & ~p));
    EXPECT_EQ(RasterRop3(ROP_DSTINVERT, p, s, d), ~d & 0xFFFFFFu);
}

TEST_F(GraphicsBitmaps, TransfersWithinOneTargetReadTheOldPixels) {
    Canvas c(8, 1);
    for (int x = 0; x < 8; ++x)
        c.pixels[size_t(x)] = uint32_t(x + 1);
    const RasterTarget t = c.target();
    RasterBlit(t, 2, 0, 5, 1, &t, 0, 0, ROP_SRCCOPY, 0);
    EXPECT_EQ(c.pixels, (std::vector<uint32_t>{1, 2, 1, 2, 3, 4, 5, 8}));
}

// (Stretched, mirrored and partial drawings and tints are drawn in the gfx_bitmaps golden.)
TEST_F(GraphicsBitmaps, MagentaPixelsBecomeTransparentOnceAndTheBitmapChanges) {
    const uint32_t b = NumberedBitmap(3, 2);
    RasterTarget t = HostBitmapTarget(b);
    t.Row(0)[1] = 0xFF00FF;
    t.Row(1)[2] = 0xFF00FF;
    HostFillRect(0, 0, kWidth, kHeight, 0x400000);
    EXPECT_TRUE(HostDrawMagenta(5, 5, b));
    EXPECT_EQ(Pixel(6, 5), 0x400000u);  // transparent: the screen stays
    EXPECT_EQ(Pixel(7, 6), 0x400000u);
    EXPECT_EQ(Pixel(5, 5), 1u);
    // The mask is 1 at the transparent pixels and the bitmap is black there now.
    const RasterTarget m = HostBitmapTarget(HostLastTransparencyMask());
    EXPECT_EQ(m.Row(0)[1], 1u);
    EXPECT_EQ(m.Row(0)[0], 0u);
    EXPECT_EQ(t.Row(0)[1], 0u);
    // Drawn again, no magenta is left: the black pixels are copied.
    EXPECT_TRUE(HostDrawMagenta(20, 5, b));
    EXPECT_EQ(Pixel(21, 5), 0u);

    // A mask for another colour; where the mask is 1 the bitmap is ORed on.
    const uint32_t mask = HostMakeTransparencyMask(b, 17);  // pixel (0, 1)
    EXPECT_EQ(HostBitmapTarget(mask).Row(1)[0], 1u);
    EXPECT_TRUE(HostDrawMasked(40, 5, b, mask));
    EXPECT_EQ(Pixel(40, 6), 0x400000u);
    EXPECT_FALSE(HostDrawMagenta(0, 0, 0));
    HostDeleteBitmap(mask);
}

}  // namespace
