// Opening a picture's direct bitmap path against arbitrary files: a taken
// bitmap is copied in full (AddressSanitizer watches every byte read), and
// only bitmaps within the open path's limits are taken.
#include "codecs/DirectBitmap.h"
#include "fuzz_input.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::uint32_t kMaxSide = 32767;
    constexpr std::uint64_t kMaxBytes = 1ull << 24;  // the open path allows more; the fuzzer's memory does not
    const codecs::DirectBitmap bitmap = codecs::ReadDirectBitmap(data, size, kMaxSide, kMaxBytes);
    if (!bitmap.taken) return 0;
    FUZZ_REQUIRE(bitmap.width > 0 && bitmap.height > 0 && bitmap.width <= kMaxSide && bitmap.height <= kMaxSide);
    FUZZ_REQUIRE(4ull * bitmap.width * bitmap.height <= kMaxBytes);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(bitmap.width) * bitmap.height);
    codecs::CopyDirectBitmap(bitmap, pixels.data());
    for (std::uint32_t p : pixels) FUZZ_REQUIRE(p >> 24 == 0xFF);
    return 0;
}
