// The main window's commands that run the capture subsystem, and its own
// simple ones.
#include "app/frmMain.h"
#include "capture/CaptureCommands.h"

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

void frmMain::HideMain() {
    // Windows lets the program the user has just used bring a window to the
    // front; this keeps that right for the return after the capture, unless
    // the user turns to another program meanwhile.
    AllowSetForegroundWindow(GetCurrentProcessId());
    Hide();
}

void frmMain::ShowMain() {
    // Chosen from the icon's menu in the notification area, the capture
    // leaves the window there: the picture and the clipboard hold it.
    if (InTray()) return;
    Show();
    // Shown alone, a window of a program that is not in front only flashes
    // its task bar button.
    SetForegroundWindow(hwnd());
}

void frmMain::mnuClear_Click() {
    Picture1().Cls();
    Picture2().Cls();
    Picture1().Refresh();
}

}  // namespace app
