#include "capture/CaptureRegion.h"

#include "platform/Clipboard.h"
#include "platform/Gdi.h"
#include "platform/Messages.h"
#include "resources/resource.h"

#include <algorithm>
#include <climits>

namespace capture {

void CaptureRegion(model::ImageModel& image, HDC source, const RECT& region, HWND messageOwner) {
    const HWND owner = messageOwner ? messageOwner : image.Owner();
    platform::MemoryDC memory = platform::CompatibleDC(source);
    // In 64 bits: no region of a screen comes near the limit, but the
    // buffer's border must never wrap a size around.
    const long long width = std::max<long long>(0, static_cast<long long>(region.right) - region.left);
    const long long height = std::max<long long>(0, static_cast<long long>(region.bottom) - region.top);
    const bool fits = width <= INT_MAX - 4 && height <= INT_MAX - 4;
    const int w = fits ? static_cast<int>(width) : 0;
    const int h = fits ? static_cast<int>(height) : 0;

    // Everything the capture needs is had before anything changes, so a
    // failure leaves the old picture whole rather than a gray one.
    platform::Bitmap bitmap;
    if (fits) bitmap = platform::CreateCompatibleBitmapFor(source, w, h);
    if (!bitmap) {
        platform::ShowError(owner, platform::LoadText(IDS_CLIPBOARD_FAILED));
        return;
    }
    // The screen is read once, into the bitmap alone; the view and the
    // buffer are copied from it, so the clipboard, the view and what is
    // saved or printed are always the same picture, and a full-screen
    // capture pays for one screen read instead of three. A screen that
    // cannot be read (a locked session, the secure desktop, a minimised
    // remote session) changes nothing: no black picture replaces the old one.
    platform::PictureBox& view = image.View();
    platform::PictureBox& buffer = image.Buffer();
    {
        platform::SelectedObject select(memory.get(), bitmap.get());
        if (w > 0 && h > 0) {
            const DWORD unread = platform::CopyScreenPixels(memory.get(), 0, 0, w, h, source, region.left, region.top);
            if (unread) {
                platform::ShowSystemError(owner, unread);
                return;
            }
        }
        if (!buffer.SetOuterSize(w + 4, h + 4)) {
            platform::ShowSystemError(owner, ERROR_NOT_ENOUGH_MEMORY);
            return;
        }
        view.Cls();
        buffer.Cls();
        platform::CopyPixels(view.hDC(), 0, 0, w, h, memory.get(), 0, 0);
        platform::CopyPixels(buffer.hDC(), 0, 0, w, h, memory.get(), 0, 0);
    }
    view.Refresh();

    // The clipboard is opened in Tovik's own name, so its notifications come
    // here, not to a captured program. One that another program holds open
    // past a short wait is left as it is; the bitmap it did not take is
    // deleted with its wrapper.
    platform::Clipboard clipboard(image.Owner());
    clipboard.Empty();
    clipboard.SetBitmap(bitmap);
}

void CaptureRegion(model::ImageModel& image, HWND window, const RECT& region, HWND messageOwner) {
    const platform::WindowDC source(window);
    CaptureRegion(image, source.get(), region, messageOwner);
}

}  // namespace capture
