// The BMP loader: the variants it takes, the ones it refuses and the log line of each refusal.
#include <gtest/gtest.h>

#include <string>

#include "graphics_test_util.h"
#include "host/bitmap.h"
#include "host/bitmap_draw.h"
#include "host/bmp.h"
#include "host/sjis_literal.h"

namespace {

void Put16(std::string& s, uint32_t v) {
    s += char(v), s += char(v >> 8);
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v), Put16(s, v >> 16);
}

std::string Info40(int32_t w, int32_t h, int bpp, uint32_t compression = 0, uint32_t size_image = 0,
                   uint32_t used = 0) {
    std::string s;
    Put32(s, 40);
    Put32(s, uint32_t(w));
    Put32(s, uint32_t(h));
    Put16(s, 1);
    Put16(s, uint32_t(bpp));
    Put32(s, compression);
    Put32(s, size_image);
    Put32(s, 2835);
    Put32(s, 2835);
    Put32(s, used);
    Put32(s, 0);
    return s;
}

// File header + info + table (+ gap) + bits.
std::string Bmp(const std::string& info, const std::string& table, const std::string& bits,
                bool file_header = true, size_t gap = 0) {
    std::string body = info + table + std::string(gap, '\x55') + bits;
    if (!file_header) return body;
    std::string s = "BM";
    Put32(s, uint32_t(14 + body.size()));
    Put32(s, 0);
    Put32(s, uint32_t(14 + info.size() + table.size() + gap));
    return s + body;
}

std::string Quads(std::initializer_list<uint32_t> colours) {  // 0x00BBGGRR each
    std::string s;
    for (uint32_t c : colours) {
        s += char(c >> 16);
        s += char(c >> 8);
        s += char(c);
        s += '\0';
    }
    return s;
}

// 3 x 2, 24 bits, bottom-up: the top row is red, green, blue; the bottom row grey shades.
std::string Bits24() {
    std::string s;
    s += std::string("\x10\x10\x10\x20\x20\x20\x30\x30\x30", 9) + std::string(3, '\0');
    s += std::string("\x00\x00\xFF\x00\xFF\x00\xFF\x00\x00", 9) + std::string(3, '\0');
    return s;
}

class GraphicsBmp : public GraphicsTest {
protected:
    void TearDown() override {
        HostFreeBmpState();
        GraphicsTest::TearDown();
    }
    // Loads `bytes` from a file and returns the bitmap's pixels row by row (empty on failure).
    std::vector<uint32_t> Load(const std::string& bytes, int* width = nullptr,
                               int* height = nullptr) {
        WriteFile("image.bmp", bytes);
        const uint32_t bitmap = HostLoadBmp("image.bmp");
        if (!bitmap) return {};
        const RasterTarget t = HostBitmapTarget(bitmap);
        if (width) *width = t.width;
        if (height) *height = t.height;
        return std::vector<uint32_t>(t.pixels, t.pixels + t.width * t.height);
    }
    bool Refused(const std::string& bytes, const std::string& line) {
        const size_t before = LogLines().size();
        if (!Load(bytes).empty()) return false;
        const std::vector<std::string> lines = LogLines();
        if (line.empty()) return lines.size() == before;
        return lines.size() == before + 1 && lines.back() == line;
    }
};

// (Every variant the loader takes, with and without a file header, a gap before the bits,
// top-down rows, 8, 4 and 1 bits and both run-length codings, is drawn in the gfx_bmp_files
// golden; these are the cases it does not show.)
TEST_F(GraphicsBmp, TwentyFourBitImagesGetTheColourCubePalette) {
    int w = 0, h = 0;
    EXPECT_EQ(Load(Bmp(Info40(3, 2, 24), "", Bits24()), &w, &h).size(), 6u);
    EXPECT_EQ(w * 10 + h, 32);
    // The colour cube palette: red in steps of 32, then green, then blue in steps of 64.
    const std::vector<BmpPaletteEntry>& palette = HostBmpState().palette;
    ASSERT_EQ(palette.size(), 256u);
    auto rgb = [&](size_t i) {
        return palette[i].red << 16 | palette[i].green << 8 | palette[i].blue;
    };
    EXPECT_EQ(rgb(1), 32 << 16);
    EXPECT_EQ(rgb(255), 224 << 16 | 224 << 8 | 192);
}

TEST_F(GraphicsBmp, PaletteIndexesBeyondTheTableAreBlack) {
    // 8 bits with 16 colours used: 16 entries; index 20 is beyond the table and black.
    std::string table;
    for (uint32_t i = 0; i < 16; ++i)
        table += Quads({i * 0x0F0F0F});
    std::string bits = std::string("\x01\x0F\x14\x00", 4) + std::string("\x02\x03\x04\x00", 4);
    EXPECT_EQ(Load(Bmp(Info40(3, 2, 8, 0, 0, 16), table, bits)),
              (std::vector<uint32_t>{0x1E1E1E, 0x2D2D2D, 0x3C3C3C, 0x0F0F0F, 0xE1E1E1, 0}));
    EXPECT_EQ(HostBmpState().palette.size(), 16u);
    // Without an image size it is computed from the formula.
    bits = std::string("\xA0\x00\x00\x00", 4) + std::string("\x60\x00\x00\x00", 4);
    EXPECT_EQ(Load(Bmp(Info40(3, 2, 1), Quads({0x000000, 0x0080FF}), bits)).size(), 6u);
    EXPECT_EQ(HostBmpState().header.size_image, 8u);
}

