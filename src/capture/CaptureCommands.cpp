#include "capture/CaptureCommands.h"

#include "capture/CaptureWindow.h"
#include "capture/DelayTimer.h"
#include "capture/frmDesktop.h"
#include "platform/Compositor.h"
#include "platform/Messages.h"
#include "platform/Screen.h"

namespace capture {
namespace {

constexpr DWORD kSettlePause = 500;   // lets other programs repaint what the main window covered

static_assert(delay::kTimerMinimum == USER_TIMER_MINIMUM && delay::kTimerMaximum == USER_TIMER_MAXIMUM);

// Starts the overlay's timer: 0, or the reason there is no overlay or no
// timer to run it.
DWORD StartTimer(Host& host, UINT interval) {
    DWORD error = 0;
    frmDesktop* overlay = Desktop(host, &error);
    if (overlay && overlay->Timer1_Start(interval)) return 0;
    if (overlay) error = GetLastError();
    return error ? error : ERROR_NOT_ENOUGH_MEMORY;
}

// Without a running timer nothing would ever bring the main window back:
// it returns at once, and the user is told why there is no capture.
void GiveUpDelayedCapture(Host& host, DWORD error) {
    host.Shared().DelayPending = 0;
    host.ShowMain();
    platform::ShowSystemError(host.Image().Owner(), error);
}

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

void StartDelayedCapture(Host& host, std::int16_t kind) {
    SharedState& shared = host.Shared();
    shared.DelayKind = kind;
    shared.DelayPending = 1;
    host.HideMain();
    platform::DoEvents();
    if (const DWORD error = StartTimer(host, delay::TimerInterval(shared.DelayTime)))
        GiveUpDelayedCapture(host, error);
}

void ResumeDelayedCapture(Host& host, UINT remaining) {
    if (const DWORD error = StartTimer(host, delay::TimerInterval(remaining))) GiveUpDelayedCapture(host, error);
}

}  // namespace capture

void frmDesktop::Timer1_Timer() {
    // Stopped first: a failure message shown during the capture runs a
    // message loop in which the timer would fire again.
    Timer1_Stop();
    capture::Host& host = Host();
    struct Return {
        capture::Host& host;
        ~Return() {
            host.Shared().DelayPending = 0;
            host.ShowMain();
        }
    } back{host};
    const std::int16_t kind = host.Shared().DelayKind;
    platform::WaitForCompositor();
    if (kind == capture::kDelayDesktop)
        CaptureWindow(host, platform::DesktopWindow());
    else if (kind == capture::kDelayActive)
        CaptureWindow(host, platform::ForegroundWindow());
}
