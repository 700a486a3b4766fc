#include "codecs/DirectBitmap.h"

#include "codecs/PictureSize.h"

#include <bit>
#include <cstring>

namespace codecs {

DirectBitmap ReadDirectBitmap(const std::uint8_t* data, std::size_t size, std::uint32_t maxSide,
                              std::uint64_t maxBytes) {
    DirectBitmap bitmap;
    bitmap.reading = ReadBitmapFile(data, size);
    if (bitmap.reading.kind != BitmapKind::Plain) return bitmap;
    const BgrPicture& p = bitmap.reading.pixels;
    if (!FitsLimits(p.width, p.height, maxSide, maxBytes)) return bitmap;
    bitmap.taken = true;
    bitmap.width = p.width;
    bitmap.height = p.height;
    return bitmap;
}

static_assert(std::endian::native == std::endian::little, "pixels are read as little-endian words");

void CopyDirectBitmap(const DirectBitmap& bitmap, std::uint32_t* pixels) {
    if (!bitmap.taken) return;
    const BgrPicture& p = bitmap.reading.pixels;
    const std::size_t step = bitmap.reading.pixelBytes;
    for (std::uint32_t y = 0; y < p.height; ++y) {
        const std::uint8_t* from = p.rows + static_cast<std::size_t>(p.bottomUp ? p.height - 1 - y : y) * p.stride;
        std::uint32_t* to = pixels + static_cast<std::size_t>(y) * p.width;
        // Four bytes at a time, the fourth replaced by an opaque alpha; the
        // row's last pixel byte by byte, since its fourth byte may lie past
        // the end of the file.
        const std::uint32_t whole = p.width - 1;
        for (std::uint32_t x = 0; x < whole; ++x, from += step) {
            std::uint32_t value;
            std::memcpy(&value, from, 4);
            to[x] = value | 0xFF000000u;
        }
        to[whole] = 0xFF000000u | (static_cast<std::uint32_t>(from[2]) << 16) | (from[1] << 8) | from[0];
    }
}

}  // namespace codecs