TEST_F(GraphicsBmp, RunLengthImagesWithoutAnImageSizeStillDecode) {
    std::string table = Quads({0, 0x111111, 0x222222, 0x333333});
    // The uncompressed size is read: the file's shorter data still decodes.
    std::string rle = std::string("\x05\x03\x00\x01", 4);
    EXPECT_EQ(Load(Bmp(Info40(5, 1, 8, 1, 0, 4), table, rle)),
              (std::vector<uint32_t>(5, 0x333333)));
}

TEST_F(GraphicsBmp, RefusalsAreLoggedAtTheirStep) {
    EXPECT_EQ(HostLoadBmp("missing.bmp"), 0u);
    EXPECT_TRUE(Logged("BMP file missing.bmp open error"));

    const std::string palette_error = std::string("image.bmp") + " file パレット作成 error"_sj;
    // A 12-byte header never gets a palette.
    std::string core;
    Put32(core, 12);
    Put16(core, 3);
    Put16(core, 2);
    Put16(core, 1);
    Put16(core, 8);
    core += std::string(256 * 3, '\x11') + std::string(8, '\0');
    EXPECT_TRUE(Refused(Bmp(core, "", ""), palette_error));
    EXPECT_TRUE(HostBmpState().old_style);
    EXPECT_EQ(HostBmpState().colours.size(), 256u);
    // 32 and 16 bits have no colour table and no colour cube.
    EXPECT_TRUE(Refused(Bmp(Info40(2, 2, 16), "", std::string(8, '\x40')), palette_error));
    // ... unless they name colours: then they load.
    EXPECT_EQ(Load(Bmp(Info40(1, 1, 32, 0, 0, 1), Quads({0}), std::string("\x10\x20\x30\x00", 4))),
              (std::vector<uint32_t>{0x102030}));

    const std::string info_error = "image.bmp file BITMAP INFO error";
    std::string odd = Info40(3, 2, 24);
    odd[0] = 64;
    EXPECT_TRUE(Refused(Bmp(odd, "", Bits24()), info_error));
    EXPECT_TRUE(Refused(Bmp(Info40(3, 2, 24), "", "").substr(0, 40), info_error));
    EXPECT_TRUE(Refused(Bmp(Info40(3, 2, 8), Quads({1, 2, 3}), ""), info_error));

    const std::string form_error = "image.bmp file BitmapFormDib error";
    EXPECT_TRUE(Refused(Bmp(Info40(3, 2, 24), "", Bits24().substr(0, 20)), form_error));
    EXPECT_TRUE(Refused(Bmp(Info40(0, 2, 24), "", Bits24()), form_error));
    // A run-length image claiming far more pixels than its bytes can hold.
    EXPECT_TRUE(Refused(Bmp(Info40(30000, 30000, 8, 1, 4, 2), Quads({0, 1}), "\x01\x01\x00\x01"),
                        form_error));
    // The bits of the last row may lack their padding.
    EXPECT_EQ(Load(Bmp(Info40(3, 2, 24), "", Bits24().substr(0, 21))).size(), 6u);

    // An image size no block can hold: compressed images say so, others fail silently; so do
    // top-down images without an image size (the computed size is negative).
    EXPECT_TRUE(Refused(Bmp(Info40(60000, 30000, 8, 1, 0, 2), Quads({0, 1}), "\x00\x01"),
                        "BMP biCompression."));
    EXPECT_TRUE(Refused(Bmp(Info40(3, -2, 24), "", Bits24()), ""));
}

TEST_F(GraphicsBmp, TheLoaderKeepsOneBitmapUntilTheNextLoad) {
    const std::string file = Bmp(Info40(3, 2, 24), "", Bits24());
    const int before = HostBitmapCount();
    WriteFile("a.bmp", file);
    const uint32_t first = HostLoadBmp("a.bmp");
    ASSERT_NE(first, 0u);
    EXPECT_NE(HostLoadBmp("A.BMP"), 0u);       // names match regardless of case
    EXPECT_EQ(HostBitmapCount(), before + 1);  // the first bitmap went with the old state
    const uint32_t taken = HostTakeBmpBitmap();
    HostFreeBmpState();
    EXPECT_TRUE(HostBitmapExists(taken));
    EXPECT_EQ(HostBmpState().bitmap, 0u);
    HostDeleteBitmap(taken);

    // Drawing a file frees the state again.
    EXPECT_TRUE(HostDrawBmpFile(10, 10, "a.bmp"));
    EXPECT_EQ(Pixel(10, 10), 0x0000FFu);
    EXPECT_EQ(HostBitmapCount(), before);
    EXPECT_FALSE(HostDrawBmpFile(10, 10, "none.bmp"));

    // The same bytes from memory.
    ASSERT_NE(
        HostLoadBmpFromMemory(reinterpret_cast<const uint8_t*>(file.data()), file.size(), "memory"),
        0u);
    EXPECT_EQ(HostBitmapTarget(HostBmpState().bitmap).pixels[5], 0x303030u);
}

}  // namespace
