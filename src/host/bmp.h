// The BMP loader: reads a BMP file (with or without its 14-byte file header, with a 12- or
// 40-byte info header) into a host bitmap in the screen's format. The loader keeps its state
// (the info header, the colour table, the palette, the pixel bits and the bitmap) from one load
// to the next; the next load frees it first. Failures are logged and return 0.
//
// Every read stays inside the file and every write inside the bitmap, whatever the header
// claims: the pixel bits are never taken larger than what the file holds, and the bitmap is
// only made when the file holds the pixels it describes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The 40-byte info header (a 12-byte header is widened into one).
struct BmpInfoHeader {
    uint32_t size;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bit_count;
    uint32_t compression;
    uint32_t size_image;
    int32_t x_pels_per_meter;
    int32_t y_pels_per_meter;
    uint32_t colours_used;
    uint32_t colours_important;
};

// Compression values.
constexpr uint32_t BMP_RGB = 0;
constexpr uint32_t BMP_RLE8 = 1;
constexpr uint32_t BMP_RLE4 = 2;
constexpr uint32_t BMP_BITFIELDS = 3;

// A colour-table entry as stored in the file.
struct BmpQuad {
    uint8_t blue, green, red, reserved;
};
struct BmpPaletteEntry {
    uint8_t red, green, blue, flags;
};

struct BmpLoaderState {
    bool has_header = false;
    bool old_style = false;  // the file had a 12-byte header
    uint32_t bit_offset = 0;
    BmpInfoHeader header{};
    std::vector<BmpQuad> colours;
    std::vector<BmpPaletteEntry> palette;
    // The pixel bits read from the file (a block left uncleared: the file is read over it).
    std::unique_ptr<uint8_t[]> bits;
    size_t bits_size = 0;
    uint32_t bitmap = 0;  // the host bitmap, owned by the state until taken
};

// Loads `name` (opened through HostFileOpen). Returns the host bitmap, owned by the loader
// state (valid until the next load or HostFreeBmpState) unless taken with HostTakeBmpBitmap.
uint32_t HostLoadBmp(const char* name);
// The same over the bytes of a file in memory; `name` is used in the log lines.
uint32_t HostLoadBmpFromMemory(const uint8_t* data, size_t size, const char* name);
// Hands the loaded bitmap to the caller: the loader state will not delete it.
uint32_t HostTakeBmpBitmap();
// Frees the loader state (and the bitmap unless it was taken).
void HostFreeBmpState();
const BmpLoaderState& HostBmpState();

// Decodes the pixel bits of a loaded header and colour table into a new host bitmap; 0 when
// the platform would refuse the image or the bits do not hold it (host/bmp_decode.cpp).
uint32_t BmpDecodeBitmap(const BmpInfoHeader& header, const std::vector<BmpQuad>& colours,
                         const uint8_t* bits, size_t size);
