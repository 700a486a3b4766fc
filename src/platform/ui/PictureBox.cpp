#include "platform/ui/PictureBox.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace platform {

bool PictureBox::Create(HWND parent, int x, int y, int outerWidth, int outerHeight,
                        bool visible, COLORREF background) {
    surface_.SetBackColor(background);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0);
    if (!CreateWindowOf({L"TovikPictureBox"}, style, WS_EX_CLIENTEDGE, L"", x, y, outerWidth,
                        outerHeight, parent))
        return false;
    return SetOuterSize(outerWidth, outerHeight);
}

bool PictureBox::SetOuterSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (!surface_.Resize(std::max(width - 2 * kBorder, 0), std::max(height - 2 * kBorder, 0))) return false;
    SizeWindow(width, height);
    return true;
}

void PictureBox::SizeWindow(int outerWidth, int outerHeight) {
    outerWidth_ = outerWidth;
    outerHeight_ = outerHeight;
    SetWindowPos(hwnd(), nullptr, 0, 0, outerWidth_, outerHeight_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PictureBox::Refresh() const {
    InvalidateRect(hwnd(), nullptr, FALSE);
    UpdateWindow(hwnd());
}

bool PictureBox::SetPicture(HDC source, int width, int height) {
    if (width < 0 || height < 0 || width > INT_MAX - 2 * kBorder || height > INT_MAX - 2 * kBorder) return false;
    if (!SetOuterSize(width + 2 * kBorder, height + 2 * kBorder)) return false;
    CopyPixels(surface_.hDC(), 0, 0, width, height, source, 0, 0);
    return true;
}

bool PictureBox::TakePicture(Bitmap picture, int width, int height) {
    if (width < 0 || height < 0 || width > INT_MAX - 2 * kBorder || height > INT_MAX - 2 * kBorder) return false;
    if (!surface_.Take(std::move(picture), width, height)) return false;
    SizeWindow(width + 2 * kBorder, height + 2 * kBorder);
    return true;
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;   // the paint below covers every pixel
    case WM_PAINT: {
        const PaintDC paint(hwnd());
        surface_.PaintTo(paint.get(), paint.Area());
        return 0;
    }
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace platform
