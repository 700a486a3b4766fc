#include "capture/CaptureCommands.h"

#include "capture/CaptureWindow.h"
#include "capture/DelayTimer.h"
#include "capture/DelayWindow.h"
#include "capture/frmDesktop.h"
#include "platform/Compositor.h"
#include "platform/Messages.h"
#include "platform/Screen.h"

namespace capture {
namespace {

constexpr DWORD kSettlePause = 500;   // lets other programs repaint what the main window covered

}  // namespace

void CaptureDesktopNow(Host& host) {
    host.HideMain();
    platform::DoEvents();
    platform::WaitForCompositor();   // the frame without the main window is on the screen
    CaptureWindow(host, platform::DesktopWindow());
    host.ShowMain();
}

void CaptureActiveWindowNow(Host& host) {
    host.HideMain();
    platform::Pause(kSettlePause);
    platform::WaitForCompositor();
    CaptureWindow(host, platform::ForegroundWindow());
    host.ShowMain();
}

void StartRectangleSelection(Host& host) {
    host.HideMain();
    platform::Pause(kSettlePause);
    DWORD error = 0;
    frmDesktop* overlay = Desktop(host, &error);
    if (!overlay) {   // no overlay, no way back: stay with the main window
        host.ShowMain();
        platform::ShowSystemError(host.Image().Owner(), error);
        return;
    }
    platform::WaitForCompositor();
    overlay->TakeSnapshot();
    overlay->SetMousePointer(platform::SystemCursor(IDC_CROSS));
    overlay->ShowFullScreen(true);
    // The selection, the capture and the main window's return happen in the overlay's mouse handlers.
}

void StartDelayedCapture(Host& host, std::int16_t kind, std::int32_t delayTime) {
    SharedState& shared = host.Shared();
    shared.DelayKind = kind;
    shared.DelayPending = 1;
    host.HideMain();
    platform::DoEvents();
    WaitForDelayedCapture(host, delay::TimerInterval(delayTime));
}

}  // namespace capture
