#include "printing/Placement.h"

#include <algorithm>
#include <cstdint>

namespace printing::placement {
namespace {

// picture * printer / screen, to the nearest printer pixel and at least 1.
// Both factors are below 2^31, so the product fits in 63 bits.
std::int64_t NaturalLength(int picture, int screen, int printer) {
    const std::int64_t dividend = std::int64_t{picture} * std::max(printer, 1);
    const std::int64_t divisor = std::max(screen, 1);
    return std::max<std::int64_t>((dividend + divisor / 2) / divisor, 1);
}

}  // namespace

Rectangle PlacePicture(Size picture, Resolution screen, Resolution printer, Size printable) {
    if (picture.width <= 0 || picture.height <= 0 || printable.width <= 0 || printable.height <= 0)
        return {};
    std::int64_t width = NaturalLength(picture.width, screen.x, printer.x);
    std::int64_t height = NaturalLength(picture.height, screen.y, printer.y);
    if (width <= printable.width && height <= printable.height)
        return {0, 0, static_cast<int>(width), static_cast<int>(height)};

    // Only an absurdly large picture gets here. Halving both lengths until
    // they are below 2^31 keeps the cross products below within 64 bits and
    // moves the result by at most two printer pixels.
    while (width > INT32_MAX || height > INT32_MAX) {
        width = (width + 1) / 2;
        height = (height + 1) / 2;
    }
    std::int64_t fitWidth, fitHeight;
    if (width * printable.height >= height * printable.width) {
        fitWidth = printable.width;     // the width is the tighter limit
        fitHeight = (height * printable.width + width / 2) / width;
    } else {
        fitHeight = printable.height;
        fitWidth = (width * printable.height + height / 2) / height;
    }
    return {0, 0, static_cast<int>(std::clamp<std::int64_t>(fitWidth, 1, printable.width)),
            static_cast<int>(std::clamp<std::int64_t>(fitHeight, 1, printable.height))};
}

}  // namespace printing::placement
