// The clipboard, open for as long as this object lives.
#pragma once
#include "platform/Gdi.h"

namespace platform {

class Clipboard {
public:
    // Opens the clipboard with the given window as its owner. Another
    // program may hold it open for a moment (clipboard managers and remote
    // desktops do): the open is tried again for a short while. When it is
    // still held after that, IsOpen() is false and every call does nothing.
    explicit Clipboard(HWND owner);
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

private:
    bool open_;
};

}  // namespace platform
