// Fuzz input as UTF-16 text: every two bytes one character, so the
// targets meet non-ASCII text, quotes and controls alike.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

inline std::wstring FuzzText(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    return text;
}

#define FUZZ_REQUIRE(condition) \
    do {                        \
        if (!(condition)) __builtin_trap(); \
    } while (0)
