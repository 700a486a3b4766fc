// Path rules that need no file system.
#pragma once
#include <string>
#include <string_view>

namespace platform {

// A folder with a backslash added unless it already ends in one.
inline std::wstring WithTrailingBackslash(std::wstring_view folder) {
    std::wstring path(folder);
    if (path.empty() || path.back() != L'\\') path += L'\\';
    return path;
}

}  // namespace platform
