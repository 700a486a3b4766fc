// Our own PNG writer over zlib: truecolour, 8 bits per channel, no alpha
// (screen pixels are opaque), not interlaced, with the 96 dpi of the BMP
// files. Big pictures are compressed in parts on several threads; the parts
// are one zlib stream, so every decoder reads the file as usual.
// Portable: no Windows headers, tested natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace codecs {

// Rows of 24-bit pixels (blue, green, red), the top row first.
struct BgrRows {
    const std::uint8_t* rows = nullptr;
    std::size_t stride = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// Encodes the picture as a complete PNG file into `png` (its old content is
// replaced). `threads` parts at most are compressed at the same time. False,
// with `png` empty, for an empty picture or when memory runs out.
bool EncodePng(const BgrRows& picture, std::vector<std::uint8_t>& png, unsigned threads = 1);

}  // namespace codecs
