#include "platform/PictureBox.h"

#include <algorithm>

namespace platform {

bool PictureBox::Create(HWND parent, int x, int y, int outerWidth, int outerHeight,
                        bool visible, COLORREF background) {
    surface_.SetBackColor(background);
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
    // Out of memory: the old surface stays.
    surface_.Resize(outerWidth_ - 2 * kBorder, outerHeight_ - 2 * kBorder);
}

void PictureBox::SetOuterWidth(int width) { SetOuterSize(width, outerHeight_); }
void PictureBox::SetOuterHeight(int height) { SetOuterSize(outerWidth_, height); }

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
    CopyPixels(surface_.hDC(), 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0);
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;   // the paint below covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        surface_.PaintTo(dc, ps.rcPaint);
        EndPaint(hwnd(), &ps);
        return 0;
    }
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace platform
