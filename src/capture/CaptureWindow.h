// Captures the whole rectangle of one window into the image.
#pragma once
#include "capture/CaptureHost.h"

// The window's own pixels, frame included (the direct path); or, for a
// delayed capture while the mouse-pointer option is on, its rectangle read
// from the screen frozen under the overlay with the arrow picture drawn at
// the pointer (the pointer path). A window that is gone, or none, stands
// for the desktop.
void CaptureWindow(capture::Host& host, HWND window);
