// Stands in for a program the tests have Tovik start (the user's browser,
// the image editor): writes the arguments it is started with, exactly as
// they follow its own name on the command line, to command_record.txt beside
// itself (UTF-16), and ends.
#include "CommandLine.h"

#include "platform/owners/Win32.h"

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const std::wstring arguments(converter::SkipProgramName(GetCommandLineW()));

    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring record(self);
    record = record.substr(0, record.find_last_of(L'\\') + 1) + L"command_record.txt";
    // Written under another name and renamed, so a reader never sees half of it.
    const std::wstring partial = record + L".part";
    HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, arguments.data(), static_cast<DWORD>(arguments.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
    return MoveFileExW(partial.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
