#include "codecs/PictureSize.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using codecs::ReadClaimedSize;
using Bytes = std::vector<std::uint8_t>;

TEST(PictureSize, EachHeaderGivesTheSizeItClaims) {
    // BMP info header, negative height (top-down) counting as its size.
    Bytes bmp(54, 0);
    bmp[0] = 'B', bmp[1] = 'M', bmp[14] = 40;
    bmp[18] = 0x60, bmp[19] = 0xEA;                                   // 60000
    bmp[22] = 0xA0, bmp[23] = 0x15, bmp[24] = 0xFF, bmp[25] = 0xFF;   // -60000
    auto s = ReadClaimedSize(bmp.data(), bmp.size());
    EXPECT_TRUE(s.known && s.width == 60000 && s.height == 60000);

    const Bytes png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0x01, 0x00, 0, 0, 0, 7};
    s = ReadClaimedSize(png.data(), png.size());
    EXPECT_TRUE(s.known && s.width == 256 && s.height == 7);

    // GIF: the first image may be larger than its screen.
    const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 10, 0, 10, 0, 0, 0, 0,
                       0x21, 0xF9, 4, 0, 0, 0, 0, 0,
                       0x2C, 0, 0, 0, 0, 0x30, 0x75, 3, 0, 0};
    s = ReadClaimedSize(gif.data(), gif.size());
    EXPECT_TRUE(s.known && s.width == 30000 && s.height == 10);

    // JPEG: segments before the frame header are skipped by their lengths.
    const Bytes jpg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xC2, 0, 11, 8, 0x02, 0x00, 0x01, 0x80, 3, 1, 0x22, 0};
    s = ReadClaimedSize(jpg.data(), jpg.size());
    EXPECT_TRUE(s.known && s.width == 384 && s.height == 512);
}

TEST(PictureSize, CutOrUnknownHeadersAreNotKnown) {
    const Bytes jpg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 4, 'J', 'F', 0xFF, 0xC0, 0, 11, 8, 0x02};
    for (size_t cut = 0; cut <= jpg.size(); ++cut) EXPECT_FALSE(ReadClaimedSize(jpg.data(), cut).known) << cut;
    const Bytes text = {'h', 'e', 'l', 'l', 'o'};
    EXPECT_FALSE(ReadClaimedSize(text.data(), text.size()).known);
    EXPECT_FALSE(ReadClaimedSize(nullptr, 0).known);
    EXPECT_TRUE(codecs::FitsLimits(16384, 16384, 32767, 1ull << 30));
    EXPECT_FALSE(codecs::FitsLimits(16385, 16384, 32767, 1ull << 30));
    EXPECT_FALSE(codecs::FitsLimits(0, 5, 32767, 1ull << 30));
    EXPECT_FALSE(codecs::FitsLimits(32768, 1, 32767, 1ull << 30));
}

}  // namespace
