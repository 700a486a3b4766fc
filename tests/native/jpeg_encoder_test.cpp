#include "codecs/JpegEncoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <unistd.h>

namespace {

using codecs::BgrPicture;
using codecs::EncodeJpeg;
using Bytes = std::vector<std::uint8_t>;
struct Rgb {
    int r, g, b;
};
using Pattern = std::function<Rgb(int x, int y)>;

// A picture's 24-bit rows, padded like a bitmap file's, top-down or bottom-up.
struct Source {
    Bytes rows;
    BgrPicture picture;
    Source(int width, int height, const Pattern& pattern, bool bottomUp = false) {
        const std::size_t stride = (3 * width + 3) & ~3;
        rows.assign(stride * height, 0xEE);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Rgb c = pattern(x, y);
                std::uint8_t* p = &rows[(bottomUp ? height - 1 - y : y) * stride + 3 * x];
                p[0] = static_cast<std::uint8_t>(c.b), p[1] = static_cast<std::uint8_t>(c.g), p[2] = static_cast<std::uint8_t>(c.r);
            }
        picture = {rows.data(), stride, static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), bottomUp};
    }
};

Bytes Encode(const Source& source, unsigned threads = 1) {
    Bytes jpeg;
    EXPECT_TRUE(EncodeJpeg(source.picture, jpeg, {.quality = 90, .threads = threads}));
    return jpeg;
}

// Colours that change at every pixel, as the Windows tests' pictures do.
Rgb Busy(int x, int y) { return {(x * 4 + y) & 0xFF, (y * 6 + 2 * x) & 0xFF, ((x + y) * 3 + 40) & 0xFF}; }

// The usual quantizers (natural order) at quality 50.
constexpr int kLuma[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                           14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                           18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                           49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int kChroma[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                             24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                             99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                             99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
constexpr int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                             12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                             35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                             58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// The marker segments up to the scan, in order, and the entropy-coded data.
struct Stream {
    std::vector<std::pair<int, Bytes>> segments;
    Bytes scan;
    bool ok = false;
};

Stream Split(const Bytes& jpeg) {
    Stream s;
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != 0xD8) return s;
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        const int marker = jpeg[at + 1];
        const std::size_t length = (jpeg[at + 2] << 8) | jpeg[at + 3];
        if (at + 2 + length > jpeg.size()) return s;
        s.segments.emplace_back(marker, Bytes(jpeg.begin() + at + 4, jpeg.begin() + at + 2 + length));
        at += 2 + length;
        if (marker == 0xDA) {
            if (jpeg.size() < at + 2 || jpeg[jpeg.size() - 2] != 0xFF || jpeg.back() != 0xD9) return s;
            s.scan.assign(jpeg.begin() + at, jpeg.end() - 2);
            s.ok = true;
            return s;
        }
    }
    return s;
}

TEST(JpegEncoder, WritesABaselineStreamAtQuality90With420Sampling) {
    const Source source(61, 37, Busy);
    const Stream one = Split(Encode(source));
    ASSERT_TRUE(one.ok);
    std::vector<int> markers;
    for (const auto& [marker, payload] : one.segments) markers.push_back(marker);
    EXPECT_EQ(markers, (std::vector<int>{0xE0, 0xDB, 0xC0, 0xC4, 0xDA}));
    const auto& app0 = one.segments[0].second;
    EXPECT_EQ(std::string(app0.begin(), app0.begin() + 5), std::string("JFIF\0", 5));

    // Both tables scaled the usual way: (q * 20 + 50) / 100, at least 1.
    const Bytes& dqt = one.segments[1].second;
    ASSERT_EQ(dqt.size(), 130u);
    for (int table = 0; table < 2; ++table) {
        EXPECT_EQ(dqt[table * 65], table);
        for (int k = 0; k < 64; ++k) {
            const int base = (table ? kChroma : kLuma)[kZigzag[k]];
            EXPECT_EQ(dqt[table * 65 + 1 + k], std::max(1, (base * 20 + 50) / 100)) << table << "," << k;
        }
    }
    EXPECT_EQ(one.segments[2].second, (Bytes{8, 0, 37, 0, 61, 3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1}));
    EXPECT_EQ(one.segments[4].second, (Bytes{3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0}));

    // Three threads: three restart intervals of one MCU row (4 MCUs) each.
    const Stream three = Split(Encode(source, 3));
    ASSERT_TRUE(three.ok);
    ASSERT_EQ(three.segments.size(), 6u);
    EXPECT_EQ(three.segments[4].first, 0xDD);
    EXPECT_EQ(three.segments[4].second, (Bytes{0, 4}));

    // Every 0xFF in the coded data is stuffed or a restart marker, in order.
    for (const Stream* stream : {&one, &three}) {
        int stuffed = 0;
        std::vector<int> restarts;
        for (std::size_t i = 0; i < stream->scan.size(); ++i) {
            if (stream->scan[i] != 0xFF) continue;
            ASSERT_LT(i + 1, stream->scan.size());
            const int next = stream->scan[++i];
            if (next == 0) ++stuffed;
            else restarts.push_back(next);
        }
        EXPECT_GT(stuffed, 0);
        EXPECT_EQ(restarts, (stream == &one ? std::vector<int>{} : std::vector<int>{0xD0, 0xD1}));
    }

    Bytes jpeg{1, 2, 3};
    EXPECT_FALSE(EncodeJpeg(BgrPicture{source.rows.data(), 4, 0, 1, false}, jpeg));
    EXPECT_FALSE(EncodeJpeg(BgrPicture{source.rows.data(), 3u * 65536, 65536, 1, false}, jpeg));
    EXPECT_TRUE(jpeg.empty());
}

