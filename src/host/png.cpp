#include "host/png.h"

#include <png.h>

#include <cstdio>
#include <mutex>

#include "host/file.h"
#include "host/surface.h"

namespace {

struct PngFile {
    FILE* file = nullptr;
    ~PngFile() {
        if (file) HostFileClose(file);
    }
};

}  // namespace

bool HostWritePng(const char* path, const uint32_t* pixels, int width, int height) {
    if (!pixels || width <= 0 || height <= 0) return false;
    PngFile out;
    out.file = HostFileOpen(path, "wb");
    if (!out.file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    std::vector<png_byte> row(size_t(width) * 3);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        return false;
    }
    png_init_io(png, out.file);
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const uint32_t* p = pixels + size_t(y) * width;
        for (int x = 0; x < width; ++x) {
            row[size_t(x) * 3] = png_byte(p[x]);
            row[size_t(x) * 3 + 1] = png_byte(p[x] >> 8);
            row[size_t(x) * 3 + 2] = png_byte(p[x] >> 16);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fflush(out.file) == 0;
}

bool HostReadPng(const char* path, std::vector<uint32_t>* pixels, int* width, int* height) {
    PngFile in;
    in.file = HostFileOpen(path, "rb");
    if (!in.file) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
        return false;
    }
    png_init_io(png, in.file);
    png_read_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_strip_alpha(png);
    png_read_update_info(png, info);
    std::vector<png_byte> row(png_get_rowbytes(png, info));
    pixels->assign(size_t(w) * h, 0u);
    for (png_uint_32 y = 0; y < h; ++y) {
        png_read_row(png, row.data(), nullptr);
        uint32_t* p = pixels->data() + size_t(y) * w;
        for (png_uint_32 x = 0; x < w; ++x)
            p[x] = uint32_t(row[x * 3]) | uint32_t(row[x * 3 + 1]) << 8 |
                   uint32_t(row[x * 3 + 2]) << 16;
    }
    png_destroy_read_struct(&png, &info, nullptr);
    *width = int(w);
    *height = int(h);
    return true;
}

bool HostSaveSurfacePng(const char* path) {
    std::vector<uint32_t> copy;
    int width, height;
    {
        std::lock_guard<std::mutex> hold(HostSurfaceLock());
        const RasterTarget t = HostSurfaceTarget();
        if (!t.pixels) return false;
        copy.assign(t.pixels, t.pixels + size_t(t.width) * t.height);
        width = t.width;
        height = t.height;
    }
    return HostWritePng(path, copy.data(), width, height);
}
