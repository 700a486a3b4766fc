// The capture delay as the setup dialog reads it from its text box.
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace dialogs {

// The delay in milliseconds, or nothing when the text is not one the
// delayed-capture timer can run: a whole number from 1 to 2,147,483,647
// written in ASCII digits (leading zeros allowed), with nothing around it
// but half-width spaces. Signs, full-width digits, decimals, grouping and
// values out of range are refused: 0 would never fire and leave the main
// window hidden, and a larger value would not run as asked.
std::optional<std::int32_t> ParseDelayTime(std::wstring_view text);

}  // namespace dialogs
