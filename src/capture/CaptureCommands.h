// The five capture commands. Each hides the main window, lets the screen
// settle, captures and shows the main window again; the rectangle and the
// delayed captures finish later, in the overlay's handlers. Chosen from a
// menu, each first lets the clicked item fade out. A main window that is
// not on the screen covers nothing: the screen needs no time to settle.
// From a hotkey, the active-window capture takes the window the key was
// pressed in. These are the bodies of the main window's capture handlers:
// each tells the user why a capture failed, before the main window returns
// as it would after any capture.
#pragma once
#include "capture/CaptureHost.h"

namespace capture {

void CaptureDesktopNow(Host& host, ChosenFrom from);
void CaptureActiveWindowNow(Host& host, ChosenFrom from);
// Shows the frozen screen for the user to drag a rectangle on.
void StartRectangleSelection(Host& host, ChosenFrom from);
// kind: kDelayActive or kDelayDesktop. The capture is taken delayTime
// milliseconds later, by the overlay's timer.
void StartDelayedCapture(Host& host, std::int16_t kind, std::int32_t delayTime, ChosenFrom from);

}  // namespace capture
