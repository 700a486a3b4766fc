#include "platform/system/Process.h"

#include <shellapi.h>

namespace platform {

namespace {

// The shell's classic codes and the Win32 errors they stand for, both ways:
// a failure that leaves hInstApp without a code gets the one of its error,
// and a code is reported as the first error it stands for.
struct ShellCode {
    int code;
    DWORD error;
};
constexpr ShellCode kShellCodes[] = {
    {SE_ERR_FNF, ERROR_FILE_NOT_FOUND},
    {SE_ERR_PNF, ERROR_PATH_NOT_FOUND},
    {SE_ERR_ACCESSDENIED, ERROR_ACCESS_DENIED},
    {SE_ERR_OOM, ERROR_NOT_ENOUGH_MEMORY},
    {SE_ERR_OOM, ERROR_OUTOFMEMORY},
    {ERROR_BAD_FORMAT, ERROR_BAD_FORMAT},
    {SE_ERR_SHARE, ERROR_SHARING_VIOLATION},
    {SE_ERR_NOASSOC, ERROR_NO_ASSOCIATION},
    {SE_ERR_ASSOCINCOMPLETE, ERROR_NO_ASSOCIATION},
    {SE_ERR_DLLNOTFOUND, ERROR_DLL_NOT_FOUND},
    {SE_ERR_DDETIMEOUT, ERROR_DDE_FAIL},
    {SE_ERR_DDEFAIL, ERROR_DDE_FAIL},
    {SE_ERR_DDEBUSY, ERROR_DDE_FAIL},
};

int ShellCodeFor(DWORD error) {
    for (const ShellCode& entry : kShellCodes)
        if (entry.error == error) return entry.code;
    return 0;
}

DWORD ErrorOfShellCode(int code) {
    for (const ShellCode& entry : kShellCodes)
        if (entry.code == code) return entry.error;
    return ERROR_FILE_NOT_FOUND;
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

HRESULT OpenDocument(HWND owner, const std::wstring& path) {
    const StartedProgram opened = StartProgram(owner, path, L"", L"", SW_SHOWNORMAL);
    return opened.started() ? S_OK : FailureOf(ErrorOfShellCode(opened.code));
}

HRESULT RunCommandLine(const std::wstring& commandLine, int show) {
    if (commandLine.empty()) return FailureOf(ERROR_FILE_NOT_FOUND);
    std::wstring writable = commandLine;   // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION started{};
    RETURN_IF_WIN32_BOOL_FALSE(
        CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started));
    const KernelHandle process(started.hProcess), thread(started.hThread);   // not watched: closed at once
    return S_OK;
}

bool WaitForProcess(const KernelHandle& process, DWORD timeoutMs) {
    if (!process) return true;
    return WaitForSingleObject(process.get(), timeoutMs) != WAIT_TIMEOUT;
}

}  // namespace platform
