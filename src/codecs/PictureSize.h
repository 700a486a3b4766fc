// The size a picture file claims in its header, read before any decoder
// sees the file. Some decoders allocate for the claimed size at once and
// overrun their buffers when it is absurd, so a damaged file claiming
// 60000 x 60000 pixels must be turned away on this reading alone.
// Portable: no Windows headers, tested and fuzzed natively.
#pragma once
#include <cstddef>
#include <cstdint>

namespace codecs {

struct ClaimedSize {
    bool known = false;        // false: not a BMP, GIF, JPEG or PNG header we could read
    std::uint32_t width = 0;   // the largest width and height the header names
    std::uint32_t height = 0;
};

// Reads the BMP info header, the PNG IHDR chunk, the GIF screen and first
// image descriptors, or the JPEG frame header (SOFn). Never reads past
// data + size.
ClaimedSize ReadClaimedSize(const std::uint8_t* data, std::size_t size);

// Whether a picture of that size may be loaded: every side 1 to maxSide
// pixels and at most maxBytes at 4 bytes per pixel.
bool FitsLimits(std::uint32_t width, std::uint32_t height, std::uint32_t maxSide, std::uint64_t maxBytes);

}  // namespace codecs
