#include "capture/CaptureWindow.h"

#include "capture/CaptureRegion.h"
#include "capture/frmDesktop.h"
#include "platform/system/Compositor.h"
#include "platform/system/Screen.h"

#include <optional>

namespace capture {

namespace {

constexpr DWORD kShowTimeout = 500;   // ms; beyond it the screen is read as it is

// The end of the pointer path, run whatever the capture did: the overlay
// is hidden, the system pointer shown again (by the HiddenCursor it
// outlives) and the overlay unloaded, so that a failure is told with the
// screen as the user left it; the delayed capture brings the main window
// back after that. Nothing of the overlay serves a later capture (each takes
// its own snapshot), while a loaded one would hold a picture of the whole
// screen (under Wine two) and go stale at the next display change.
class EndOfPointerPath {
public:
    explicit EndOfPointerPath(frmDesktop& overlay) : overlay_(overlay) {}
    ~EndOfPointerPath() {
        overlay_.Hide();
        hidden_.reset();
        UnloadDesktop();
    }
    EndOfPointerPath(const EndOfPointerPath&) = delete;
    EndOfPointerPath& operator=(const EndOfPointerPath&) = delete;
    void HideCursor() { hidden_.emplace(); }

private:
    frmDesktop& overlay_;
    std::optional<platform::HiddenCursor> hidden_;
};

}  // namespace

HRESULT CaptureWindow(Host& host, HWND window) {
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
    if ((shared.MouseCapt & shared.DelayPending) == 0)
        return CaptureRegion(host.Image(), platform::DesktopWindow(), rect);

    HRESULT failure = S_OK;
    frmDesktop* loaded = Desktop(host, &failure);
    if (!loaded) return failure;   // no frozen screen to draw the arrow on: no capture
    frmDesktop& overlay = *loaded;
    EndOfPointerPath end(overlay);
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
    end.HideCursor();
    overlay.PresentNow();
    platform::WaitForCompositor();
    // A window that has just appeared may reach the screen a moment after
    // its paint (under Wine the display maps it asynchronously); the screen
    // read must wait for the arrow, or the picture would lack it.
    overlay.WaitUntilOnScreen(overlay.imgArrow.Bounds(), kShowTimeout);
    return CaptureRegion(host.Image(), platform::DesktopWindow(), rect);
}

}  // namespace capture
