#include "codecs/JpegEncoder.h"

#include <algorithm>
#include <array>
#include <new>
#include <system_error>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace codecs {

namespace {

// The natural (row-major) position of each coefficient in zigzag order.
constexpr std::uint8_t kZigzag[64] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
    41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
    30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// The same, transposed: where TransformBlock leaves each coefficient.
constexpr auto kZigzagTurned = [] {
    std::array<std::uint8_t, 64> turned{};
    for (int k = 0; k < 64; ++k) turned[k] = static_cast<std::uint8_t>(kZigzag[k] % 8 * 8 + kZigzag[k] / 8);
    return turned;
}();

// The usual quantizers at quality 50, in natural order.
constexpr std::uint8_t kLumaQuantizers[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,  14, 13, 16, 24,  40,  57,
    69, 56, 14, 17, 22,  29,  51,  87,  80, 62, 18, 22, 37,  56,  68,  109, 103, 77, 24, 35,  55,  64,
    81, 104, 113, 92, 49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr std::uint8_t kChromaQuantizers[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

// The usual Huffman tables: how many codes of each length 1 to 16, then the
// symbols in code order.
struct HuffmanTable {
    std::uint8_t counts[16];
    const std::uint8_t* symbols;
};
constexpr std::uint8_t kDcSymbols[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
constexpr std::uint8_t kAcLumaSymbols[162] = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61, 0x07, 0x22, 0x71,
    0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52, 0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72,
    0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37,
    0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59,
    0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a, 0xa2, 0xa3,
    0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3,
    0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2,
    0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};
constexpr std::uint8_t kAcChromaSymbols[162] = {
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61, 0x71, 0x13, 0x22,
    0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33, 0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1,
    0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18, 0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36,
    0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58,
    0x59, 0x5a, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
    0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99, 0x9a,
    0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba,
    0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda,
    0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};
// In the order the DHT segment lists them: luma DC, luma AC, chroma DC, chroma AC.
constexpr HuffmanTable kHuffmanTables[4] = {
    {{0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}, kDcSymbols},
    {{0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d}, kAcLumaSymbols},
    {{0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0}, kDcSymbols},
    {{0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77}, kAcChromaSymbols},
};
constexpr std::uint8_t kTableClassAndId[4] = {0x00, 0x10, 0x01, 0x11};

// Code and length of every symbol of one table.
struct HuffmanCodes {
    std::uint16_t code[256] = {};
    std::uint8_t length[256] = {};
};

HuffmanCodes BuildCodes(const HuffmanTable& table) {
    HuffmanCodes codes;
    unsigned code = 0, next = 0;
    for (int length = 1; length <= 16; ++length, code <<= 1)
        for (int i = 0; i < table.counts[length - 1]; ++i, ++code, ++next) {
            codes.code[table.symbols[next]] = static_cast<std::uint16_t>(code);
            codes.length[table.symbols[next]] = static_cast<std::uint8_t>(length);
        }
    return codes;
}

// What one component needs while it is coded.
struct ComponentTables {
    std::uint8_t quantizers[64];  // natural order, as the DQT segment holds them
    float scales[64];             // transposed: the DCT's own scaling and the quantizer in one factor
    HuffmanCodes dc, ac;
};

void PrepareTables(const std::uint8_t* base, int quality, const HuffmanTable& dc, const HuffmanTable& ac,
                   ComponentTables& tables) {
    quality = std::clamp(quality, 1, 100);
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    // The fast DCT below leaves coefficient (u, v) multiplied by
    // 8 * factor[u] * factor[v], with factor[k] = sqrt(2) cos(k pi / 16).
    constexpr float kFactors[8] = {1.0f,         1.387039845f, 1.306562965f, 1.175875602f,
                                   1.0f,         0.785694958f, 0.541196100f, 0.275899379f};
    for (int n = 0; n < 64; ++n)
        tables.quantizers[n] = static_cast<std::uint8_t>(std::clamp((base[n] * scale + 50) / 100, 1, 255));
    for (int n = 0; n < 64; ++n) {
        const int turned = n % 8 * 8 + n / 8;
        tables.scales[turned] = 1.0f / (tables.quantizers[n] * kFactors[n / 8] * kFactors[n % 8] * 8.0f);
    }
    tables.dc = BuildCodes(dc);
    tables.ac = BuildCodes(ac);
}

// One pass of the scaled 8-point DCT (the Arai-Agui-Nakajima factorisation)
// over eight values `step` apart.
inline void Dct8(float* d, int step) {
    const float t0 = d[0] + d[7 * step], t7 = d[0] - d[7 * step];
    const float t1 = d[step] + d[6 * step], t6 = d[step] - d[6 * step];
    const float t2 = d[2 * step] + d[5 * step], t5 = d[2 * step] - d[5 * step];
    const float t3 = d[3 * step] + d[4 * step], t4 = d[3 * step] - d[4 * step];

    const float e10 = t0 + t3, e13 = t0 - t3, e11 = t1 + t2, e12 = t1 - t2;
    d[0] = e10 + e11;
    d[4 * step] = e10 - e11;
    const float z1 = (e12 + e13) * 0.707106781f;
    d[2 * step] = e13 + z1;
    d[6 * step] = e13 - z1;

    const float o10 = t4 + t5, o11 = t5 + t6, o12 = t6 + t7;
    const float z5 = (o10 - o12) * 0.382683433f;
    const float z2 = 0.541196100f * o10 + z5;
    const float z4 = 1.306562965f * o12 + z5;
    const float z3 = o11 * 0.707106781f;
    const float z11 = t7 + z3, z13 = t7 - z3;
    d[5 * step] = z13 + z2;
    d[3 * step] = z13 - z2;
    d[step] = z11 + z4;
    d[7 * step] = z11 - z4;
}

// The quantized coefficients, in zigzag order, of the 8 x 8 samples at
// `samples` (rows `stride` floats apart, already shifted to -128..127).
// Both passes run down the columns, eight at once, so that the compiler
// can use vector instructions; a transposition in between turns the second
// into the pass along the rows, and leaves every coefficient at its
// transposed place (the scales are stored transposed to match).
inline void TransformBlock(const float* samples, std::size_t stride, const float* scales, std::int16_t* out) {
    float block[64], turned[64];
    for (int row = 0; row < 8; ++row) std::copy_n(samples + row * stride, 8, block + row * 8);
    for (int column = 0; column < 8; ++column) Dct8(block + column, 8);
#if defined(__SSE2__)
    for (int row = 0; row < 8; row += 4)
        for (int column = 0; column < 8; column += 4) {
            __m128 r0 = _mm_loadu_ps(block + row * 8 + column), r1 = _mm_loadu_ps(block + row * 8 + 8 + column);
            __m128 r2 = _mm_loadu_ps(block + row * 8 + 16 + column), r3 = _mm_loadu_ps(block + row * 8 + 24 + column);
            _MM_TRANSPOSE4_PS(r0, r1, r2, r3);
            _mm_storeu_ps(turned + column * 8 + row, r0);
            _mm_storeu_ps(turned + column * 8 + 8 + row, r1);
            _mm_storeu_ps(turned + column * 8 + 16 + row, r2);
            _mm_storeu_ps(turned + column * 8 + 24 + row, r3);
        }
#else
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column) turned[column * 8 + row] = block[row * 8 + column];
#endif
    for (int column = 0; column < 8; ++column) Dct8(turned + column, 8);
    // Quantized: rounded to nearest, held to the range baseline codes.
    alignas(16) std::int16_t quantized[64];
#if defined(__SSE2__)
    for (int n = 0; n < 64; n += 8) {
        const __m128i low = _mm_cvtps_epi32(_mm_mul_ps(_mm_loadu_ps(turned + n), _mm_loadu_ps(scales + n)));
        const __m128i high = _mm_cvtps_epi32(_mm_mul_ps(_mm_loadu_ps(turned + n + 4), _mm_loadu_ps(scales + n + 4)));
        const __m128i both = _mm_packs_epi32(low, high);
        _mm_store_si128(reinterpret_cast<__m128i*>(quantized + n),
                        _mm_min_epi16(_mm_max_epi16(both, _mm_set1_epi16(-1023)), _mm_set1_epi16(1023)));
    }
#else
    for (int n = 0; n < 64; ++n) {
        const int value = static_cast<int>(turned[n] * scales[n] + 16384.5f) - 16384;  // far inside +-16384
        quantized[n] = static_cast<std::int16_t>(std::clamp(value, -1023, 1023));
    }
#endif
    for (int k = 0; k < 64; ++k) out[k] = quantized[kZigzagTurned[k]];
}

// Bit k set for each coefficient k > 0 that is not zero.
inline std::uint64_t NonzeroAcMask(const std::int16_t* coefficients) {
    std::uint64_t zero = 0;
#if defined(__SSE2__)
    for (int i = 0; i < 4; ++i) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coefficients + 16 * i));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(coefficients + 16 * i + 8));
        const __m128i bytes = _mm_packs_epi16(_mm_cmpeq_epi16(low, _mm_setzero_si128()),
                                              _mm_cmpeq_epi16(high, _mm_setzero_si128()));
        zero |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(bytes))) << (16 * i);
    }
