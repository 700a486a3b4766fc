#include "capture/DelayWindow.h"

#include "capture/CaptureWindow.h"
#include "capture/DelayTimer.h"
#include "platform/system/Compositor.h"
#include "platform/system/Screen.h"
#include "platform/ui/Messages.h"
#include "resources/resource.h"

#include <memory>

namespace capture {

namespace {

constexpr UINT_PTR kTimer1 = 1;

static_assert(delay::kTimerMinimum == USER_TIMER_MINIMUM && delay::kTimerMaximum == USER_TIMER_MAXIMUM);

// Made at the first delayed capture and kept for the run; the main window
// that owns the captures discards it when it goes.
std::unique_ptr<DelayWindow> delayWindow;

}  // namespace

DelayWindow::DelayWindow(Host& host) : host_(host), timer1_(kTimer1) {}

DelayWindow::~DelayWindow() {
    timer1_.Stop();
    Destroy();
}

DWORD DelayWindow::Form_Load() {
    if (CreateWindowOf({TOVIK_CLASS_DELAY}, 0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE)) return 0;
    const DWORD error = GetLastError();
    return error ? error : ERROR_NOT_ENOUGH_MEMORY;
}

bool DelayWindow::Timer1_Start(UINT interval) { return timer1_.Start(hwnd(), interval); }

void DelayWindow::Timer1_Timer() {
    // Stopped first: a failure message shown during the capture runs a
    // message loop in which the timer would fire again.
    Timer1_Stop();
    struct Return {
        Host& host;
        ~Return() {
            host.Shared().DelayPending = 0;
            host.ShowMain();
        }
    } back{host_};
    const std::int16_t kind = host_.Shared().DelayKind;
    platform::WaitForCompositor();
    if (kind == kDelayDesktop)
        CaptureWindow(host_, platform::DesktopWindow());
    else if (kind == kDelayActive)
        CaptureWindow(host_, platform::ForegroundWindow());
}

LRESULT DelayWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == timer1_.Id()) {
        Timer1_Timer();
        return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

void WaitForDelayedCapture(Host& host, UINT interval) {
    DWORD error = 0;
    if (!delayWindow || !delayWindow->exists()) {
        auto window = std::make_unique<DelayWindow>(host);
        error = window->Form_Load();
        if (!error) delayWindow = std::move(window);
    }
    if (delayWindow && delayWindow->Timer1_Start(interval)) return;
    if (!error) error = GetLastError();
    // Without a running timer nothing would ever bring the main window back:
    // it returns at once, and the user is told why there is no capture.
    host.Shared().DelayPending = 0;
    host.ShowMain();
    platform::ShowSystemError(host.Image().Owner(), error ? error : ERROR_NOT_ENOUGH_MEMORY);
}

bool DelayedCaptureWaiting() { return delayWindow && delayWindow->Timer1_Enabled(); }

void DiscardDelayedCapture() { delayWindow.reset(); }

}  // namespace capture
