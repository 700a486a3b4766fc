// The main window in the notification area: the icon it waits as while it
// is minimised with the option on, the icon's menu and the way back.
#include "app/frmMain.h"

#include "platform/portable/ScopeExit.h"
#include "platform/system/Compositor.h"
#include "platform/system/Screen.h"
#include "platform/ui/Messages.h"
#include "resources/resource.h"

namespace app {
namespace {

constexpr UINT kTrayIconId = 1;

}  // namespace

void frmMain::GoToTray() {
    // Restored meanwhile, hidden for a capture, or the option turned off: it stays as it is.
    if (!Options.TrayIcon || !IsMinimized() || !IsVisible() || InTray()) return;
    // Without a notification area (Explorer not running) the window keeps
    // its taskbar button, the one way back to it.
    if (!trayIcon_.Add(hwnd(), kTrayIconId, kTrayIconMessage,
                       platform::LoadIconResource(IDI_TOVIK, GetSystemMetrics(SM_CXSMICON)),
                       platform::LoadText(IDS_TRAY_TIP)))
        return;
    Hide();
}

void frmMain::ComeBackFromTray() {
    if (!InTray()) return;
    trayIcon_.Remove();
    // As it was before it was minimised, normal or maximised, and in front:
    // the user has just clicked its icon.
    Show(SW_RESTORE);
    SetForegroundWindow(hwnd());
}

void frmMain::Taskbar_Created() {
    // Explorer started again and has forgotten the icon. Were there no way
    // to show it, the window would be out of reach: it goes back to the taskbar.
    if (InTray() && !trayIcon_.AddAgain()) Show(SW_SHOWMINNOACTIVE);
}

platform::PopupMenu frmMain::TrayMenu() const {
    // The items as the user knows them from the window, without their shortcuts.
    const HMENU mainMenu = GetMenu(hwnd());
    platform::PopupMenu menu(CreatePopupMenu());
    if (menu)
        for (const int command : {ID_mnuRectangle, ID_mnuWindow, ID_mnuDesktop, 0, ID_mnuExit})
            platform::AppendMenuItem(menu.get(), command,
                                     command ? platform::MenuItemCaption(mainMenu, command) : std::wstring());
    return menu;
}

void frmMain::TrayIcon_Click() {
    if (!trayMenuUp_) ComeBackFromTray();
}

void frmMain::TrayIcon_ContextMenu() {
    if (trayMenuUp_ || !InTray() || CaptureRunning()) return;   // one capture at a time
    // A dialog or a message box of the main window is waiting for the user:
    // no command may start under it. The window comes back to show it.
    if (!IsWindowEnabled(hwnd())) {
        ComeBackFromTray();
        return;
    }
    trayMenuUp_ = true;
    const auto down = platform::ScopeExit([this] { trayMenuUp_ = false; });
    const platform::PopupMenu menu = TrayMenu();
    if (!menu) return;
    const int command = platform::ChooseFromPopupMenu(hwnd(), menu.get(), platform::CursorPosition());
    // The menu took the front from the window the user worked in: the
    // active-window capture takes that one, not Tovik's hidden window, and it
    // gets the front back, as it would after a hotkey.
    if (command == ID_mnuWindow)
        if (const HWND front = platform::FrontWindowOfAnotherProgram()) {
            SetForegroundWindow(front);
            userWindow_ = front;
        }
    if (command) OnCommand(command, true);
    userWindow_ = nullptr;   // taken by the capture, if it started
}

}  // namespace app
