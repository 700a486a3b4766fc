// Stands in for the user's browser in the help test: writes the path it is
// started with to command_record.txt beside itself (UTF-16) and ends.
#include "platform/Win32.h"

#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args || count < 2) return 2;
    std::wstring record(args[0]);
    record = record.substr(0, record.find_last_of(L'\\') + 1) + L"command_record.txt";
    const std::wstring opened(args[1]);
    LocalFree(args);
    // Written under another name and renamed, so a reader never sees half of it.
    const std::wstring partial = record + L".part";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, opened.data(), static_cast<DWORD>(opened.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return MoveFileExW(partial.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
