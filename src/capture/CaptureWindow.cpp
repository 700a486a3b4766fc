#include "capture/CaptureWindow.h"

#include "capture/CaptureRegion.h"
#include "capture/frmDesktop.h"
#include "platform/system/Compositor.h"
#include "platform/system/Screen.h"
#include "platform/ui/Messages.h"

#include <optional>

namespace capture {

namespace {

constexpr DWORD kShowTimeout = 500;   // ms; beyond it the screen is read as it is

// The end of the pointer path, run whatever the capture did: the overlay
// is hidden, the system pointer shown again (by the HiddenCursor it
// outlives), the overlay unloaded and the main window returns. Nothing of
// the overlay serves a later capture (each takes its own snapshot), while a
// loaded one would hold a picture of the whole screen (under Wine two) and
// go stale at the next display change.
class EndOfPointerPath {
public:
    EndOfPointerPath(Host& host, frmDesktop& overlay) : host_(host), overlay_(overlay) {}
    ~EndOfPointerPath() {
        overlay_.Hide();
        hidden_.reset();
        UnloadDesktop();
        host_.ShowMain();
    }
    EndOfPointerPath(const EndOfPointerPath&) = delete;
    EndOfPointerPath& operator=(const EndOfPointerPath&) = delete;
    void HideCursor() { hidden_.emplace(); }

private:
    Host& host_;
    frmDesktop& overlay_;
    std::optional<platform::HiddenCursor> hidden_;
};

}  // namespace

void CaptureWindow(Host& host, HWND window) {
    // What the user sees of the window, read from the screen: on a composited
    // desktop a window drawn by the graphics hardware has nothing in its own
    // device context. Its visible frame leaves out the invisible resize
    // borders, and only the part on the screen is read. The foreground window
    // may have closed during a delay, or there may be none, or none of it may
    // be on the screen; the desktop stands in, so the capture still yields a
    // picture.
    const RECT screen = platform::DesktopRectangle();
    const std::optional<RECT> frame = platform::VisibleFrame(window);
    RECT rect{};
    if (!frame || !IntersectRect(&rect, &*frame, &screen)) rect = screen;

    const SharedState& shared = host.Shared();
    if ((shared.MouseCapt & shared.DelayPending) == 0) {
        CaptureRegion(host.Image(), platform::DesktopWindow(), rect);
        return;
    }

    DWORD error = 0;
    frmDesktop* loaded = Desktop(host, &error);
    if (!loaded) {   // no frozen screen to draw the arrow on: no capture, and the user is told why
        platform::ShowSystemError(nullptr, error);
        return;
    }
    frmDesktop& overlay = *loaded;
    EndOfPointerPath end(host, overlay);
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
    end.HideCursor();
    overlay.PresentNow();
    platform::WaitForCompositor();
    // A window that has just appeared may reach the screen a moment after
    // its paint (under Wine the display maps it asynchronously); the screen
    // read must wait for the arrow, or the picture would lack it.
    overlay.WaitUntilOnScreen(overlay.imgArrow.Bounds(), kShowTimeout);
    CaptureRegion(host.Image(), platform::DesktopWindow(), rect, overlay.hwnd());
}

}  // namespace capture
