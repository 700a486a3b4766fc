// Twips (1/1440 inch) and pixels. Top-level windows are placed in twips;
// everything inside them is in pixels.
#pragma once

namespace twips {

// 15 at 96 dpi, 12 at 120 dpi, 10 at 144 dpi.
double PerPixel(int dpi);
int ToPixels(double twips, double twipsPerPixel);      // nearest pixel
float FromPixels(int pixels, double twipsPerPixel);

}  // namespace twips
