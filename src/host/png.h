// PNG files of 32-bit 0x00BBGGRR pixels (written as 8-bit RGB): screenshots and golden images.
#pragma once

#include <cstdint>
#include <vector>

// Writes width x height pixels (stride = width) as an RGB PNG file; false on failure.
bool HostWritePng(const char* path, const uint32_t* pixels, int width, int height);
// Reads a PNG file into 0x00BBGGRR pixels (alpha dropped); false on failure.
bool HostReadPng(const char* path, std::vector<uint32_t>* pixels, int* width, int* height);
