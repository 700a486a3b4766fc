#include "platform/portable/Twips.h"

#include <climits>
#include <cmath>

namespace platform::twips {

double PerPixel(int dpi) { return dpi > 0 ? 1440.0 / dpi : 15.0; }

int ToPixels(double twips, double twipsPerPixel) {
    const double pixels = twips / twipsPerPixel;
    if (std::isnan(pixels)) return 0;
    if (pixels >= INT_MAX) return INT_MAX;
    if (pixels <= INT_MIN) return INT_MIN;
    return static_cast<int>(std::llround(pixels));
}

float FromPixels(int pixels, double twipsPerPixel) {
    return static_cast<float>(pixels * twipsPerPixel);
}

int AtDpi(int twips, int dpi) {
    return ToPixels(static_cast<double>(twips), PerPixel(dpi));
}

}  // namespace platform::twips
