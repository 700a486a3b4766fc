// Captures the whole rectangle of one window into the image.
#pragma once
#include "capture/CaptureHost.h"
#include "platform/owners/Failure.h"

namespace capture {

// The window as the screen shows it, over its visible frame and within the
// screen (the direct path); or, for a delayed capture while the
// mouse-pointer option is on, the same rectangle read from the screen frozen
// under the overlay with the arrow picture drawn at the pointer (the pointer
// path, which leaves the main window hidden for the delayed capture to bring
// back). A window that is gone, or none, or off the screen, stands for the
// desktop. S_OK, or why there is no capture (CaptureRegion's failures, an
// overlay that could not be made or a screen that could not be frozen).
[[nodiscard]] HRESULT CaptureWindow(Host& host, HWND window);

}  // namespace capture
