// Holds the clipboard open until told to let go: another program that
// keeps the clipboard busy while Tovik captures.
#include <windows.h>

int main() {
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, L"TovikTestClipboardHeld");
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, L"TovikTestClipboardRelease");
    if (!held || !release || !OpenClipboard(nullptr)) return 1;
    SetEvent(held);
    WaitForSingleObject(release, 30000);
    CloseClipboard();
    return 0;
}
