// Where the screen surface lands in the window: scaled by a whole factor and centred (the rest
// is black), or scaled to fit when the window is smaller than the surface or whole factors are
// turned off. Window points map back to surface points for the mouse.
#pragma once

struct PresentLayout {
    int x, y, width, height;  // destination rectangle in the window's output pixels
    int surface_width, surface_height;
};

PresentLayout ComputePresentLayout(int surface_width, int surface_height, int output_width,
                                   int output_height, bool integer_scaling);

// The surface point under window point (x, y); points outside the picture map outside the
// surface (negative or beyond its size), as client coordinates do.
void WindowToSurface(const PresentLayout& layout, int x, int y, int* surface_x, int* surface_y);
