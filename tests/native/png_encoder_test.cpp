#include "codecs/PngEncoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// 0xRRGGBB at (x, y): every channel changes along both axes, with flat runs
// and sharp steps, so every filter and the part boundaries are exercised.
std::uint32_t PatternAt(int x, int y) {
    if ((y / 16) % 3 == 0) return 0x336699;
    return static_cast<std::uint32_t>(((x * 7 + y) & 0xFF) << 16 | ((x ^ (y * 3)) & 0xFF) << 8 | ((x * y) & 0xFF));
}

std::string OutputOf(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (size_t got = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, got);
        pclose(pipe);
    }
    return output;
}

// Written in parts on several threads, the file is one valid PNG that
// outside decoders read pixel for pixel, with its header and density.
TEST(PngEncoder, PartsMakeOneFileThatPngcheckAndImageMagickReadExactly) {
    constexpr int kWidth = 203, kHeight = 331;   // odd, so the rows are padded in memory
    const std::size_t stride = (kWidth * 3 + 3) & ~3;
    std::vector<std::uint8_t> rows(stride * kHeight, 0xEE);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const std::uint32_t c = PatternAt(x, y);
            std::uint8_t* p = &rows[y * stride + x * 3];
            p[0] = c & 0xFF, p[1] = (c >> 8) & 0xFF, p[2] = c >> 16;
        }
    for (unsigned threads : {1u, 4u}) {
        std::vector<std::uint8_t> png;
        ASSERT_TRUE(codecs::EncodePng({rows.data(), stride, kWidth, kHeight}, png, threads));
        const std::string path = testing::TempDir() + "tovik-png-" + std::to_string(threads) + ".png";
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());

        const std::string check = OutputOf("pngcheck -v '" + path + "' 2>&1");
        EXPECT_NE(check.find("No errors detected"), std::string::npos) << check;
        EXPECT_NE(check.find("203 x 331 image, 24-bit RGB, non-interlaced"), std::string::npos) << check;
        EXPECT_NE(check.find("3780x3780 pixels/meter (96 dpi)"), std::string::npos) << check;
        if (threads > 1) {
            EXPECT_NE(check.find("chunk IDAT at offset"), check.rfind("chunk IDAT at offset")) << check;
        }

        const std::string pixels = OutputOf("convert '" + path + "' -depth 8 rgb:- 2>/dev/null");
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(kWidth) * kHeight * 3) << "threads " << threads;
        int wrong = 0;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const auto* p = reinterpret_cast<const std::uint8_t*>(pixels.data()) + (y * kWidth + x) * 3;
                wrong += ((p[0] << 16) | (p[1] << 8) | p[2]) != static_cast<int>(PatternAt(x, y));
            }
        EXPECT_EQ(wrong, 0) << "threads " << threads;
        std::remove(path.c_str());
    }
    std::vector<std::uint8_t> png{1, 2, 3};
    EXPECT_FALSE(codecs::EncodePng({rows.data(), stride, 0, kHeight}, png, 1));
    EXPECT_TRUE(png.empty());
}

}  // namespace
