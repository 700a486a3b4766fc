#include "app/Twips.h"

#include <cmath>

namespace twips {

double PerPixel(int dpi) { return dpi > 0 ? 1440.0 / dpi : 15.0; }

int ToPixels(double twips, double twipsPerPixel) {
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

float FromPixels(int pixels, double twipsPerPixel) {
    return static_cast<float>(pixels * twipsPerPixel);
}

}  // namespace twips
