// A window's icon in the notification area of the taskbar.
#pragma once
#include "platform/owners/Win32.h"

#include <shellapi.h>

#include <string>

namespace platform {

// The program's icon in the notification area, from Add until Remove or the
// owner's end. What the user does on it reaches the window as
// `callbackMessage`, with the mouse message (WM_LBUTTONUP, WM_RBUTTONUP) in
// lParam.
class NotifyIcon {
public:
    NotifyIcon() = default;
    ~NotifyIcon() { Remove(); }
    NotifyIcon(const NotifyIcon&) = delete;
    NotifyIcon& operator=(const NotifyIcon&) = delete;

    // False, and nothing is shown, when the shell has no notification area
    // now (Explorer not running).
    bool Add(HWND window, UINT id, UINT callbackMessage, HICON icon, const std::wstring& tip);
    // Explorer restarted and forgot the icon: shows it again. False when it
    // could not; the icon is then no longer shown.
    bool AddAgain();
    void Remove();
    bool Shown() const { return shown_; }

private:
    NOTIFYICONDATAW data_{};
    bool shown_ = false;
};

// The message the shell sends every top-level window when the taskbar is
// made anew (Explorer restarted): the icons must then be added again.
UINT TaskbarCreatedMessage();

}  // namespace platform