// The pixels djpeg makes of a JPEG file, top-down RGB; empty when it fails.
struct Decoded {
    int width = 0, height = 0;
    Bytes rgb;
    Rgb At(int x, int y) const {
        const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }
};

Decoded Decode(const Bytes& jpeg) {
    static int count = 0;
    const auto base = std::filesystem::temp_directory_path() /
                      ("tovik-jpeg-" + std::to_string(::getpid()) + "-" + std::to_string(count++));
    const std::string in = base.string() + ".jpg", out = base.string() + ".ppm";
    std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
    Decoded d;
    if (std::system(("djpeg -ppm -outfile '" + out + "' '" + in + "' 2>/dev/null").c_str()) == 0) {
        std::ifstream file(out, std::ios::binary);
        std::string magic;
        int maximum = 0;
        file >> magic >> d.width >> d.height >> maximum;
        file.get();
        d.rgb.assign(std::istreambuf_iterator<char>(file), {});
        if (magic != "P6" || maximum != 255 || d.rgb.size() != 3u * d.width * d.height) d = {};
    }
    std::filesystem::remove(in);
    std::filesystem::remove(out);
    return d;
}

double Psnr(const Decoded& d, const Pattern& pattern) {
    double squares = 0;
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x) {
            const Rgb got = d.At(x, y), want = pattern(x, y);
            squares += std::pow(got.r - want.r, 2) + std::pow(got.g - want.g, 2) + std::pow(got.b - want.b, 2);
        }
    const double mean = squares / (3.0 * d.width * d.height);
    return mean == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mean);
}

TEST(JpegEncoder, DecodesCloseToTheSourceAtAnySize) {
    if (std::system("djpeg -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "djpeg is not installed";
    // Colour that changes at every pixel loses most to the 2 x 2 chroma:
    // other encoders at the same settings reach 25.8 dB on the busy pattern.
    const Pattern smooth = [](int x, int y) { return Rgb{x * 255 / 199, y * 255 / 119, (x + y) * 255 / 318}; };
    for (auto [width, height, pattern, least] : std::vector<std::tuple<int, int, Pattern, double>>{
             {1, 1, Busy, 25}, {17, 9, Busy, 25}, {61, 37, Busy, 25}, {200, 120, smooth, 35}}) {
        const Source source(width, height, pattern);
        const Decoded decoded = Decode(Encode(source));
        ASSERT_EQ(decoded.width, width);
        ASSERT_EQ(decoded.height, height);
        EXPECT_GE(Psnr(decoded, pattern), least) << width << "x" << height;
    }

    // Four flat quadrants: a flipped picture or swapped colours show at once.
    const std::map<int, Rgb> colours = {{0, {230, 20, 20}}, {1, {20, 200, 20}}, {2, {20, 20, 230}}, {3, {250, 250, 250}}};
    const Pattern quadrants = [&](int x, int y) { return colours.at((x >= 40) + 2 * (y >= 24)); };
    const Decoded topDown = Decode(Encode(Source(80, 48, quadrants)));
    ASSERT_EQ(topDown.width, 80);
    for (auto [x, y] : std::vector<std::pair<int, int>>{{12, 10}, {60, 10}, {12, 36}, {60, 36}}) {
        const Rgb got = topDown.At(x, y), want = quadrants(x, y);
        EXPECT_NEAR(got.r, want.r, 3) << x << "," << y;
        EXPECT_NEAR(got.g, want.g, 3) << x << "," << y;
        EXPECT_NEAR(got.b, want.b, 3) << x << "," << y;
    }
    // The same picture stored bottom-up, or coded in restart intervals on
    // three threads, decodes to exactly the same pixels.
    EXPECT_EQ(Decode(Encode(Source(80, 48, quadrants, true))).rgb, topDown.rgb);
    EXPECT_EQ(Decode(Encode(Source(80, 48, quadrants), 3)).rgb, topDown.rgb);
}

}  // namespace
