// The five capture commands of the main window and the delayed capture's timer.
#include "app/Module2.h"
#include "app/frmMain.h"
#include "capture/CaptureWindow.h"
#include "capture/DelayTimer.h"
#include "capture/frmDesktop.h"
#include "platform/Screen.h"

namespace {

constexpr DWORD kSettlePause = 500;   // lets other programs repaint what the main window covered
constexpr std::int16_t kDelayActive = 1;
constexpr std::int16_t kDelayDesktop = 2;

static_assert(delay::kTimerMinimum == USER_TIMER_MINIMUM && delay::kTimerMaximum == USER_TIMER_MAXIMUM);

void StartDelayedCapture(frmMain& main, std::int16_t kind) {
    Module2& shared = Shared();
    shared.DelayKind = kind;
    shared.DelayPending = 1;
    main.Hide();
    platform::DoEvents();
    // Without a running timer nothing would ever bring the main window back.
    if (!Desktop().Timer1_Start(delay::TimerInterval(shared.DelayTime))) {
        shared.DelayPending = 0;
        main.Show();
    }
}

}  // namespace

void frmMain::mnuDesktop_Click() {
    Hide();
    platform::DoEvents();
    CaptureWindow(platform::DesktopWindow());
    Show();
}

void frmMain::mnuWindow_Click() {
    Hide();
    platform::Pause(kSettlePause);
    CaptureWindow(platform::ForegroundWindow());
    Show();
}

void frmMain::mnuRectangle_Click() {
    Hide();
    platform::Pause(kSettlePause);
    frmDesktop& overlay = Desktop();
    if (!overlay.exists()) {   // no overlay, no way back: stay with the main window
        Show();
        return;
    }
    overlay.TakeSnapshot();
    overlay.SetMousePointer(platform::SystemCursor(IDC_CROSS));
    overlay.ShowFullScreen(true);
    // The selection, the capture and the main window's return happen in the overlay's mouse handlers.
}

void frmMain::mnuDelayActive_Click() { StartDelayedCapture(*this, kDelayActive); }

void frmMain::mnuDelayDesktop_Click() { StartDelayedCapture(*this, kDelayDesktop); }

void frmDesktop::Timer1_Timer() {
    // Stopped first: a failure message shown during the capture runs a
    // message loop in which the timer would fire again.
    Timer1_Stop();
    Module2& shared = Shared();
    struct Return {
        Module2& shared;
        ~Return() {
            shared.DelayPending = 0;
            MainForm().Show();
        }
    } back{shared};
    if (shared.DelayKind == kDelayDesktop)
        CaptureWindow(platform::DesktopWindow());
    else if (shared.DelayKind == kDelayActive)
        CaptureWindow(platform::ForegroundWindow());
}
