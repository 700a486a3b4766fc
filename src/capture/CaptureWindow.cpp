#include "capture/CaptureWindow.h"

#include "capture/CaptureRegion.h"
#include "platform/system/Compositor.h"
#include "platform/system/Screen.h"

#include <optional>

namespace capture {

RECT CaptureArea(HWND window) {
    // What the user sees of the window, read from the screen: on a composited
    // desktop a window drawn by the graphics hardware has nothing in its own
    // device context. Its visible frame leaves out the invisible resize
    // borders, and only the part on the screen is read. The foreground window
    // may have closed during a delay, or there may be none, or none of it may
    // be on the screen; the desktop stands in, so the capture still yields a
    // picture.
    const RECT screen = platform::DesktopRectangle();
    const std::optional<RECT> frame = platform::VisibleFrame(window);
    RECT area{};
    if (!frame || !IntersectRect(&area, &*frame, &screen)) area = screen;
    return area;
}

HRESULT CaptureWindow(Host& host, HWND window) {
    return CaptureRegion(host.Image(), platform::DesktopWindow(), CaptureArea(window));
}

}  // namespace capture
