// A library planted beside a program under the name of one the system
// loads: whenever a process loads it, it leaves "planted-library-ran.txt"
// beside itself, holding the path it was loaded from.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(self, path, MAX_PATH);
    wchar_t mark[MAX_PATH + 32] = {};
    lstrcpyW(mark, path);
    for (wchar_t* end = mark + lstrlenW(mark); end > mark && end[-1] != L'\\'; --end) end[-1] = L'\0';
    lstrcatW(mark, L"planted-library-ran.txt");
    HANDLE file = CreateFileW(mark, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0,
                              nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, path, length * sizeof(wchar_t), &written, nullptr);
        CloseHandle(file);
    }
    return TRUE;
}
