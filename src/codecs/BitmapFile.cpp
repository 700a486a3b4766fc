#include "codecs/BitmapFile.h"

namespace codecs {

namespace {

std::uint32_t Little16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Little32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

constexpr std::size_t kFileHeaderSize = 14;

// BITMAPINFOHEADER and the later headers that extend it; the extensions
// (bit masks, colour space) say nothing about 24-bit uncompressed pixels.
bool IsInfoHeaderSize(std::uint32_t size) { return size == 40 || size == 52 || size == 56 || size == 108 || size == 124; }

}  // namespace

BitmapReading ReadBitmapFile(const std::uint8_t* data, std::size_t size) {
    BitmapReading reading;
    if (!data || size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M') return reading;
    const std::uint32_t headerSize = Little32(data + kFileHeaderSize);
    if (!IsInfoHeaderSize(headerSize)) {
        reading.kind = BitmapKind::Other;
        return reading;
    }
    if (size < kFileHeaderSize + headerSize) return reading;
    const std::uint8_t* info = data + kFileHeaderSize;
    const std::uint32_t bits = Little16(info + 14);
    if ((bits != 24 && bits != 32) || Little32(info + 16) != 0 /* BI_RGB */) {
        reading.kind = BitmapKind::Other;
        return reading;
    }
    // The file size, image size and planes fields are left alone: writers
    // get them wrong without harm to the pixels, and the system's decoder
    // does not insist on them either.
    const std::int64_t width = static_cast<std::int32_t>(Little32(info + 4));
    const std::int64_t signedHeight = static_cast<std::int32_t>(Little32(info + 8));
    const std::uint64_t offset = Little32(data + 10);
    if (width <= 0 || signedHeight == 0) return reading;
    const std::uint64_t height = static_cast<std::uint64_t>(signedHeight < 0 ? -signedHeight : signedHeight);
    const std::uint64_t pixelBytes = bits / 8;
    const std::uint64_t stride = BitmapRowBytes(static_cast<std::uint64_t>(width), pixelBytes);
    // The pixels start after the headers; the last row's padding may be missing.
    if (offset < kFileHeaderSize + headerSize || offset > size) return reading;
    const std::uint64_t available = size - offset;
    if (height - 1 > available / stride ||
        pixelBytes * static_cast<std::uint64_t>(width) > available - (height - 1) * stride)
        return reading;

    reading.kind = BitmapKind::Plain;
    reading.pixels.rows = data + offset;
    reading.pixels.stride = static_cast<std::size_t>(stride);
    reading.pixels.width = static_cast<std::uint32_t>(width);
    reading.pixels.height = static_cast<std::uint32_t>(height);
    reading.pixels.bottomUp = signedHeight > 0;
    reading.pixelBytes = static_cast<std::uint32_t>(pixelBytes);
    return reading;
}

}  // namespace codecs
