#include "platform/system/Shell.h"

#include "platform/system/Files.h"

#include <vector>

namespace platform {

bool HasClassicHelpViewer() {
    std::vector<wchar_t> folder(MAX_PATH);
    const UINT length = GetWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length == 0 || length >= folder.size()) return false;
    return FileExists(WithTrailingBackslash({folder.data(), length}) + L"winhlp32.exe");
}

bool ShowHelpTopics(HWND owner, const std::wstring& helpFile) {
    return WinHelpW(owner, helpFile.c_str(), HELP_FINDER, 0) != FALSE;
}

}  // namespace platform
