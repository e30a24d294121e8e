// The screen surface: one software surface of W x H 32-bit pixels whose value is the colour
// itself (0x00BBGGRR). The program thread draws on it; the main thread presents it. Both hold
// HostSurfaceLock() while touching the pixels.
#pragma once

#include <cstdint>
#include <mutex>

#include "host/raster_target.h"

// (Re)creates the surface, cleared to black.
bool HostCreateSurface(int width, int height);
// Lets the surface go (its size becomes 0 x 0).
void HostDestroySurface();
int HostSurfaceWidth();
int HostSurfaceHeight();
// Row-major pixels, stride = width. Hold the lock while reading or writing them.
uint32_t* HostSurfacePixels();
std::mutex& HostSurfaceLock();
// Writes the surface as a PNG file; false on failure.
bool HostSaveSurfacePng(const char* path);

// The surface as a raster target (empty before HostCreateSurface). Hold the lock while using it.
RasterTarget HostSurfaceTarget();