#else
    for (int k = 0; k < 64; ++k) zero |= static_cast<std::uint64_t>(coefficients[k] == 0) << k;
#endif
    return ~zero & ~std::uint64_t{1};
}

// Bits to bytes, with a 0 stuffed after every 0xFF byte, written through a
// plain pointer: the caller keeps room for them. Small enough to be copied
// into locals for a block, so the compiler keeps it in registers although
// the bytes written could alias anything.
struct BitSink {
    std::uint8_t* next;
    std::uint64_t pending = 0;  // the low `count` bits are still to be written
    int count = 0;

    // Appends the low `bits` bits of `value` (at most 27, the rest zero).
    void Put(std::uint32_t value, int bits) {
        pending = (pending << bits) | value;
        count += bits;
        if (count >= 32) {
            count -= 32;
            const std::uint32_t word = static_cast<std::uint32_t>(pending >> count);
            // Whether any byte of the word is 0xFF: a zero byte in its complement.
            const std::uint32_t inverse = ~word;
            if (((inverse - 0x01010101u) & ~inverse & 0x80808080u) == 0) {
                next[0] = static_cast<std::uint8_t>(word >> 24);
                next[1] = static_cast<std::uint8_t>(word >> 16);
                next[2] = static_cast<std::uint8_t>(word >> 8);
                next[3] = static_cast<std::uint8_t>(word);
                next += 4;
            } else {
                for (int shift = 24; shift >= 0; shift -= 8) Byte(static_cast<std::uint8_t>(word >> shift));
            }
        }
    }

