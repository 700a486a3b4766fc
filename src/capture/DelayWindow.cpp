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

HRESULT DelayWindow::Form_Load() {
    RETURN_IF_WIN32_BOOL_FALSE(CreateWindowOf({TOVIK_CLASS_DELAY}, 0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE));
    return S_OK;
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
    HRESULT captured = S_OK;
    if (kind == kDelayDesktop)
        captured = CaptureWindow(host_, platform::DesktopWindow());
    else if (kind == kDelayActive)
        captured = CaptureWindow(host_, platform::ForegroundWindow());
    // Told while the main window is still hidden, as after an immediate capture.
    platform::ShowFailure(host_.Image().Owner(), captured);
}

LRESULT DelayWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == timer1_.Id()) {
        Timer1_Timer();
        return 0;
    }
    return DefaultHandling(message, wParam, lParam);
}

HRESULT WaitForDelayedCapture(Host& host, UINT interval) {
    HRESULT failure = S_OK;
    if (!delayWindow || !delayWindow->exists()) {
        auto window = std::make_unique<DelayWindow>(host);
        failure = window->Form_Load();
        if (SUCCEEDED(failure)) delayWindow = std::move(window);
    }
    if (delayWindow && delayWindow->Timer1_Start(interval)) return S_OK;
    if (SUCCEEDED(failure)) failure = platform::LastFailure();
    // Without a running timer nothing would ever bring the main window back:
    // it returns at once.
    host.Shared().DelayPending = 0;
    host.ShowMain();
    return failure;
}

bool DelayedCaptureWaiting() { return delayWindow && delayWindow->Timer1_Enabled(); }

void DiscardDelayedCapture() { delayWindow.reset(); }

}  // namespace capture
