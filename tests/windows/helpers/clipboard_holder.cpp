// Holds the clipboard open: another program that keeps the clipboard busy
// while Tovik uses it. Without an argument until told to let go; with one,
// for that many milliseconds.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, L"TovikTestClipboardHeld");
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, L"TovikTestClipboardRelease");
    if (!held || !release || !OpenClipboard(nullptr)) return 1;
    SetEvent(held);
    if (argc > 1) Sleep(static_cast<DWORD>(std::atoi(argv[1])));
    else WaitForSingleObject(release, 30000);
    CloseClipboard();
    return 0;
}