    // Fills the last byte with 1 bits and writes out everything pending.
    void PadToByte() {
        if (count % 8) Put((1u << (8 - count % 8)) - 1, 8 - count % 8);
        while (count > 0) {
            count -= 8;
            Byte(static_cast<std::uint8_t>(pending >> count));
        }
    }

    void Byte(std::uint8_t byte) {
        *next++ = byte;
        if (byte == 0xFF) *next++ = 0;
    }
};

// The size category of a coefficient, and its extra bits.
inline int Category(int value) {
    const unsigned magnitude = static_cast<unsigned>(value < 0 ? -value : value);
    return magnitude ? 32 - __builtin_clz(magnitude) : 0;
}
inline std::uint32_t ExtraBits(int value, int category) {
    return static_cast<std::uint32_t>(value < 0 ? value - 1 : value) & ((1u << category) - 1);
}

void EncodeBlock(const std::int16_t* coefficients, int& previousDc, const ComponentTables& tables, BitSink& sink) {
    BitSink out = sink;
    const int difference = coefficients[0] - previousDc;
    previousDc = coefficients[0];
    const int dcCategory = Category(difference);
    out.Put((static_cast<std::uint32_t>(tables.dc.code[dcCategory]) << dcCategory) | ExtraBits(difference, dcCategory),
            tables.dc.length[dcCategory] + dcCategory);

    std::uint64_t nonzero = NonzeroAcMask(coefficients);
    int last = 0;
    while (nonzero) {
        const int k = __builtin_ctzll(nonzero);
        nonzero &= nonzero - 1;
        int run = k - last - 1;
        for (; run > 15; run -= 16) out.Put(tables.ac.code[0xF0], tables.ac.length[0xF0]);
        const int category = Category(coefficients[k]);
        const int symbol = (run << 4) | category;
        out.Put((static_cast<std::uint32_t>(tables.ac.code[symbol]) << category) | ExtraBits(coefficients[k], category),
                tables.ac.length[symbol] + category);
        last = k;
    }
    if (last != 63) out.Put(tables.ac.code[0x00], tables.ac.length[0x00]);
    sink = out;
}

