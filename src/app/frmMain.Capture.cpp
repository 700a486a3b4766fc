// The main window's commands that run the capture subsystem, and its own
// simple ones.
#include "app/frmMain.h"
#include "capture/CaptureCommands.h"

namespace app {

void frmMain::mnuDesktop_Click() { capture::CaptureDesktopNow(*this); }
void frmMain::mnuWindow_Click() { capture::CaptureActiveWindowNow(*this); }
void frmMain::mnuRectangle_Click() { capture::StartRectangleSelection(*this); }
void frmMain::mnuDelayActive_Click() { capture::StartDelayedCapture(*this, capture::kDelayActive, Options.DelayTime); }
void frmMain::mnuDelayDesktop_Click() { capture::StartDelayedCapture(*this, capture::kDelayDesktop, Options.DelayTime); }

void frmMain::mnuClear_Click() {
    Picture1().Cls();
    Picture2().Cls();
    Picture1().Refresh();
}

}  // namespace app
