// Stands in for the user's browser in the help test: started as
// `command_recorder.exe <record file> <arguments...>`, it writes its other
// arguments, one a line, to the record file (UTF-16) and ends.
#include "platform/Win32.h"

#include <shellapi.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args || count < 2) return 2;
    std::wstring recorded;
    for (int i = 2; i < count; ++i) recorded += std::wstring(args[i]) + L"\n";
    // Written beside the record and renamed, so a reader never sees half of it.
    const std::wstring partial = std::wstring(args[1]) + L".part";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, recorded.data(), static_cast<DWORD>(recorded.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    const bool moved = MoveFileExW(partial.c_str(), args[1], MOVEFILE_REPLACE_EXISTING) != FALSE;
    LocalFree(args);
    return moved ? 0 : 1;
}
