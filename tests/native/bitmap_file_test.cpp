#include "codecs/BitmapFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using codecs::BitmapKind;
using codecs::ReadBitmapFile;
using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::size_t at, std::uint32_t v) { b[at] = v & 0xFF, b[at + 1] = (v >> 8) & 0xFF; }
void Put32(Bytes& b, std::size_t at, std::uint32_t v) { Put16(b, at, v & 0xFFFF), Put16(b, at + 2, v >> 16); }

// A bitmap file with an info header of `headerSize` bytes and rows of 4
// bytes a pixel for 32 bits, 3 otherwise.
Bytes MakeBitmap(int width, int height, std::uint32_t headerSize = 40, int bits = 24, std::uint32_t compression = 0) {
    const std::size_t pixelBytes = bits == 32 ? 4 : 3;
    const std::size_t stride = (pixelBytes * static_cast<std::size_t>(width > 0 ? width : 0) + 3) & ~std::size_t{3};
    const std::size_t rows = static_cast<std::size_t>(height < 0 ? -height : height);
    Bytes b(14 + headerSize + stride * rows, 0);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 2, static_cast<std::uint32_t>(b.size()));
    Put32(b, 10, 14 + headerSize);
    Put32(b, 14, headerSize);
    Put32(b, 18, static_cast<std::uint32_t>(width));
    Put32(b, 22, static_cast<std::uint32_t>(height));
    Put16(b, 26, 1);
    Put16(b, 28, bits);
    Put32(b, 30, compression);
    return b;
}

TEST(BitmapFile, Reads24And32BitRowsEitherWayUpBehindAnyInfoHeader) {
    for (int bits : {24, 32})
        for (std::uint32_t header : {40u, 52u, 56u, 108u, 124u})
            for (int height : {5, -5}) {
                const Bytes file = MakeBitmap(7, height, header, bits);
                const auto reading = ReadBitmapFile(file.data(), file.size());
                ASSERT_EQ(reading.kind, BitmapKind::Plain) << header << " " << height;
                EXPECT_EQ(reading.pixelBytes, bits / 8u);
                EXPECT_EQ(reading.pixels.rows, file.data() + 14 + header);
                EXPECT_EQ(reading.pixels.stride, bits == 32 ? 28u : 24u);
                EXPECT_EQ(reading.pixels.width, 7u);
                EXPECT_EQ(reading.pixels.height, 5u);
                EXPECT_EQ(reading.pixels.bottomUp, height > 0);
            }
    // The last row's padding may be missing; a byte of its pixels may not.
    Bytes file = MakeBitmap(7, 5);
    file.resize(file.size() - 3);
    EXPECT_EQ(ReadBitmapFile(file.data(), file.size()).kind, BitmapKind::Plain);
    EXPECT_EQ(ReadBitmapFile(file.data(), file.size() - 1).kind, BitmapKind::Refused);
    file = MakeBitmap(7, 5, 40, 32);
    EXPECT_EQ(ReadBitmapFile(file.data(), file.size() - 1).kind, BitmapKind::Refused);
}

TEST(BitmapFile, OtherKindsAreLeftToTheSystemsDecoder) {
    for (const Bytes& file : {MakeBitmap(4, 4, 40, 32, 3), MakeBitmap(4, 4, 40, 8), MakeBitmap(4, 4, 40, 16, 3),
                              MakeBitmap(4, 4, 40, 24, 3), MakeBitmap(4, 4, 40, 8, 1), MakeBitmap(4, 4, 12),
                              MakeBitmap(4, 4, 64)})
        EXPECT_EQ(ReadBitmapFile(file.data(), file.size()).kind, BitmapKind::Other);
}

TEST(BitmapFile, CutOrContradictoryHeadersAreRefused) {
    const Bytes good = MakeBitmap(7, 5);
    for (std::size_t cut = 0; cut < 14 + 40; ++cut)
        EXPECT_EQ(ReadBitmapFile(good.data(), cut).kind, BitmapKind::Refused) << cut;
    EXPECT_EQ(ReadBitmapFile(nullptr, 0).kind, BitmapKind::Refused);

    auto refused = [](Bytes file, std::size_t at, std::uint32_t value) {
        Put32(file, at, value);
        return ReadBitmapFile(file.data(), file.size()).kind == BitmapKind::Refused;
    };
    EXPECT_TRUE(refused(good, 0, 0x00004D50)) << "no BM signature";
    EXPECT_TRUE(refused(good, 18, 0)) << "no width";
    EXPECT_TRUE(refused(good, 18, static_cast<std::uint32_t>(-7))) << "negative width";
    EXPECT_TRUE(refused(good, 22, 0)) << "no height";
    EXPECT_TRUE(refused(good, 22, 0x80000000u)) << "height without a magnitude";
    EXPECT_TRUE(refused(good, 22, 6)) << "one row more than the file holds";
    EXPECT_TRUE(refused(good, 10, 40)) << "pixels inside the headers";
    EXPECT_TRUE(refused(good, 10, static_cast<std::uint32_t>(good.size() + 1))) << "pixels past the end";
    EXPECT_TRUE(refused(good, 10, 0xFFFFFFFFu)) << "offset far past the end";
    // Sizes whose products overflow 32 bits, in a small file.
    Bytes huge = good;
    Put32(huge, 18, 0x7FFFFFFF);
    EXPECT_TRUE(refused(huge, 22, 0x7FFFFFFF));
    EXPECT_TRUE(refused(huge, 22, 0x80000001u));
    EXPECT_TRUE(refused(good, 18, 0x55555556)) << "3 x width wraps to 2 in 32 bits";
}

}  // namespace
