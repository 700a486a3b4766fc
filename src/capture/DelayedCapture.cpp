#include "capture/DelayedCapture.h"

#include "capture/CaptureCommands.h"
#include "capture/CaptureRegion.h"
#include "capture/CaptureWindow.h"
#include "capture/DelayTimer.h"
#include "capture/frmDesktop.h"
#include "platform/portable/ScopeExit.h"
#include "platform/system/Compositor.h"
#include "platform/system/Screen.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Window.h"
#include "resources/resource.h"

#include <memory>
#include <optional>

namespace capture {

namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr DWORD kShowTimeout = 500;   // ms; beyond it the screen is read as it is

static_assert(delay::kTimerMinimum == USER_TIMER_MINIMUM && delay::kTimerMaximum == USER_TIMER_MAXIMUM);

// The wait: a hidden message-only window whose Timer1 takes the capture.
class DelayWindow : public platform::Window {
public:
    explicit DelayWindow(Host& host) : host_(host), timer1_(kTimer1) {}
    ~DelayWindow() override {
        timer1_.Stop();
        Destroy();
    }

    // Creates the window; 0, or the reason it could not be made.
    DWORD Form_Load() {
        if (CreateWindowOf({TOVIK_CLASS_DELAY}, 0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE)) return 0;
        const DWORD error = GetLastError();
        return error ? error : ERROR_NOT_ENOUGH_MEMORY;
    }

    // Timer1: one interval at a time, stopped when the window is made.
    bool Timer1_Start(UINT interval) { return timer1_.Start(hwnd(), interval); }
    // Takes the delayed capture of kind DelayKind and brings the main window back.
    void Timer1_Timer();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_TIMER && wParam == timer1_.Id()) {
            Timer1_Timer();
            return 0;
        }
        return DefaultHandling(message, wParam, lParam);
    }

private:
    Host& host_;
    platform::WindowTimer timer1_;
};

// Made at the first delayed capture and kept for the run; the main window
// that owns the captures discards it when it goes.
std::unique_ptr<DelayWindow> delayWindow;

// The capture with the pointer drawn in: `area` (screen pixels) read from
// the screen frozen under the overlay, with the arrow picture at the pointer.
void CaptureWithPointer(Host& host, const RECT& area) {
    DWORD error = 0;
    frmDesktop* loaded = Desktop(host, &error);
    if (!loaded) {   // no frozen screen to draw the arrow on: no capture, and the user is told why
        platform::ShowSystemError(nullptr, error);
        return;
    }
    frmDesktop& overlay = *loaded;
    // Run whatever the capture does: the overlay is hidden, the system
    // pointer shown again, the overlay unloaded and the main window returns.
    // Nothing of the overlay serves a later capture (each takes its own
    // snapshot), while a loaded one would hold a picture of the whole screen
    // (under Wine two) and go stale at the next display change.
    std::optional<platform::HiddenCursor> hidden;
    const auto end = platform::ScopeExit([&] {
        overlay.Hide();
        hidden.reset();
        UnloadDesktop();
        host.ShowMain();
    });
    overlay.imgArrow.SetVisible(true);
    POINT pointer = platform::CursorPosition();
    if (const DWORD unread = overlay.TakeSnapshot()) {   // no frozen screen: the old picture stays
        platform::ShowSystemError(host.Image().Owner(), unread);
        return;
    }
    // Placed before the overlay appears, so the arrow is never seen anywhere
    // else. 3 and 5 pixels rather than the picture's hot spot (2, 4): the
    // drawn tip lies one pixel left of and above the true pointer position.
    pointer = platform::ScreenToClientPoint(overlay.hwnd(), pointer);
    overlay.imgArrow.Move(pointer.x - 3, pointer.y - 5);
    // Shown without taking the activation: the frozen picture covers the
    // screen and the captured window keeps its look.
    overlay.ShowFullScreen(false);
    hidden.emplace();
    overlay.PresentNow();
    platform::WaitForCompositor();
    // A window that has just appeared may reach the screen a moment after
    // its paint (under Wine the display maps it asynchronously); the screen
    // read must wait for the arrow, or the picture would lack it.
    overlay.WaitUntilOnScreen(overlay.imgArrow.Bounds(), kShowTimeout);
    CaptureRegion(host.Image(), platform::DesktopWindow(), area, overlay.hwnd());
}

void DelayWindow::Timer1_Timer() {
    // Stopped first: a failure message shown during the capture runs a
    // message loop in which the timer would fire again.
    timer1_.Stop();
    const auto back = platform::ScopeExit([this] {
        host_.Shared().DelayPending = 0;
        host_.ShowMain();
    });
    const SharedState& shared = host_.Shared();
    if (shared.DelayKind != kDelayDesktop && shared.DelayKind != kDelayActive) return;
    platform::WaitForCompositor();
    const HWND window = shared.DelayKind == kDelayDesktop ? platform::DesktopWindow() : platform::ForegroundWindow();
    if (shared.MouseCapt & shared.DelayPending)
        CaptureWithPointer(host_, CaptureArea(window));
    else
        CaptureWindow(host_, window);
}

// Starts the wait: Timer1 fires after interval milliseconds and takes the
// capture. Without a timer, the main window returns at once.
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

}  // namespace

void StartDelayedCapture(Host& host, std::int16_t kind, std::int32_t delayTime, ChosenFrom from) {
    SharedState& shared = host.Shared();
    shared.DelayKind = kind;
    shared.DelayPending = 1;
    host.HideMain();
    platform::DoEvents();
    // The delay counts from the command; only a delay shorter than the fade ends later.
    const DWORD waited = LetMenuFadeOut(from);
    WaitForDelayedCapture(host, delay::TimerInterval(static_cast<long long>(delayTime) - waited));
}

void DiscardDelayedCapture() { delayWindow.reset(); }

}  // namespace capture
