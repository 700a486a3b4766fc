#include "capture/CaptureRegion.h"

#include "platform/owners/Gdi.h"
#include "platform/system/Clipboard.h"
#include "resources/resource.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace capture {

HRESULT CaptureRegion(model::ImageModel& image, HDC source, const RECT& region) {
    platform::MemoryDC memory = platform::CompatibleDC(source);
    // In 64 bits: no region of a screen comes near the limit, but the
    // buffer's border must never wrap a size around.
    const long long width = std::max<long long>(0, static_cast<long long>(region.right) - region.left);
    const long long height = std::max<long long>(0, static_cast<long long>(region.bottom) - region.top);
    const bool fits = width <= INT_MAX - 4 && height <= INT_MAX - 4;
    const int w = fits ? static_cast<int>(width) : 0;
    const int h = fits ? static_cast<int>(height) : 0;

    // The capture is had before anything changes, so a failure leaves the
    // old picture whole rather than a gray one.
    platform::Bitmap picture;
    if (fits) picture = platform::CreateCompatibleBitmapFor(source, w, h);
    if (!picture) return platform::OwnFailure(IDS_CLIPBOARD_FAILED);
    {
        platform::SelectedObject select(memory.get(), picture.get());
        // The screen is read once; the view and the clipboard are copied
        // from the picture, so the clipboard, the view and what is saved or
        // printed are always the same picture. A screen that cannot be read
        // (a locked session, the secure desktop, a minimised remote session)
        // changes nothing: no black picture replaces the old one.
        if (w > 0 && h > 0)
            RETURN_IF_FAILED(platform::CopyScreenPixels(memory.get(), 0, 0, w, h, source, region.left, region.top));
    }
    // The buffer takes the capture's own bitmap and lets its old picture go
    // before the clipboard's copy is made: a capture of a huge screen holds
    // three pictures of it at the most, not four.
    platform::PictureBox& view = image.Picture1();
    platform::PictureBox& buffer = image.Picture2();
    if (!buffer.TakePicture(std::move(picture), w, h)) return platform::FailureOf(ERROR_NOT_ENOUGH_MEMORY);
    view.Cls();
    platform::CopyPixels(view.hDC(), 0, 0, w, h, buffer.hDC(), 0, 0);
    view.Refresh();

    // The clipboard gets a copy of its own, which it deletes when it is
    // emptied. Without memory for it the picture is taken but the clipboard
    // keeps what it had, and the user is told.
    platform::Bitmap copy = platform::CreateCompatibleBitmapFor(buffer.hDC(), w, h);
    if (!copy) return platform::OwnFailure(IDS_CLIPBOARD_FAILED);
    {
        platform::SelectedObject select(memory.get(), copy.get());
        platform::CopyPixels(memory.get(), 0, 0, w, h, buffer.hDC(), 0, 0);
    }
    // The clipboard is opened in Tovik's own name, so its notifications come
    // here, not to a captured program. One that another program holds open
    // past a short wait is left as it is; the bitmap it did not take is
    // deleted with its wrapper.
    platform::Clipboard clipboard(image.Owner());
    clipboard.Empty();
    clipboard.SetBitmap(copy);
    return S_OK;
}

HRESULT CaptureRegion(model::ImageModel& image, HWND window, const RECT& region) {
    const platform::WindowDC source(window);
    return CaptureRegion(image, source.get(), region);
}

}  // namespace capture