// Codes the rows of blocks of one run of restart intervals.
class IntervalEncoder {
public:
    IntervalEncoder(const BgrPicture& picture, const ComponentTables& luma, const ComponentTables& chroma)
        : picture_(picture), luma_(luma), chroma_(chroma),
          mcus_((picture.width + 15) / 16), width_(mcus_ * 16),
          y_(std::size_t{16} * width_), cb_(std::size_t{8} * width_ / 2), cr_(cb_.size()) {
        for (int v = 0; v < 256; ++v) {
            blue_[v] = 0.114f * v - 128.0f;
            green_[v] = 0.587f * v;
            red_[v] = 0.299f * v;
        }
    }

    // Codes MCU rows [first, end) in intervals of `rowsPerInterval` rows;
    // every interval but the picture's last ends with its restart marker.
    void Encode(std::uint32_t first, std::uint32_t end, std::uint32_t rowsPerInterval, std::uint32_t allRows,
                std::vector<std::uint8_t>& out) {
        // Room for the worst MCU, every coefficient coded, every byte stuffed.
        const std::size_t worstMcu = 6 * 64 * 27 / 8 * 2 + 16;
        std::size_t used = out.size();
        BitSink writer{nullptr};
        auto reserve = [&](std::size_t bytes) {
            if (writer.next) used = static_cast<std::size_t>(writer.next - out.data());
            if (out.size() - used < bytes) out.resize(std::max(out.size() * 2, used + bytes));
            writer.next = out.data() + used;
        };
        int dc[3] = {0, 0, 0};
        for (std::uint32_t row = first; row < end; ++row) {
            ConvertRow(row);
            for (std::uint32_t m = 0; m < mcus_; ++m) {
                reserve(worstMcu);
                std::int16_t coefficients[64];
                const float* y = y_.data() + m * 16;
                for (const float* block : {y, y + 8, y + 8 * width_, y + 8 * width_ + 8}) {
                    TransformBlock(block, width_, luma_.scales, coefficients);
                    EncodeBlock(coefficients, dc[0], luma_, writer);
                }
                TransformBlock(cb_.data() + m * 8, width_ / 2, chroma_.scales, coefficients);
                EncodeBlock(coefficients, dc[1], chroma_, writer);
                TransformBlock(cr_.data() + m * 8, width_ / 2, chroma_.scales, coefficients);
                EncodeBlock(coefficients, dc[2], chroma_, writer);
            }
            if ((row + 1) % rowsPerInterval == 0 || row + 1 == allRows) {
                reserve(16);
                writer.PadToByte();
                if (row + 1 < allRows) {
                    *writer.next++ = 0xFF;
                    *writer.next++ = static_cast<std::uint8_t>(0xD0 + (row / rowsPerInterval) % 8);
                    dc[0] = dc[1] = dc[2] = 0;
                }
            }
        }
        reserve(0);
        out.resize(used);
    }

private:
    const std::uint8_t* SourceRow(std::uint32_t y) const {
        y = std::min(y, picture_.height - 1);  // the last row repeats below the picture
        if (picture_.bottomUp) y = picture_.height - 1 - y;
        return picture_.rows + y * picture_.stride;
    }

