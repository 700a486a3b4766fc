#include "platform/system/Process.h"

#include <shellapi.h>

namespace platform {

namespace {

// The shell's code for a Win32 error, for the rare failure that leaves
// hInstApp without one.
int ShellCodeFor(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return SE_ERR_FNF;
    case ERROR_PATH_NOT_FOUND: return SE_ERR_PNF;
    case ERROR_ACCESS_DENIED: return SE_ERR_ACCESSDENIED;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return SE_ERR_OOM;
    case ERROR_BAD_FORMAT: return ERROR_BAD_FORMAT;
    case ERROR_SHARING_VIOLATION: return SE_ERR_SHARE;
    case ERROR_NO_ASSOCIATION: return SE_ERR_NOASSOC;
    case ERROR_DLL_NOT_FOUND: return SE_ERR_DLLNOTFOUND;
    default: return 0;
    }
}

// The Win32 error a shell code stands for.
DWORD ErrorOfShellCode(int code) {
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

StartedProgram StartProgram(HWND owner, const std::wstring& file, const std::wstring& parameters,
                            const std::wstring& directory, int show) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = show;

    StartedProgram result;
    const BOOL ok = ShellExecuteExW(&info);
    const DWORD error = ok ? 0 : GetLastError();
    result.process.reset(info.hProcess);
    result.code = static_cast<int>(reinterpret_cast<INT_PTR>(info.hInstApp));
    if (!ok && result.code > 32) result.code = ShellCodeFor(error);
    if (ok && result.code <= 32) result.code = 33;  // started, whatever hInstApp says
    if (!result.started()) result.process.reset();
    return result;
}

DWORD OpenDocument(HWND owner, const std::wstring& path) {
    const StartedProgram opened = StartProgram(owner, path, L"", L"", SW_SHOWNORMAL);
    return opened.started() ? 0 : ErrorOfShellCode(opened.code);
}

DWORD RunCommandLine(const std::wstring& commandLine, int show) {
    if (commandLine.empty()) return ERROR_FILE_NOT_FOUND;
    std::wstring writable = commandLine;   // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        return GetLastError();
    const KernelHandle process(started.hProcess), thread(started.hThread);   // not watched: closed at once
    return 0;
}

bool WaitForProcess(const KernelHandle& process, DWORD timeoutMs) {
    if (!process) return true;
    return WaitForSingleObject(process.get(), timeoutMs) != WAIT_TIMEOUT;
}

}  // namespace platform
