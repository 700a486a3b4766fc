#include "platform/portable/FileFilter.h"

namespace platform {

std::wstring DialogFilter(std::wstring_view filter) {
    if (filter.empty()) return {};
    std::wstring list(filter);
    for (wchar_t& c : list)
        if (c == L'|') c = L'\0';
    if (list.back() != L'\0') list += L'\0';   // "a|b|" already ends its last part
    list += L'\0';
    return list;
}

}  // namespace platform
