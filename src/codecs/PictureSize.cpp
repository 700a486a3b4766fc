#include "codecs/PictureSize.h"

#include <algorithm>
#include <cstdlib>

namespace codecs {

namespace {

std::uint32_t Little16(const std::uint8_t* p) { return p[0] | (p[1] << 8); }
std::uint32_t Little32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint32_t Big16(const std::uint8_t* p) { return (p[0] << 8) | p[1]; }
std::uint32_t Big32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}
// A signed 32-bit header field as a size: a negative height only means top-down.
std::uint32_t Magnitude(std::uint32_t v) {
    return v & 0x80000000u ? (v == 0x80000000u ? 0x80000000u : 0u - v) : v;
}

ClaimedSize Bmp(const std::uint8_t* d, std::size_t size) {
    if (size < 18 + 4) return {};
    const std::uint32_t headerSize = Little32(d + 14);
    if (headerSize == 12) return {true, Little16(d + 18), Little16(d + 20)};
    if (size < 26) return {};
    return {true, Magnitude(Little32(d + 18)), Magnitude(Little32(d + 22))};
}

ClaimedSize Png(const std::uint8_t* d, std::size_t size) {
    if (size < 24 || d[12] != 'I' || d[13] != 'H' || d[14] != 'D' || d[15] != 'R') return {};
    return {true, Big32(d + 16), Big32(d + 20)};
}

ClaimedSize Gif(const std::uint8_t* d, std::size_t size) {
    if (size < 10) return {};
    ClaimedSize claimed{true, Little16(d + 6), Little16(d + 8)};
    if (size < 13) return claimed;
    // The first image may be larger than the screen it is said to sit on.
    std::size_t at = 13;
    if (d[10] & 0x80) at += std::size_t{3} << ((d[10] & 7) + 1);
    while (at < size && d[at] == 0x21) {  // extensions: label, then sub-blocks up to an empty one
        at += 2;
        while (at < size && d[at] != 0) at += d[at] + 1u;
        ++at;
    }
    if (at + 9 <= size && d[at] == 0x2C) {
        claimed.width = std::max(claimed.width, Little16(d + at + 5));
        claimed.height = std::max(claimed.height, Little16(d + at + 7));
    }
    return claimed;
}

ClaimedSize Jpeg(const std::uint8_t* d, std::size_t size) {
    std::size_t at = 2;
    while (at + 4 <= size) {
        if (d[at] != 0xFF) return {};
        const std::uint8_t marker = d[at + 1];
        if (marker == 0xFF) { ++at; continue; }  // fill byte
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) { at += 2; continue; }  // no length
        if (marker == 0xD9 || marker == 0xDA) return {};  // image ends or scan starts with no frame
        const std::uint32_t length = Big16(d + at + 2);
        if (length < 2) return {};
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > size) return {};
            return {true, Big16(d + at + 7), Big16(d + at + 5)};
        }
        at += 2 + length;
    }
    return {};
}

}  // namespace

ClaimedSize ReadClaimedSize(const std::uint8_t* data, std::size_t size) {
    if (!data || size < 4) return {};
    if (data[0] == 'B' && data[1] == 'M') return Bmp(data, size);
    if (size >= 8 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G') return Png(data, size);
    if (size >= 6 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F' && data[3] == '8') return Gif(data, size);
    if (data[0] == 0xFF && data[1] == 0xD8) return Jpeg(data, size);
    return {};
}

bool FitsLimits(std::uint32_t width, std::uint32_t height, std::uint32_t maxSide, std::uint64_t maxBytes) {
    if (width == 0 || height == 0 || width > maxSide || height > maxSide) return false;
    return 4ull * width * height <= maxBytes;
}

}  // namespace codecs
