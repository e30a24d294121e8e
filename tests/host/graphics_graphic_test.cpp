// Graphic records of the "Graphic VRAM" resource: create, load, find or load, free.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "graphics_test_util.h"
#include "host/bitmap.h"
#include "host/bmp.h"
#include "host/bmp_write.h"
#include "resource/resource.h"
#include "window/graphic.h"

namespace {

class GraphicsRecords : public GraphicsTest {
protected:
    void SetUp() override {
        GraphicsTest::SetUp();
        ASSERT_TRUE(CreateSystemResources());
        const uint32_t pixels[] = {0x010203, 0x040506};
        ASSERT_TRUE(HostWriteBmp("pic.bmp", pixels, 2, 1));
    }
};

TEST_F(GraphicsRecords, CreatedAndLoadedGraphicsHoldTheirBitmaps) {
    const int bitmaps = HostBitmapCount();
    const Handle made = CreateGraphic(0, 0, 30, 20);
    ASSERT_NE(made, 0u);
    const GraphicRecord* g = graphic_record(made);
    EXPECT_EQ(g->width * 100 + g->height, 3020);
    EXPECT_TRUE(HostBitmapExists(g->bitmap));
    EXPECT_EQ(CreateGraphic(0, 0, 0, 20), 0u);  // no bitmap: the record goes again
    EXPECT_EQ(RecordCount(g_resources.graphic_vram), 1);

    const Handle loaded = LoadGraphic(0, 0, "pic.bmp");
    ASSERT_NE(loaded, 0u);
    g = graphic_record(loaded);
    EXPECT_EQ(g->width * 100 + g->height, 201);
    EXPECT_STREQ(g->name, "pic.bmp");
    EXPECT_EQ(HostBitmapTarget(g->bitmap).pixels[1], 0x040506u);
    EXPECT_EQ(HostBmpState().bitmap, 0u);  // the loader let go of it
    EXPECT_EQ(LoadGraphic(0, 0, "nothing.bmp"), 0u);
    EXPECT_TRUE(Logged("BMP file nothing.bmp open error"));

    // Found by its name the second time; loaded again under another spelling.
    EXPECT_EQ(FindOrLoadGraphic(0, 0, "pic.bmp"), loaded);
    const Handle again = FindOrLoadGraphic(0, 0, "PIC.bmp");
    EXPECT_NE(again, 0u);
    EXPECT_NE(again, loaded);
    EXPECT_EQ(HostBitmapCount(), bitmaps + 3);

    FreeGraphic(0, 0, made);
    FreeGraphic(0, 0, loaded);
    FreeGraphic(0, 0, again);
    EXPECT_EQ(HostBitmapCount(), bitmaps);
    EXPECT_EQ(RecordCount(g_resources.graphic_vram), 0);
}

TEST_F(GraphicsRecords, LongNamesAreCutAndNeverFound) {
    const std::string name = std::string(50, 'a') + ".bmp";
    WriteFile(name, ReadFile("pic.bmp"));
    const Handle first = FindOrLoadGraphic(0, g_resources.graphic_vram, name.c_str());
    ASSERT_NE(first, 0u);
    EXPECT_EQ(std::strlen(graphic_record(first)->name), 43u);
    const Handle second = FindOrLoadGraphic(0, g_resources.graphic_vram, name.c_str());
    EXPECT_NE(second, first);
    FreeGraphic(0, 0, first);
    FreeGraphic(0, 0, second);
}

}  // namespace
