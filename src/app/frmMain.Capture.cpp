// The main window's commands that run the capture subsystem, the hotkeys
// that run them from any program, and the main window's own simple commands.
#include "app/frmMain.h"
#include "capture/CaptureCommands.h"
#include "capture/DelayedCapture.h"
#include "platform/portable/ScopeExit.h"
#include "platform/system/Screen.h"

#include <utility>

namespace app {

void frmMain::mnuDesktop_Click(ChosenFrom from) { capture::CaptureDesktopNow(*this, from); }
void frmMain::mnuWindow_Click(ChosenFrom from) { capture::CaptureActiveWindowNow(*this, from); }
void frmMain::mnuRectangle_Click(ChosenFrom from) { capture::StartRectangleSelection(*this, from); }
void frmMain::mnuDelayActive_Click(ChosenFrom from) {
    capture::StartDelayedCapture(*this, capture::kDelayActive, Options.DelayTime, from);
}
void frmMain::mnuDelayDesktop_Click(ChosenFrom from) {
    capture::StartDelayedCapture(*this, capture::kDelayDesktop, Options.DelayTime, from);
}

void frmMain::OnHotkey(int command) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    const bool menuOpen = GetGUIThreadInfo(GetCurrentThreadId(), &thread) && (thread.flags & GUI_INMENUMODE);
    // A dialog or a message of Tovik's disables the main window.
    if (command < 0 || capturing_ || !IsWindowEnabled(hwnd()) || menuOpen) return;
    // Pressed while Tovik is in front, it does what the shortcut does;
    // pressed in another program, that program's window is the one the user
    // works in.
    const HWND front = platform::ForegroundWindow();
    const ChosenFrom from = front && !platform::IsOwnWindow(front) ? ChosenFrom::Hotkey : ChosenFrom::ToolbarOrShortcut;
    userWindow_ = from == ChosenFrom::Hotkey ? front : nullptr;
    // The capture's start has taken it, if the command got that far.
    const auto forget = platform::ScopeExit([this] { userWindow_ = nullptr; });
    switch (command) {
    case settings::kRectangleKey: mnuRectangle_Click(from); break;
    case settings::kActiveWindowKey: mnuWindow_Click(from); break;
    case settings::kDesktopKey: mnuDesktop_Click(from); break;
    case settings::kDelayActiveWindowKey: mnuDelayActive_Click(from); break;
    case settings::kDelayDesktopKey: mnuDelayDesktop_Click(from); break;
    }
}

settings::HotkeyFlags frmMain::RegisterHotkeys() { return hotkeys_.Register(hwnd(), Options.Hotkeys); }

std::wstring frmMain::HeldHotkeysNews(const settings::HotkeyFlags& held, bool atStart) {
    const std::wstring keys = settings::HeldHotkeysText(Options.Hotkeys, held);
    if (keys.empty() && atStart) return {};
    const bool told = keys == Options.HeldElsewhere;
    Options.HeldElsewhere = keys;
    return keys.empty() || told ? std::wstring() : HeldHotkeysMessage(Options.Hotkeys, held);
}

bool frmMain::HideMain() {
    capturing_ = CaptureStart{MainOnScreen(), std::exchange(userWindow_, nullptr)};
    if (!capturing_->mainShown) return false;
    // Windows lets the program the user has just used bring a window to the
    // front; this keeps that right for the return after the capture, unless
    // the user turns to another program meanwhile.
    AllowSetForegroundWindow(GetCurrentProcessId());
    Hide();
    return true;
}

void frmMain::ShowMain() {
    if (!capturing_) return;   // back already
    const CaptureStart start = *capturing_;
    capturing_.reset();
    // A window that was not on the screen (minimised, or in the notification
    // area, where a capture chosen from the icon's menu leaves it) stays so:
    // the picture and the clipboard hold the capture.
    if (start.mainShown && start.userWindow) {
        Show(SW_SHOWNA);   // the picture where it was, the keyboard left alone
    } else if (start.mainShown) {
        Show();
        // Shown alone, a window of a program that is not in front only
        // flashes its task bar button.
        SetForegroundWindow(hwnd());
    }
    // The rectangle's overlay took the keyboard from the program the hotkey
    // was pressed in; it goes back there. (A program the user turned to
    // meanwhile keeps it.)
    if (start.userWindow && IsWindow(start.userWindow) && platform::IsOwnWindow(platform::ForegroundWindow()))
        SetForegroundWindow(start.userWindow);
}

void frmMain::mnuClear_Click() {
    Picture1().Cls();
    Picture2().Cls();
    Picture1().Refresh();
}

}  // namespace app
