// The five capture commands. Each hides the main window, lets the screen
// settle, captures and shows the main window again; the rectangle and the
// delayed captures finish later, in the overlay's handlers.
#pragma once
#include "capture/CaptureHost.h"

namespace capture {

void CaptureDesktopNow(Host& host);
void CaptureActiveWindowNow(Host& host);
// Shows the frozen screen for the user to drag a rectangle on.
void StartRectangleSelection(Host& host);
// kind: kDelayActive or kDelayDesktop. The capture is taken delayTime
// milliseconds later, by the overlay's timer.
void StartDelayedCapture(Host& host, std::int16_t kind, std::int32_t delayTime);

}  // namespace capture
