#include "platform/Shell.h"

#include <shellapi.h>

#include <vector>

namespace platform {
namespace {

// The shell's classic codes as the Win32 errors they stand for.
DWORD ErrorOfShellCode(INT_PTR code) {
    switch (code) {
    case SE_ERR_FNF: return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF: return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED: return ERROR_ACCESS_DENIED;
    case SE_ERR_OOM: return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_SHARE: return ERROR_SHARING_VIOLATION;
    case SE_ERR_DLLNOTFOUND: return ERROR_DLL_NOT_FOUND;
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY: return ERROR_DDE_FAIL;
    case SE_ERR_NOASSOC:
    case SE_ERR_ASSOCINCOMPLETE: return ERROR_NO_ASSOCIATION;
    default: return ERROR_FILE_NOT_FOUND;
    }
}

}  // namespace

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool HasClassicHelpViewer() {
    std::vector<wchar_t> folder(MAX_PATH);
    const UINT length = GetWindowsDirectoryW(folder.data(), static_cast<UINT>(folder.size()));
    if (length == 0 || length >= folder.size()) return false;
    std::wstring viewer(folder.data(), length);
    if (viewer.back() != L'\\') viewer += L'\\';
    return FileExists(viewer + L"winhlp32.exe");
}

bool ShowHelpTopics(HWND owner, const std::wstring& helpFile) {
    return WinHelpW(owner, helpFile.c_str(), HELP_FINDER, 0) != FALSE;
}

DWORD OpenDocument(HWND owner, const std::wstring& path) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;   // the caller reports a failure in the program's own words
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = path.c_str();
    info.nShow = SW_SHOWNORMAL;
    SetLastError(ERROR_SUCCESS);
    if (ShellExecuteExW(&info)) return 0;
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ErrorOfShellCode(reinterpret_cast<INT_PTR>(info.hInstApp));
}

}  // namespace platform
