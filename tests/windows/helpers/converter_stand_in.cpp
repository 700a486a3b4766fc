// Stands in for bmp2jpg.exe in a copy of the program's folder: answers the
// way stand-in.txt beside it says ("EXITCODE DELAY_MS"), after that delay.
// With exit code 0 it copies the bitmap it was given to the destination, so
// a test sees whether temp.bmp was still there for it.
#include "CommandLine.h"

#include "platform/owners/Win32.h"

#include <cstdio>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring answer(self);
    answer = answer.substr(0, answer.find_last_of(L'\\') + 1) + L"stand-in.txt";
    int exitCode = 0, delay = 0;
    if (FILE* file = _wfopen(answer.c_str(), L"r")) {
        if (std::fscanf(file, "%d %d", &exitCode, &delay) != 2) exitCode = 99;
        std::fclose(file);
    }
    Sleep(static_cast<DWORD>(delay));
    if (exitCode != 0) return exitCode;
    const auto arguments = converter::SplitArguments(converter::SkipProgramName(GetCommandLineW()));
    if (arguments.kind != converter::CommandLineKind::Convert) return 1;
    return CopyFileW(arguments.source.c_str(), arguments.destination.c_str(), FALSE) ? 0 : 2;
}
