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

    // Creates the window; S_OK, or the reason it could not be made.
    [[nodiscard]] HRESULT Form_Load() {
        RETURN_IF_WIN32_BOOL_FALSE(CreateWindowOf({TOVIK_CLASS_DELAY}, 0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE));
        return S_OK;
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
// S_OK, or why there is no capture (no overlay, no frozen screen, or
// CaptureRegion's failures), returned once the overlay is gone so that it
// is told with the screen as the user left it.
HRESULT CaptureWithPointer(Host& host, const RECT& area) {
    HRESULT failure = S_OK;
    frmDesktop* loaded = Desktop(host, &failure);
    if (!loaded) return failure;   // no frozen screen to draw the arrow on: no capture
    frmDesktop& overlay = *loaded;
    // Run whatever the capture does: the overlay is hidden, the system
    // pointer shown again and the overlay unloaded; the timer's handler
    // brings the main window back. Nothing of the overlay serves a later
    // capture (each takes its own snapshot), while a loaded one would hold a
    // picture of the whole screen (under Wine two) and go stale at the next
    // display change.
    std::optional<platform::HiddenCursor> hidden;
    const auto end = platform::ScopeExit([&] {
        overlay.Hide();
        hidden.reset();
        UnloadDesktop();
    });
    overlay.imgArrow.SetVisible(true);
    POINT pointer = platform::CursorPosition();
    RETURN_IF_FAILED(overlay.TakeSnapshot());   // no frozen screen: the old picture stays
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
    return CaptureRegion(host.Image(), platform::DesktopWindow(), area);
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
    const HRESULT captured = (shared.MouseCapt & shared.DelayPending) ? CaptureWithPointer(host_, CaptureArea(window))
                                                                      : CaptureWindow(host_, window);
    // Told while the main window is still hidden, as after an immediate capture.
    platform::ShowFailure(host_.Image().Owner(), captured);
}

// Starts the wait: Timer1 fires after interval milliseconds and takes the
// capture. Without a timer, the main window returns at once and the
// failure says why.
[[nodiscard]] HRESULT WaitForDelayedCapture(Host& host, UINT interval) {
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

}  // namespace

void StartDelayedCapture(Host& host, std::int16_t kind, std::int32_t delayTime, ChosenFrom from) {
    SharedState& shared = host.Shared();
    shared.DelayKind = kind;
    shared.DelayPending = 1;
    host.HideMain();
    platform::DoEvents();
    // The delay counts from the command; only a delay shorter than the fade ends later.
    const DWORD waited = LetMenuFadeOut(from);
    // A wait that cannot start has brought the main window back already;
    // the user is told why there is no capture.
    const UINT interval = delay::TimerInterval(static_cast<long long>(delayTime) - waited);
    platform::ShowFailure(host.Image().Owner(), WaitForDelayedCapture(host, interval));
}

void DiscardDelayedCapture() { delayWindow.reset(); }

}  // namespace capture
