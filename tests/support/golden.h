// Golden screenshots: the whole screen against tests/golden/<file>, pixel for pixel. With
// NOMA_UPDATE_GOLDEN=1 the reference is written instead (look at it before committing). A
// differing screen is kept as actual_<file> in the test's working folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/png.h"
#include "host/surface.h"

inline void CompareScreenGolden(const char* file, const std::string& folder) {
    std::string path = std::string(NOMA_SOURCE_DIR) + "/tests/golden/" + file;
    if (std::getenv("NOMA_UPDATE_GOLDEN")) {
        ASSERT_TRUE(HostSaveSurfacePng(path.c_str()));
        return;
    }
    std::vector<uint32_t> expected;
    int width = 0, height = 0;
    ASSERT_TRUE(HostReadPng(path.c_str(), &expected, &width, &height)) << path;
    ASSERT_EQ(width, HostSurfaceWidth());
    ASSERT_EQ(height, HostSurfaceHeight());
    int differing = 0;
    for (int i = 0; i < width * height; ++i)
        differing += (HostSurfacePixels()[i] & 0xFFFFFF) != expected[i];
    if (differing) HostSaveSurfacePng((std::string("actual_") + file).c_str());
    EXPECT_EQ(differing, 0) << file << " differs; the actual screen is in " << folder;
}
