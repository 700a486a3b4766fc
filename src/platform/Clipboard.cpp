#include "platform/Clipboard.h"

namespace platform {
namespace {
constexpr ULONGLONG kHeldPatience = 250;   // ms another program may hold the clipboard
constexpr DWORD kRetryPause = 10;
}  // namespace

Clipboard::Clipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {
    const ULONGLONG deadline = GetTickCount64() + kHeldPatience;
    while (!open_ && GetTickCount64() < deadline) {
        Sleep(kRetryPause);
        open_ = OpenClipboard(owner) != FALSE;
    }
}

}  // namespace platform
