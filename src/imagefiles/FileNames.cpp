#include "imagefiles/FileNames.h"

#include "platform/portable/Paths.h"

namespace imagefiles {

namespace {

bool EndsInAnyCase(std::wstring_view path, std::wstring_view upperEnding) {
    if (path.size() < upperEnding.size()) return false;
    const std::wstring_view last = path.substr(path.size() - upperEnding.size());
    for (std::size_t i = 0; i < last.size(); ++i) {
        const wchar_t c = last[i];
        if (((c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c) != upperEnding[i]) return false;
    }
    return true;
}

}  // namespace

bool IsJpegName(std::wstring_view path) { return EndsInAnyCase(path, L"JPG"); }

bool IsPngName(std::wstring_view path) { return EndsInAnyCase(path, L".PNG"); }

std::wstring FolderOf(std::wstring_view path, std::wstring_view title) {
    return std::wstring(path.substr(0, path.size() >= title.size() ? path.size() - title.size() : 0));
}

std::wstring ConverterFolder(std::wstring_view shortForm, std::wstring_view programFolder) {
    return platform::WithTrailingBackslash(shortForm.empty() ? programFolder : shortForm);
}

ConverterCall MakeConverterCall(std::wstring_view folder, std::wstring_view destination) {
    ConverterCall call;
    call.directory = std::wstring(folder);
    call.program = call.directory + kConverter;
    call.bitmap = call.directory + kTemporaryBitmap;
    const bool quoted = call.bitmap.find(L' ') != std::wstring::npos;
    call.parameters = (quoted ? L'"' + call.bitmap + L'"' : call.bitmap) + L' ' + std::wstring(destination);
    return call;
}

ConverterCall MakeConverterCall(const std::wstring& programFolder, std::wstring_view destination,
                                ShortPathFunction shortPathOf) {
    return MakeConverterCall(ConverterFolder(shortPathOf(programFolder), programFolder), destination);
}

}  // namespace imagefiles
