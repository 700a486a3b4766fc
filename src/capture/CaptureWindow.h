// Captures the whole rectangle of one window into the image.
#pragma once
#include "capture/CaptureHost.h"

namespace capture {

// The window as the screen shows it, over its visible frame and within the
// screen (the direct path); or, for a delayed capture while the
// mouse-pointer option is on, the same rectangle read from the screen frozen
// under the overlay with the arrow picture drawn at the pointer (the pointer
// path). A window that is gone, or none, or off the screen, stands for the
// desktop.
void CaptureWindow(Host& host, HWND window);

}  // namespace capture
