// Captures the whole rectangle of one window into the image.
#pragma once
#include "capture/CaptureHost.h"
#include "platform/owners/Failure.h"

namespace capture {

// What a capture of the window reads, screen pixels: its visible frame,
// within the screen. A window that is gone, or none, or off the screen,
// stands for the desktop.
RECT CaptureArea(HWND window);

// The window as the screen shows it, over CaptureArea. (A delayed capture
// with the pointer reads the same area from the frozen screen instead.) S_OK, or why there is
// no capture (CaptureRegion's failures).
[[nodiscard]] HRESULT CaptureWindow(Host& host, HWND window);

}  // namespace capture
