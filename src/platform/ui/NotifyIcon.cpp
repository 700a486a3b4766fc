#include "platform/ui/NotifyIcon.h"

#include <algorithm>

namespace platform {

bool NotifyIcon::Add(HWND window, UINT id, UINT callbackMessage, HICON icon, const std::wstring& tip) {
    Remove();
    data_ = {};
    data_.cbSize = sizeof data_;
    data_.hWnd = window;
    data_.uID = id;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon;
    const size_t length = std::min(tip.size(), std::size(data_.szTip) - 1);
    std::copy_n(tip.c_str(), length, data_.szTip);
    return AddAgain();
}

bool NotifyIcon::AddAgain() {
    // The taskbar is also made anew while the icon is still there (a change
    // of resolution): it is then kept as it is.
    shown_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE || Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
    return shown_;
}

void NotifyIcon::Remove() {
    if (shown_) Shell_NotifyIconW(NIM_DELETE, &data_);
    shown_ = false;
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

}  // namespace platform
