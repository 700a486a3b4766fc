// Opening a plain bitmap file (24 or 32 bits per pixel, uncompressed)
// without the system's decoder: the file's rows are copied straight into the
// 32-bit top-down pixels the image is made of. Every other kind of file, and
// every bitmap the reader does not take, goes to the system's decoder as
// before, which reports a damaged one in its own words.
// Portable: no Windows headers, tested and fuzzed natively.
#pragma once
#include "codecs/BitmapFile.h"

#include <cstddef>
#include <cstdint>

namespace codecs {

struct DirectBitmap {
    bool taken = false;  // false: for the system's decoder
    BitmapReading reading;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Reads the headers of `data`; taken only for a plain bitmap whose pixels all
// lie inside the data and whose size is within maxSide and maxBytes (at 4
// bytes per pixel).
DirectBitmap ReadDirectBitmap(const std::uint8_t* data, std::size_t size, std::uint32_t maxSide,
                              std::uint64_t maxBytes);

// Copies a taken bitmap's pixels into `pixels`: width x height 0xFFRRGGBB
// values, the top row first.
void CopyDirectBitmap(const DirectBitmap& bitmap, std::uint32_t* pixels);

}  // namespace codecs
