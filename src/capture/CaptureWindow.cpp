#include "capture/CaptureWindow.h"

#include "capture/CaptureRegion.h"
#include "capture/frmDesktop.h"
#include "platform/Messages.h"
#include "platform/Screen.h"

#include <optional>

namespace {

constexpr DWORD kShowTimeout = 500;   // ms; beyond it the screen is read as it is

// The end of the pointer path, run whatever the capture did: the overlay
// is hidden (it stays loaded), the system pointer shown again (by the
// HiddenCursor it outlives) and the main window returns.
class EndOfPointerPath {
public:
    EndOfPointerPath(capture::Host& host, frmDesktop& overlay) : host_(host), overlay_(overlay) {}
    ~EndOfPointerPath() {
        overlay_.Hide();
        hidden_.reset();
        overlay_.imgArrow.SetVisible(false);
        host_.ShowMain();
    }
    EndOfPointerPath(const EndOfPointerPath&) = delete;
    EndOfPointerPath& operator=(const EndOfPointerPath&) = delete;
    void HideCursor() { hidden_.emplace(); }

private:
    capture::Host& host_;
    frmDesktop& overlay_;
    std::optional<platform::HiddenCursor> hidden_;
};

}  // namespace

void CaptureWindow(capture::Host& host, HWND window) {
    // The foreground window may have closed during a delay, or there may be
    // none; the desktop stands in, so the capture still yields a picture.
    // The desktop is the virtual screen, every monitor in one picture.
    std::optional<RECT> live = platform::LiveWindowRectangle(window);
    const bool desktop = !live || window == platform::DesktopWindow();
    if (desktop) {
        window = platform::DesktopWindow();
        live = platform::DesktopRectangle();
    }
    const RECT rect = *live;

    const capture::SharedState& shared = host.Shared();
    if ((shared.MouseCapt & shared.DelayPending) == 0) {
        // A window's own device context starts at its corner; the desktop's
        // is the screen's, in screen pixels, so the virtual screen is read
        // from its own corner (left of or above (0, 0) when a monitor lies there).
        CaptureRegion(host.Image(), window,
                      desktop ? rect : RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top});
        return;
    }

    DWORD error = 0;
    frmDesktop* loaded = Desktop(host, &error);
    if (!loaded) {   // no frozen screen to draw the arrow on: no capture, and the user is told why
        platform::ShowSystemError(nullptr, error);
        return;
    }
    frmDesktop& overlay = *loaded;
    overlay.imgArrow.SetVisible(true);
    POINT pointer = platform::CursorPosition();
    overlay.TakeSnapshot();
    EndOfPointerPath end(host, overlay);
    // Placed before the overlay appears, so the arrow is never seen anywhere
    // else. 3 and 5 pixels rather than the picture's hot spot (2, 4): the
    // drawn tip lies one pixel left of and above the true pointer position.
    pointer = platform::ScreenToClientPoint(overlay.hwnd(), pointer);
    overlay.imgArrow.Move(pointer.x - 3, pointer.y - 5);
    // Shown without taking the activation: the frozen picture covers the
    // screen and the captured window keeps its look.
    overlay.ShowFullScreen(false);
    end.HideCursor();
    overlay.PresentNow();
    // A window that has just appeared may reach the screen a moment after
    // its paint (under Wine the display maps it asynchronously); the screen
    // read must wait for the arrow, or the picture would lack it.
    overlay.WaitUntilOnScreen(overlay.imgArrow.Bounds(), kShowTimeout);
    CaptureRegion(host.Image(), platform::DesktopWindow(), rect, overlay.hwnd());
}
