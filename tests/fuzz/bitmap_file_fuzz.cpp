// The converter's bitmap reading against arbitrary files: the pixels it
// hands on must lie inside the data (AddressSanitizer watches every byte the
// encoder then reads), and small pictures are coded in full.
#include "codecs/BitmapFile.h"
#include "codecs/JpegEncoder.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const codecs::BitmapReading reading = codecs::ReadBitmapFile(data, size);
    if (reading.kind != codecs::BitmapKind::Plain) return 0;
    const codecs::BgrPicture& p = reading.pixels;
    FUZZ_REQUIRE(p.width > 0 && p.height > 0 && p.rows > data && p.stride >= 3ull * p.width);
    FUZZ_REQUIRE(p.rows + (p.height - 1) * p.stride + 3ull * p.width <= data + size);
    if (static_cast<std::uint64_t>(p.width) * p.height <= 64 * 64) {
        std::vector<std::uint8_t> jpeg;
        FUZZ_REQUIRE(codecs::EncodeJpeg(p, jpeg, {.quality = 90, .threads = 2}));
        FUZZ_REQUIRE(jpeg.size() > 600 && jpeg[0] == 0xFF && jpeg[1] == 0xD8 && jpeg.back() == 0xD9);
    } else {
        volatile std::uint8_t last = p.rows[(p.height - 1) * p.stride + 3ull * p.width - 1];
        (void)last;
    }
    return 0;
}
