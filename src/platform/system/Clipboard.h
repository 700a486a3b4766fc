// The clipboard, open for as long as this object lives.
#pragma once
#include "platform/owners/Gdi.h"

namespace platform {

class Clipboard {
public:
    // Opens the clipboard with the given window as its owner. Another
    // program that holds it open for a moment (a clipboard viewer or
    // manager reading what changed) is waited for, up to kOpenWaitMs; when
    // it still holds it, IsOpen() is false and every call does nothing.
    explicit Clipboard(HWND owner) : open_(Open(owner)) {}
    ~Clipboard() { if (open_) CloseClipboard(); }
    Clipboard(const Clipboard&) = delete;
    Clipboard& operator=(const Clipboard&) = delete;

    bool IsOpen() const { return open_; }
    bool Empty() const { return open_ && EmptyClipboard() != FALSE; }
    // Puts the bitmap on the clipboard as CF_BITMAP. On success the clipboard
    // owns it; otherwise it stays with the caller, who deletes it.
    bool SetBitmap(Bitmap& bitmap) const {
        if (!open_ || !bitmap) return false;
        if (!SetClipboardData(CF_BITMAP, bitmap.get())) return false;
        (void)bitmap.release();
        return true;
    }

    static constexpr DWORD kOpenWaitMs = 500;

private:
    static bool Open(HWND owner) {
        const ULONGLONG until = GetTickCount64() + kOpenWaitMs;
        while (!OpenClipboard(owner)) {
            if (GetTickCount64() >= until) return false;
            Sleep(10);
        }
        return true;
    }

    bool open_;
};

}  // namespace platform
