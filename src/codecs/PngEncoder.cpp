#include "codecs/PngEncoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>

namespace codecs {
namespace {

// Fast enough to beat the usual tools on two processors, within a few
// per cent of their size on screen pictures.
constexpr int kLevel = 6;
// A part below this many rows is not worth a thread of its own.
constexpr std::uint32_t kMinRowsPerPart = 64;

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                                   static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
    out.insert(out.end(), bytes, bytes + 4);
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[4], const std::uint8_t* data, std::size_t size) {
    Put32(out, static_cast<std::uint32_t>(size));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    if (size) out.insert(out.end(), data, data + size);
    Put32(out, static_cast<std::uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(size + 4))));
}

unsigned Paeth(unsigned a, unsigned b, unsigned c) {
    const int p = static_cast<int>(a + b) - static_cast<int>(c);
    const int pa = std::abs(p - static_cast<int>(a)), pb = std::abs(p - static_cast<int>(b)),
              pc = std::abs(p - static_cast<int>(c));
    return (pa <= pb && pa <= pc) ? a : (pb <= pc ? b : c);
}

// The row in RGB order, the way the file holds it.
void ToRgb(const std::uint8_t* bgr, std::uint32_t width, std::uint8_t* rgb) {
    for (std::uint32_t x = 0; x < width; ++x, bgr += 3, rgb += 3) {
        rgb[0] = bgr[2];
        rgb[1] = bgr[1];
        rgb[2] = bgr[0];
    }
}

// Each row gets the filter whose output has the smallest sum of absolute
// values: the usual rule, and the one that keeps flat screen areas and
// gradients small.
void FilterRow(const std::uint8_t* row, const std::uint8_t* above, std::size_t bytes, std::uint8_t* candidates[5],
               std::uint8_t*& best) {
    std::uint8_t *none = candidates[0], *sub = candidates[1], *up = candidates[2], *avg = candidates[3],
                 *paeth = candidates[4];
    unsigned long sums[5] = {0, 0, 0, 0, 0};
    auto score = [](std::uint8_t v) { return v < 128 ? v : 256u - v; };
    for (std::size_t i = 0; i < bytes; ++i) {
        const unsigned a = i >= 3 ? row[i - 3] : 0, b = above[i], c = i >= 3 ? above[i - 3] : 0;
        none[i] = row[i];
        sub[i] = static_cast<std::uint8_t>(row[i] - a);
        up[i] = static_cast<std::uint8_t>(row[i] - b);
        avg[i] = static_cast<std::uint8_t>(row[i] - ((a + b) >> 1));
        paeth[i] = static_cast<std::uint8_t>(row[i] - Paeth(a, b, c));
        sums[0] += score(none[i]);
        sums[1] += score(sub[i]);
        sums[2] += score(up[i]);
        sums[3] += score(avg[i]);
        sums[4] += score(paeth[i]);
    }
    int chosen = 0;
    for (int f = 1; f < 5; ++f)
        if (sums[f] < sums[chosen]) chosen = f;
    best = candidates[chosen];
    best[-1] = static_cast<std::uint8_t>(chosen);
}

// One part of the rows, filtered and compressed as a run of raw deflate
// blocks: ended by a full flush so the next part can follow it, or
// finished when it is the last.
struct Part {
    std::uint32_t first = 0, end = 0;
    bool last = false;
    std::vector<std::uint8_t> deflated;
    std::uint32_t adler = 1;
    std::uint64_t rawBytes = 0;
    bool ok = false;