    // Sixteen rows of luma and eight of chroma, shifted to -128..127, the
    // last column and row repeated to the block edge.
    void ConvertRow(std::uint32_t row) {
        const std::uint32_t width = picture_.width, chromaWidth = width_ / 2;
        for (std::uint32_t r = 0; r < 16; ++r) {
            const std::uint8_t* source = SourceRow(row * 16 + r);
            float* y = y_.data() + r * width_;
            for (std::size_t x = 0; x < width; ++x)
                y[x] = blue_[source[3 * x]] + green_[source[3 * x + 1]] + red_[source[3 * x + 2]];
            std::fill(y + width, y + width_, y[width - 1]);
        }
        // Chroma from the mean of 2 x 2 pixels: Cb = 0.5643 (B - Y) and
        // Cr = 0.7133 (R - Y), with the means of B, R and the luma just made.
        const std::size_t pairs = width / 2;
        for (std::uint32_t r = 0; r < 8; ++r) {
            const std::uint8_t* top = SourceRow(row * 16 + 2 * r);
            const std::uint8_t* bottom = SourceRow(row * 16 + 2 * r + 1);
            const float* y0 = y_.data() + 2 * r * width_;
            const float* y1 = y0 + width_;
            float* cb = cb_.data() + r * chromaWidth;
            float* cr = cr_.data() + r * chromaWidth;
            for (std::size_t x2 = 0; x2 < pairs; ++x2) {
                const std::uint8_t* a = top + 6 * x2;
                const std::uint8_t* b = bottom + 6 * x2;
                const float luma = y0[2 * x2] + y0[2 * x2 + 1] + y1[2 * x2] + y1[2 * x2 + 1] + 512.0f;
                cb[x2] = 0.141084f * (float(a[0] + a[3] + b[0] + b[3]) - luma);
                cr[x2] = 0.178317f * (float(a[2] + a[5] + b[2] + b[5]) - luma);
            }
            if (width % 2) {  // the last pixel stands for itself and its repetition
                const std::uint8_t* a = top + 3 * (width - 1);
                const std::uint8_t* b = bottom + 3 * (width - 1);
                const float luma = y0[width - 1] + y1[width - 1] + 256.0f;
                cb[pairs] = 0.282167f * (float(a[0] + b[0]) - luma);
                cr[pairs] = 0.356633f * (float(a[2] + b[2]) - luma);
            }
            const std::uint32_t filled = (width + 1) / 2;
            std::fill(cb + filled, cb + chromaWidth, cb[filled - 1]);
            std::fill(cr + filled, cr + chromaWidth, cr[filled - 1]);
        }
    }

    const BgrPicture& picture_;
    const ComponentTables& luma_;
    const ComponentTables& chroma_;
    std::uint32_t mcus_;   // MCUs across
    std::size_t width_;    // luma samples across, a multiple of 16
    std::vector<float> y_, cb_, cr_;
    float blue_[256], green_[256], red_[256];  // each colour's share of the luma, the shift by 128 in blue's
};

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void WriteHeaders(const BgrPicture& picture, const ComponentTables& luma, const ComponentTables& chroma,
                  unsigned restartInterval, std::vector<std::uint8_t>& out) {
    // JFIF 1.01, 96 dots per inch like the screen the pictures come from.
    out.insert(out.end(), {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 1, 0, 96, 0, 96, 0, 0});

    out.insert(out.end(), {0xFF, 0xDB});
    Put16(out, 2 + 2 * 65);
    for (int id = 0; id < 2; ++id) {
        out.push_back(static_cast<std::uint8_t>(id));  // 8-bit entries
        for (int k = 0; k < 64; ++k) out.push_back((id ? chroma : luma).quantizers[kZigzag[k]]);
    }

    // Luma (1) samples 2 x 2 per MCU with table 0; Cb (2) and Cr (3) one each, table 1.
    out.insert(out.end(), {0xFF, 0xC0});
    Put16(out, 8 + 3 * 3);
    out.push_back(8);
    Put16(out, picture.height);
    Put16(out, picture.width);
    out.insert(out.end(), {3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});

    out.insert(out.end(), {0xFF, 0xC4});
    unsigned length = 2;
    for (const HuffmanTable& table : kHuffmanTables) {
        length += 17;
        for (std::uint8_t count : table.counts) length += count;
    }
    Put16(out, length);
    for (int t = 0; t < 4; ++t) {
        const HuffmanTable& table = kHuffmanTables[t];
        out.push_back(kTableClassAndId[t]);
        out.insert(out.end(), table.counts, table.counts + 16);
        unsigned symbols = 0;
        for (std::uint8_t count : table.counts) symbols += count;
        out.insert(out.end(), table.symbols, table.symbols + symbols);
    }

    if (restartInterval) {
        out.insert(out.end(), {0xFF, 0xDD, 0, 4});
        Put16(out, restartInterval);
    }

    out.insert(out.end(), {0xFF, 0xDA, 0, 12, 3, 1, 0x00, 2, 0x11, 3, 0x11, 0, 63, 0});
}

}  // namespace

