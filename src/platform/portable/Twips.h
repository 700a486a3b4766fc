// Twips (1/1440 inch) and pixels. Top-level windows are placed in twips; the
// controls inside a window are designed in twips and laid out in pixels at
// the resolution of the monitor the window is on.
#pragma once

namespace platform::twips {

// 15 at 96 dpi, 12 at 120 dpi, 10 at 144 dpi.
double PerPixel(int dpi);
// The nearest pixel, cut to what an int holds: a stored value of 1e30 or
// an infinity is a very large number, never undefined behaviour.
int ToPixels(double twips, double twipsPerPixel);
float FromPixels(int pixels, double twipsPerPixel);
// A design measure in twips at the given resolution, nearest pixel.
int AtDpi(int twips, int dpi);

}  // namespace platform::twips
