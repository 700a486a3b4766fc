// The routine every capture ends in.
#pragma once
#include "platform/Win32.h"

// Copies the region (pixels of the window's whole-window device context,
// half-open) into the image buffer Picture2, the view Picture1 and a bitmap
// that goes to the clipboard with the window as its owner. The buffer takes
// the size (w + 4) x (h + 4) first, whatever follows. The failure message
// belongs to messageOwner, or to the main window when none is given.
void CaptureRegion(HWND window, const RECT& region, HWND messageOwner = nullptr);
