#include "dialogs/DelayText.h"

namespace dialogs {

std::optional<std::int32_t> ParseDelayTime(std::wstring_view text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return std::nullopt;
    text.remove_prefix(first);
    text.remove_suffix(text.size() - (text.find_last_not_of(L' ') + 1));

    constexpr std::int64_t kLargest = 0x7FFFFFFF;
    std::int64_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + (c - L'0');
        if (value > kLargest) return std::nullopt;   // stops before any overflow, however many digits
    }
    if (value < 1) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

}  // namespace dialogs