    void Compress(const BgrRows& picture) {
        const std::size_t bytes = 3ull * picture.width;
        const std::size_t line = bytes + 1;
        // Two RGB rows (this and the one above) and five filtered candidates,
        // each with the filter byte in front.
        std::uint8_t* scratch = new (std::nothrow) std::uint8_t[7 * line];
        if (!scratch) return;
        std::uint8_t* above = scratch;
        std::uint8_t* row = scratch + line;
        std::uint8_t* candidates[5];
        for (int f = 0; f < 5; ++f) candidates[f] = scratch + (2 + f) * line + 1;
        if (first == 0) std::memset(above, 0, bytes);
        else ToRgb(picture.rows + (first - 1) * picture.stride, picture.width, above);

        z_stream z{};
        if (deflateInit2(&z, kLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            delete[] scratch;
            return;
        }
        rawBytes = static_cast<std::uint64_t>(end - first) * line;
        try {
            deflated.resize(deflateBound(&z, static_cast<uLong>(rawBytes)) + 64);
        } catch (const std::bad_alloc&) {
            deflateEnd(&z);
            delete[] scratch;
            return;
        }
        z.next_out = deflated.data();
        z.avail_out = static_cast<uInt>(deflated.size());
        bool failed = false;
        for (std::uint32_t y = first; y < end && !failed; ++y) {
            ToRgb(picture.rows + y * picture.stride, picture.width, row);
            std::uint8_t* best = nullptr;
            FilterRow(row, above, bytes, candidates, best);
            adler = adler32(adler, best - 1, static_cast<uInt>(line));
            z.next_in = best - 1;
            z.avail_in = static_cast<uInt>(line);
            const int flush = y + 1 < end ? Z_NO_FLUSH : (last ? Z_FINISH : Z_FULL_FLUSH);
            const int result = deflate(&z, flush);
            failed = z.avail_in != 0 || (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR);
            std::swap(row, above);
        }
        deflated.resize(deflated.size() - z.avail_out);
        deflateEnd(&z);
        delete[] scratch;
        ok = !failed;
    }
};

}  // namespace

bool EncodePng(const BgrRows& picture, std::vector<std::uint8_t>& png, unsigned threads) {
    png.clear();
    if (!picture.rows || picture.width == 0 || picture.height == 0 || picture.width > 0x7FFFFFFF / 4 ||
        picture.height > 0x7FFFFFFF)
        return false;
    const std::uint32_t parts =
        std::clamp<std::uint32_t>(std::min<std::uint32_t>(threads, picture.height / kMinRowsPerPart), 1, 16);
    std::vector<Part> work(parts);
    for (std::uint32_t p = 0; p < parts; ++p) {
        work[p].first = static_cast<std::uint32_t>(static_cast<std::uint64_t>(picture.height) * p / parts);
        work[p].end = static_cast<std::uint32_t>(static_cast<std::uint64_t>(picture.height) * (p + 1) / parts);
        work[p].last = p + 1 == parts;
    }
    try {
        std::vector<std::thread> helpers;
        for (std::uint32_t p = 1; p < parts; ++p) {
            try {
                helpers.emplace_back([&, p] { work[p].Compress(picture); });
            } catch (const std::system_error&) {
                work[p].Compress(picture);  // no thread to be had: done here
            }
        }
        work[0].Compress(picture);
        for (std::thread& helper : helpers) helper.join();
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (const Part& part : work)
        if (!part.ok) return false;

    try {
        static constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        png.insert(png.end(), kSignature, kSignature + 8);
        std::vector<std::uint8_t> header;
        Put32(header, picture.width);
        Put32(header, picture.height);
        header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, truecolour, deflate, adaptive filters, no interlace
        PutChunk(png, "IHDR", header.data(), header.size());
        std::vector<std::uint8_t> density;
        Put32(density, 3780);  // 96 dpi, in pixels per metre, like the BMP files
        Put32(density, 3780);
        density.push_back(1);
        PutChunk(png, "pHYs", density.data(), density.size());

        // zlib header (deflate, 32 KiB window, default level), the parts, and
        // the Adler-32 of all the filtered rows.
        std::uint32_t adler = 1;
        for (const Part& part : work)
            adler = static_cast<std::uint32_t>(adler32_combine(adler, part.adler, static_cast<z_off_t>(part.rawBytes)));
        for (std::uint32_t p = 0; p < parts; ++p) {
            std::vector<std::uint8_t>& data = work[p].deflated;
            if (p == 0) data.insert(data.begin(), {0x78, 0x9C});
            if (p + 1 == parts) Put32(data, adler);
            PutChunk(png, "IDAT", data.data(), data.size());
            std::vector<std::uint8_t>().swap(data);
        }
        PutChunk(png, "IEND", nullptr, 0);
    } catch (const std::bad_alloc&) {
        png.clear();
        return false;
    }
    return true;
}

}  // namespace codecs
