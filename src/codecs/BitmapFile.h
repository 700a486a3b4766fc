// Reads the plain bitmap files (24 or 32 bits per pixel, uncompressed, rows
// bottom-up or top-down; the ones Tovik writes among them) straight from the
// file's bytes, so neither the converter nor opening a picture needs a
// decoder for them. Portable: no Windows headers, tested and fuzzed natively.
#pragma once
#include "codecs/JpegEncoder.h"

#include <cstddef>
#include <cstdint>

namespace codecs {

enum class BitmapKind {
    Plain,     // 24- or 32-bit uncompressed: `pixels` points into the file's bytes
    Other,     // a bitmap of another kind (palette, 16 bits, bit fields, compressed, old header): for the system's decoder
    Refused,   // not a bitmap file, or its headers contradict themselves or the file's size
};

struct BitmapReading {
    BitmapKind kind = BitmapKind::Refused;
    BgrPicture pixels;  // set for Plain only
    // Bytes per pixel of a plain bitmap's rows: 3 (blue, green, red) or 4
    // (blue, green, red and a fourth byte that carries nothing, as the
    // system reads such bitmaps too).
    std::uint32_t pixelBytes = 3;
};

// The bytes of one row of pixels in a bitmap file, as in a device-independent
// bitmap: the pixels' bytes padded to whole 4-byte words.
constexpr std::uint64_t BitmapRowBytes(std::uint64_t width, std::uint64_t pixelBytes = 3) {
    return (pixelBytes * width + 3) & ~std::uint64_t{3};
}

// Never reads outside data[0, size). Every size and offset is checked in 64
// bits against the file's size: a plain bitmap whose pixel rows do not all
// lie inside the file is refused.
BitmapReading ReadBitmapFile(const std::uint8_t* data, std::size_t size);

}  // namespace codecs
