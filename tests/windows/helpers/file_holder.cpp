// Holds files open for a moment, the way a virus scanner, the indexer or a
// sync client opens a file that was just written or is about to be
// replaced: for reading, without letting it be deleted or renamed.
//   file_holder.exe MS FILE [MS FILE]...
// Holds each FILE for its MS milliseconds, all from the same moment, which
// it signals with the event "TovikTestFilesHeld" once every one is open.
#include <windows.h>

#include <cstdlib>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    HANDLE held = CreateEventW(nullptr, TRUE, FALSE, L"TovikTestFilesHeld");
    struct Hold { HANDLE file; DWORD ms; };
    std::vector<Hold> holds;
    for (int i = 1; i + 1 < argc; i += 2) {
        HANDLE file = CreateFileW(argv[i + 1], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
        holds.push_back({file, static_cast<DWORD>(_wtoi(argv[i]))});
    }
    const ULONGLONG start = GetTickCount64();
    if (!held || holds.empty()) return 1;
    SetEvent(held);
    for (bool open = true; open;) {
        open = false;
        for (Hold& hold : holds) {
            if (!hold.file) continue;
            if (GetTickCount64() - start >= hold.ms) {
                CloseHandle(hold.file);
                hold.file = nullptr;
            } else {
                open = true;
            }
        }
        Sleep(5);
    }
    return 0;
}
