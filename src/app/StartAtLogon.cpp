#include "app/StartAtLogon.h"

#include "platform/system/Files.h"
#include "platform/system/Shortcut.h"

#include <optional>
#include <string>

namespace app {
namespace {

constexpr wchar_t kShortcutName[] = L"Tovik.lnk";

std::optional<std::wstring> ShortcutPath() {
    const auto folder = platform::StartupFolder();
    if (!folder) return std::nullopt;
    return platform::WithTrailingBackslash(*folder) + kShortcutName;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

bool StartsAtLogon() {
    const auto path = ShortcutPath();
    if (!path) return false;
    const auto target = platform::ShortcutTarget(*path);
    return target && SamePath(*target, platform::ProgramPath());
}

HRESULT SetStartAtLogon(bool on) {
    const auto path = ShortcutPath();
    if (!path) return platform::FailureOf(ERROR_PATH_NOT_FOUND);
    if (!on) {
        if (DeleteFileW(path->c_str())) return S_OK;
        const DWORD error = GetLastError();
        return platform::FailureOf(error == ERROR_FILE_NOT_FOUND ? 0 : error);
    }
    // Minimised without the focus: what the user opens at logon keeps the
    // keyboard, and Tovik waits on the taskbar (or in the notification area).
    return platform::SaveShortcut(*path, {platform::ProgramPath(), platform::ProgramFolder(), SW_SHOWMINNOACTIVE});
}

}  // namespace app
