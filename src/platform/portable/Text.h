// Texts of the resource script with their blanks filled in.
#pragma once
#include <initializer_list>
#include <string>

namespace platform {

// `text` with each "%ls" replaced, in turn, by one of `inserts`; blanks
// beyond the inserts stay as they are.
inline std::wstring FillIn(std::wstring text, std::initializer_list<std::wstring> inserts) {
    size_t from = 0;
    for (const std::wstring& insert : inserts) {
        const size_t at = text.find(L"%ls", from);
        if (at == std::wstring::npos) break;
        text.replace(at, 3, insert);
        from = at + insert.size();
    }
    return text;
}

}  // namespace platform
