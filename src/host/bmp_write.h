// Writing 24-bit BMP files (bottom-up, no compression) from 0x00BBGGRR pixels: the demo's
// generated pictures and the pictures of tests and benchmarks.
#pragma once

#include <cstdint>

// Writes width x height pixels (stride = width); false when the file cannot be written.
bool HostWriteBmp(const char* name, const uint32_t* pixels, int width, int height);
