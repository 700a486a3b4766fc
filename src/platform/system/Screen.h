// The screen: its size, its resolution in twips, the pointer and the
// foreground window.
#pragma once
#include "platform/owners/Win32.h"

#include <optional>

namespace platform {

HWND DesktopWindow();
// The virtual screen: the rectangle around every monitor, in screen pixels
// (whose origin is the primary monitor's top-left corner), so its left and
// top are negative when a monitor lies left of or above the primary.
RECT DesktopRectangle();
// Makes DesktopRectangle() report `screen` (nullptr: the system's again), so
// a test can pretend a screen too large for the memory there is.
void PretendVirtualScreenForTesting(const RECT* screen);
int ScreenDpiX();                // logical pixels per inch of the screen
int ScreenDpiY();
// The resolution of the monitor the window is on (the screen's where the
// system cannot tell one monitor from another).
int WindowDpi(HWND window);
POINT CursorPosition();          // screen pixels
HWND ForegroundWindow();
// True for a window of this program (none is not).
bool IsOwnWindow(HWND window);
// The window's rectangle, or nothing when there is no such window (any more).
std::optional<RECT> LiveWindowRectangle(HWND window);
// One of the system's own pointer shapes (IDC_CROSS, IDC_ARROW); shared, never destroyed.
HCURSOR SystemCursor(const wchar_t* id);
// A screen position in the window's client coordinates.
POINT ScreenToClientPoint(HWND window, POINT screen);
void Pause(DWORD milliseconds);      // blocks the thread; no events run

// Hides the system pointer for as long as it lives; the show count is
// always given back.
class HiddenCursor {
public:
    HiddenCursor() { ShowCursor(FALSE); }
    ~HiddenCursor() { ShowCursor(TRUE); }
    HiddenCursor(const HiddenCursor&) = delete;
    HiddenCursor& operator=(const HiddenCursor&) = delete;
};

// The hourglass while a picture file is read or written; the pointer as it
// was afterwards, on every path.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_ ? previous_ : LoadCursorW(nullptr, IDC_ARROW)); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
private:
    HCURSOR previous_;
};

// True when the rectangle lies at least partly on some monitor.
bool IsOnAnyMonitor(const RECT& outer);
// The primary monitor's work area, screen pixels.
RECT PrimaryWorkArea();
// The work area of the monitor that holds most of the rectangle (the
// nearest one when none does), screen pixels.
RECT NearestWorkArea(const RECT& outer);
// The monitor a point is on (the nearest one when none is): its rectangle,
// screen pixels, and its resolution.
struct MonitorArea {
    RECT bounds{};
    int dpi = 96;
};
MonitorArea MonitorAt(POINT screen);

}  // namespace platform
