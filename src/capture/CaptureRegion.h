// The routine every capture ends in.
#pragma once
#include "model/ImageModel.h"
#include "platform/owners/Failure.h"

namespace capture {

// Copies the region (pixels of the source, half-open) into the image's
// buffer (which takes the size (w + 4) x (h + 4)), its view and a bitmap that
// goes to the clipboard, with the image's own window as the clipboard's
// owner. Nothing changes when the memory for the picture cannot be had or the
// source cannot be read: the failure says why, and the old picture and the
// clipboard stay as they were; without memory for the clipboard's copy the
// picture is taken, the clipboard keeps what it had and the failure says so
// (IDS_CLIPBOARD_FAILED, as for no memory for the picture). The screen is
// read with the layered windows on it (tooltips, menus, shadows), as the
// user sees it.
[[nodiscard]] HRESULT CaptureRegion(model::ImageModel& image, HDC source, const RECT& region);
// The same from the window's whole-window device context.
[[nodiscard]] HRESULT CaptureRegion(model::ImageModel& image, HWND window, const RECT& region);

}  // namespace capture
