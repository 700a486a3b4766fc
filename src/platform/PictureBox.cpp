#include "platform/PictureBox.h"

#include <algorithm>

namespace platform {

bool PictureBox::Create(HWND parent, int x, int y, int outerWidth, int outerHeight,
                        bool visible, COLORREF background) {
    background_ = background;
    {
        ClientDC screen(nullptr);
        surface_ = MemoryDC(screen.get());
    }
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0);
    if (!CreateWindowOf({L"TovikPictureBox"}, style, WS_EX_CLIENTEDGE, L"", x, y, outerWidth,
                        outerHeight, parent))
        return false;
    SetOuterSize(outerWidth, outerHeight);
    return true;
}

void PictureBox::SetOuterSize(int width, int height) {
    outerWidth_ = std::max(width, 0);
    outerHeight_ = std::max(height, 0);
    SetWindowPos(hwnd(), nullptr, 0, 0, outerWidth_, outerHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ResizeSurface(std::max(outerWidth_ - 2 * kBorder, 0), std::max(outerHeight_ - 2 * kBorder, 0));
}

void PictureBox::SetOuterWidth(int width) { SetOuterSize(width, outerHeight_); }
void PictureBox::SetOuterHeight(int height) { SetOuterSize(outerWidth_, height); }

void PictureBox::ResizeSurface(int width, int height) {
    if (surfaceBitmap_ && width == surfaceWidth_ && height == surfaceHeight_) return;
    ClientDC screen(nullptr);
    // A zero-size bitmap cannot hold a picture; keep one pixel so the DC
    // always has a colour surface selected.
    Bitmap next = CreateCompatibleBitmapFor(screen.get(), std::max(width, 1), std::max(height, 1));
    if (!next) return;   // out of memory: keep the old surface
    {
        MemoryDC scratch(screen.get());
        Selection select(scratch.get(), next.get());
        const RECT all{0, 0, std::max(width, 1), std::max(height, 1)};
        FillSolid(scratch.get(), all, background_);
        if (surfaceBitmap_)
            CopyPixels(scratch.get(), 0, 0, std::min(width, surfaceWidth_),
                       std::min(height, surfaceHeight_), surface_.get(), 0, 0);
    }
    HGDIOBJ previous = SelectObject(surface_.get(), next.get());
    if (!originalBitmap_) originalBitmap_ = previous;
    surfaceBitmap_ = std::move(next);   // the old one is no longer selected
    surfaceWidth_ = width;
    surfaceHeight_ = height;
}

void PictureBox::Cls() {
    FillSolid(surface_.get(), {0, 0, std::max(surfaceWidth_, 1), std::max(surfaceHeight_, 1)},
              background_);
}

void PictureBox::Refresh() const {
    InvalidateRect(hwnd(), nullptr, FALSE);
    UpdateWindow(hwnd());
}

void PictureBox::SetPicture(HBITMAP picture) {
    BITMAP info{};
    if (!GetObjectW(picture, sizeof info, &info)) return;
    SetOuterSize(info.bmWidth + 2 * kBorder, info.bmHeight + 2 * kBorder);
    ClientDC screen(nullptr);
    MemoryDC source(screen.get());
    Selection select(source.get(), picture);
    CopyPixels(surface_.get(), 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0);
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;   // the paint below covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        const SIZE client = ClientSize();
        CopyPixels(dc, 0, 0, std::min<int>(client.cx, surfaceWidth_),
                   std::min<int>(client.cy, surfaceHeight_), surface_.get(), 0, 0);
        // Outside the surface (only while a resize is under way) show the background.
        if (client.cx > surfaceWidth_)
            FillSolid(dc, {surfaceWidth_, 0, client.cx, client.cy}, background_);
        if (client.cy > surfaceHeight_)
            FillSolid(dc, {0, surfaceHeight_, client.cx, client.cy}, background_);
        EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_NCDESTROY:
        if (originalBitmap_) SelectObject(surface_.get(), originalBitmap_);
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace platform
