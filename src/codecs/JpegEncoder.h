// The converter's own baseline JPEG encoder: JFIF, 8-bit YCbCr, luma at full
// size and both chroma components averaged over 2 x 2 pixels (4:2:0), the
// usual tables scaled for the quality asked, Huffman coding with the usual
// codes. Every decoder reads what it writes. Portable: no Windows headers,
// tested and fuzzed natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace codecs {

// Rows of 24-bit pixels, each blue, green, red, as a bitmap file holds them.
struct BgrPicture {
    const std::uint8_t* rows = nullptr;  // the first row in memory
    std::size_t stride = 0;              // bytes from one row in memory to the next
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    bool bottomUp = false;  // the first row in memory is the picture's bottom row
};

struct JpegOptions {
    int quality = 90;  // 1 to 100, as the usual quality scale means it
    // The rows of blocks are split into this many restart intervals (at most
    // one per row of blocks), each encoded on a thread of its own; 1 writes
    // one interval on the calling thread.
    unsigned threads = 1;
};

// Encodes the picture as a complete JPEG file into `jpeg` (its old content
// is replaced). False, with `jpeg` empty, when a side is 0 or above 65535
// pixels or memory runs out.
bool EncodeJpeg(const BgrPicture& picture, std::vector<std::uint8_t>& jpeg, const JpegOptions& options = {});

}  // namespace codecs
