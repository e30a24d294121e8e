// The golden images: every tests/golden/gfx_*.ops replayed and compared pixel for pixel with
// its PNG (made with nomatool gfx and checked by eye).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "graphics_test_util.h"
#include "host/png.h"
#include "host/raster_script.h"

namespace {

class GraphicsGolden : public GraphicsTest {};

TEST_F(GraphicsGolden, EveryOperationsFileReproducesItsImage) {
    const std::filesystem::path folder = std::filesystem::path(NOMA_SOURCE_DIR) / "tests/golden";
    int compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::filesystem::path ops = entry.path();
        if (ops.extension() != ".ops" || ops.filename().string().rfind("gfx_", 0) != 0) continue;
        SCOPED_TRACE(ops.filename().string());
        std::string error;
        ASSERT_TRUE(RunRasterScript(ops.string(), &error)) << error;
        std::vector<uint32_t> golden;
        int width = 0, height = 0;
        std::filesystem::path png = ops;
        png.replace_extension(".png");
        ASSERT_TRUE(HostReadPng(png.string().c_str(), &golden, &width, &height));
        ASSERT_EQ(width, HostSurfaceWidth());
        ASSERT_EQ(height, HostSurfaceHeight());
        const uint32_t* pixels = HostSurfacePixels();
        int differing = 0, first = -1;
        for (size_t i = 0; i < golden.size(); ++i) {
            if (golden[i] == pixels[i]) continue;
            if (first < 0) first = int(i);
            ++differing;
        }
        EXPECT_EQ(differing, 0) << "first at " << first % width << "," << first / width;
        ++compared;
    }
    EXPECT_GE(compared, 7);
}

TEST_F(GraphicsGolden, MalformedOperationsAreReported) {
    WriteFile("a.ops", "# comment\nsize 20 10\nfill 0 0 x 5 0xFF\n");
    std::string error;
    EXPECT_FALSE(RunRasterScript("a.ops", &error));
    EXPECT_EQ(error, "a.ops:3: unknown or malformed operation: fill 0 0 x 5 0xFF");
    WriteFile("b.ops", "fill 0 0 5 5 0xFF\n");
    EXPECT_FALSE(RunRasterScript("b.ops", &error));
    EXPECT_EQ(error, "b.ops:1: the first operation must be size W H");
    WriteFile("c.ops", "size 20 10\nbmp 1 1 none.bmp\nfill -0x2 0 4 1 0xFF\nline 0 9 20 9 255\n");
    EXPECT_TRUE(RunRasterScript("c.ops", &error)) << error;
    EXPECT_EQ(Drawn().size(), 2u + 20u);
    EXPECT_FALSE(RunRasterScript("missing.ops", &error));
}

}  // namespace
