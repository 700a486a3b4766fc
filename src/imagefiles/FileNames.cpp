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

std::wstring LaunchErrorText(long long code) {
    switch (code) {
    case 2: return L"The specified file was not found.";
    case 3: return L"The specified path was not found.";
    case 5: return L"The operating system denied access to the specified file.";
    case 8: return L"There was not enough memory to complete the operation.";
    case 11: return L"The .exe file is invalid (non-Win32R .exe or error in .exe image).";
    case 26: return L"A sharing violation occurred.";
    case 27: return L" The file name association is incomplete or invalid.";
    case 28: return L"The DDE transaction could not be completed because the request timed out.";
    case 29: return L"The DDE transaction failed.";
    case 30: return L"The DDE transaction could not be completed because other DDE transactions were being processed.";
    case 31: return L"There is no application associated with the given file name extension.";
    case 32: return L"The specified dynamic-link library was not found.";
    default: return L"予期せぬｴﾗｰです";
    }
}

}  // namespace imagefiles
