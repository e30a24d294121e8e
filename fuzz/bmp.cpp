// libFuzzer target: arbitrary file bytes through the BMP loader, and the bitmap it makes (if
// any) drawn plain and stretched onto a small surface.
#include <cstddef>
#include <cstdint>

#include "fuzz_args.h"
#include "host/bitmap.h"
#include "host/bitmap_draw.h"
#include "host/bmp.h"
#include "host/surface.h"

// Corpus and other path arguments stay valid after the target changes its working folder.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    MakeFuzzPathsAbsolute(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool surface = HostCreateSurface(64, 48);
    (void)surface;
    const uint32_t bitmap = HostLoadBmpFromMemory(data, size, "fuzz.bmp");
    if (bitmap) {
        int width, height;
        HostBitmapSize(bitmap, &width, &height);
        HostDrawBitmap(-3, -2, width, height, bitmap);
        HostDrawBitmapStretched(5, 4, 40, 30, bitmap, 0, 0, -1, -1);
        HostDrawMagenta(10, 10, bitmap);
    }
    HostFreeBmpState();
    return 0;
}
