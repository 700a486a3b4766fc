// Reads the bitmap files Tovik writes (24 bits per pixel, uncompressed, rows
// bottom-up or top-down) straight from the file's bytes, so the converter
// needs no decoder and no copy of the pixels for them. Portable: no Windows
// headers, tested and fuzzed natively.
#pragma once
#include "JpegEncoder.h"

#include <cstddef>
#include <cstdint>

namespace converter {

enum class BitmapKind {
    Plain,     // 24-bit uncompressed: `pixels` points into the file's bytes
    Other,     // a bitmap of another kind (palette, 16 or 32 bits, compressed, old header): for the system's decoder
    Refused,   // not a bitmap file, or its headers contradict themselves or the file's size
};

struct BitmapReading {
    BitmapKind kind = BitmapKind::Refused;
    BgrPicture pixels;  // set for Plain only
};

// Never reads outside data[0, size). Every size and offset is checked in 64
// bits against the file's size: a plain bitmap whose pixel rows do not all
// lie inside the file is refused.
BitmapReading ReadBitmapFile(const std::uint8_t* data, std::size_t size);

}  // namespace converter
