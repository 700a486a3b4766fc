// What the desktop compositor of current Windows adds to reading the screen:
// the part of a window the user sees, the main window's fade and the moment
// a frame is on the screen. Its library is looked up at run time, so the
// program still starts where it is missing; every function then falls back
// to what the screen alone tells.
#pragma once
#include "platform/owners/Win32.h"

#include <optional>

namespace platform {

// The window's visible frame in screen pixels: without the invisible resize
// borders where the compositor reports them, the window rectangle
// otherwise; for the desktop window, the virtual screen. Nothing when there
// is no such window (any more).
std::optional<RECT> VisibleFrame(HWND window);
// Shows and hides the window at once, without the fade that would still
// show it in a screen read made right after it was hidden.
void DisableTransitions(HWND window);
// Waits until the compositor has put the current frame on the screen (for a
// screen read after a window was hidden); returns at once without one.
void WaitForCompositor();
// True while a menu item that was clicked is still on the screen, fading
// out in a window of its own (Windows' "fade out menu items after
// clicking", on by default).
bool MenuFadeOnScreen();
// The window the user works in, of another program: the first from the
// front that is shown, not minimised, neither a tool window nor one the
// compositor keeps off the screen (another virtual desktop), and neither
// this program's nor the taskbar's. nullptr when there is none.
HWND FrontWindowOfAnotherProgram();

}  // namespace platform
