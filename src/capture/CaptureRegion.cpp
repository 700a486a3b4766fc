#include "capture/CaptureRegion.h"

#include "app/frmMain.h"
#include "platform/Clipboard.h"
#include "platform/Gdi.h"
#include "platform/Messages.h"
#include "resources/resource.h"

void CaptureRegion(HWND window, const RECT& region, HWND messageOwner) {
    frmMain& main = MainForm();
    platform::WindowDC source(window);
    platform::MemoryDC memory(source.get());
    const int w = region.right - region.left;
    const int h = region.bottom - region.top;

    platform::PictureBox& picture1 = main.Picture1();
    platform::PictureBox& picture2 = main.Picture2();
    picture2.SetOuterSize(w + 4, h + 4);

    platform::Bitmap bitmap = platform::CreateCompatibleBitmapFor(source.get(), w, h);
    if (!bitmap) {
        platform::ShowMessage(messageOwner ? messageOwner : main.hwnd(),
                              platform::LoadText(IDS_CLIPBOARD_FAILED), L"Error");
        return;
    }
    picture1.Cls();
    picture2.Cls();
    {
        platform::Selection select(memory.get(), bitmap.get());
        // The screen is read once; the view and the buffer are copied from
        // that bitmap, so the clipboard, the view and what is saved or
        // printed are always the same picture, and a full-screen capture
        // pays for one screen read instead of three.
        platform::CopyPixels(memory.get(), 0, 0, w, h, source.get(), region.left, region.top);
        platform::CopyPixels(picture1.hDC(), 0, 0, w, h, memory.get(), 0, 0);
        platform::CopyPixels(picture2.hDC(), 0, 0, w, h, memory.get(), 0, 0);
    }
    picture1.Refresh();

    // A clipboard that another program holds open is left as it is; the
    // bitmap it did not take is deleted with its wrapper.
    platform::Clipboard clipboard(window);
    clipboard.Empty();
    clipboard.SetBitmap(bitmap);
}
