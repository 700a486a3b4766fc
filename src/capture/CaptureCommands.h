// The immediate capture commands and the rectangle's start. Each hides the
// main window, lets the screen settle, captures and shows the main window
// again; the rectangle finishes later, in the overlay's handlers. Chosen from a
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
// The delayed captures start in DelayedCapture.h.

// With Windows' fade of menu items, the item just clicked stays on the
// screen, above every window, for a few hundred milliseconds after the
// command starts; a screen read would keep it. It is waited for, never
// longer than half a second, with events running: the fade may need this
// thread's messages to go on. Nothing is waited for a command not chosen
// from a menu. Returns the milliseconds waited.
DWORD LetMenuFadeOut(ChosenFrom from);

}  // namespace capture