bool EncodeJpeg(const BgrPicture& picture, std::vector<std::uint8_t>& jpeg, const JpegOptions& options) {
    jpeg.clear();
    if (!picture.rows || picture.width == 0 || picture.height == 0 || picture.width > 65535 ||
        picture.height > 65535)
        return false;
    try {
        ComponentTables luma, chroma;
        PrepareTables(kLumaQuantizers, options.quality, kHuffmanTables[0], kHuffmanTables[1], luma);
        PrepareTables(kChromaQuantizers, options.quality, kHuffmanTables[2], kHuffmanTables[3], chroma);

        // Restart intervals of whole MCU rows, one run of them per part; an
        // interval holds at most 65535 MCUs.
        const std::uint32_t mcusAcross = (picture.width + 15) / 16, rows = (picture.height + 15) / 16;
        std::uint32_t parts = std::clamp<std::uint32_t>(options.threads, 1, rows);
        std::uint32_t rowsPerInterval = (rows + parts - 1) / parts;
        if (parts > 1) rowsPerInterval = std::min(rowsPerInterval, 65535 / mcusAcross);
        const std::uint32_t intervals = (rows + rowsPerInterval - 1) / rowsPerInterval;
        parts = std::min(parts, intervals);

        WriteHeaders(picture, luma, chroma, intervals > 1 ? rowsPerInterval * mcusAcross : 0, jpeg);
        // Each part starts on a restart interval's first row.
        std::vector<std::uint32_t> starts;
        for (std::uint32_t p = 0; p <= parts; ++p) starts.push_back(intervals * p / parts * rowsPerInterval);
        starts.back() = rows;

        std::vector<std::vector<std::uint8_t>> later(parts - 1);
        std::vector<std::thread> threads;
        std::vector<char> done(parts, 0);
        auto encodePart = [&](std::uint32_t p) {
            try {
                std::vector<std::uint8_t>& out = p == 0 ? jpeg : later[p - 1];
                if (p == 0) out.reserve(out.size() + std::size_t{picture.width} * (starts[1] * 16) / 4);
                IntervalEncoder(picture, luma, chroma).Encode(starts[p], starts[p + 1], rowsPerInterval, rows, out);
                done[p] = 1;
            } catch (const std::bad_alloc&) {
            }
        };
        threads.reserve(parts);  // no allocation may fail once threads run
        std::uint32_t onThreads = 1;
        try {
            for (; onThreads < parts; ++onThreads) threads.emplace_back(encodePart, onThreads);
        } catch (const std::system_error&) {
            // No more threads: the calling thread codes the remaining parts itself.
        }
        encodePart(0);
        for (std::thread& thread : threads) thread.join();
        for (std::uint32_t p = onThreads; p < parts; ++p) encodePart(p);
        if (std::find(done.begin(), done.end(), 0) != done.end()) {
            jpeg.clear();
            return false;
        }
        for (const auto& part : later) jpeg.insert(jpeg.end(), part.begin(), part.end());
        jpeg.insert(jpeg.end(), {0xFF, 0xD9});
        return true;
    } catch (const std::bad_alloc&) {
        jpeg.clear();
        return false;
    }
}

}  // namespace codecs
