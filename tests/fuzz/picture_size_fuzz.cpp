// The picture header reading against arbitrary files: it must never read
// past the data (AddressSanitizer watches every byte).
#include "codecs/PictureSize.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const codecs::ClaimedSize claimed = codecs::ReadClaimedSize(data, size);
    if (!claimed.known) FUZZ_REQUIRE(claimed.width == 0 && claimed.height == 0);
    codecs::FitsLimits(claimed.width, claimed.height, 32767, 1ull << 30);
    return 0;
}
