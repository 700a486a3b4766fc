// The settings texts against arbitrary stored values: the number parsers
// and the whole start-up read, whose every value comes from the store.
#include "app/Settings.h"
#include "fuzz_input.h"

#include <cmath>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::wstring text = FuzzText(data, size);
    if (const auto v = app::settings::ParseSingle(text)) {
        const auto again = app::settings::ParseSingle(app::settings::FormatSingle(*v));
        FUZZ_REQUIRE(again.has_value() || std::isnan(*v) || std::isinf(*v));
    }
    app::settings::ParseLong(text);
    app::settings::ParseInteger(text);

    // Each stored value is a piece of the input, cut at the '|' characters.
    std::vector<std::wstring> pieces(1);
    for (wchar_t c : text) {
        if (c == L'|') pieces.emplace_back();
        else pieces.back() += c;
    }
    std::size_t next = 0;
    const app::settings::Options options = app::settings::ReadOptions(
        [&](const std::wstring&, const std::wstring&) -> std::optional<std::wstring> {
            const std::wstring& piece = pieces[next++ % pieces.size()];
            if (piece == L"~") return std::nullopt;
            return piece;
        },
        L"C:\\Tools\\Tovik");
    FUZZ_REQUIRE(options.recentFiles.size() <= static_cast<std::size_t>(app::settings::kRecentFileKeys));
    app::settings::ShutdownWrites(options, next % 2 == 0);
    return 0;
}
