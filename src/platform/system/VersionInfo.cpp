#include "platform/system/VersionInfo.h"

#include "platform/owners/Win32.h"
#include "platform/system/Files.h"
#include "platform/system/SystemLookup.h"

#include <vector>

namespace platform {

std::optional<FileVersion> ReadFileVersion(const std::wstring& path) {
    // The version library is no system library every program has loaded:
    // looked up in the system folder, never imported, so that a file of its
    // name beside the program is never loaded.
    constexpr wchar_t kLibrary[] = L"version.dll";
    const auto sizeOf =
        SystemFunctionOf<decltype(&GetFileVersionInfoSizeW)>(kLibrary, "GetFileVersionInfoSizeW");
    const auto read = SystemFunctionOf<decltype(&GetFileVersionInfoW)>(kLibrary, "GetFileVersionInfoW");
    const auto query = SystemFunctionOf<decltype(&VerQueryValueW)>(kLibrary, "VerQueryValueW");
    if (!sizeOf || !read || !query) return std::nullopt;
    DWORD ignored = 0;
    const DWORD size = sizeOf(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> data(size);
    if (!read(path.c_str(), 0, size, data.data())) return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!query(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof *fixed || fixed->dwSignature != VS_FFI_SIGNATURE)
        return std::nullopt;
    return FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                       HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
}

std::optional<FileVersion> ReadProgramVersion() {
    const std::wstring program = ProgramPath();
    if (program.empty()) return std::nullopt;
    return ReadFileVersion(program);
}

}  // namespace platform
