#include "platform/owners/Gdi.h"

#include <algorithm>

namespace platform {
namespace {
DWORD failScreenReads = 0;
}  // namespace

HRESULT CopyScreenPixels(HDC destination, int x, int y, int width, int height,
                         HDC source, int sourceX, int sourceY) {
    if (failScreenReads) return FailureOf(failScreenReads);
    constexpr long long kBandBytes = 16 << 20;   // a 1920-pixel screen in one band, 7680 pixels in 8
    const int rows = static_cast<int>(
        std::clamp<long long>(kBandBytes / (4LL * std::max(width, 1)), 1, std::max(height, 1)));
    for (int top = 0; top < height; top += rows) {
        SetLastError(0);
        if (BitBlt(destination, x, y + top, width, std::min(rows, height - top), source, sourceX, sourceY + top,
                   SRCCOPY | CAPTUREBLT))
            continue;
        // GDI does not always say why; a screen that cannot be read is one the
        // program has no access to.
        const DWORD error = GetLastError();
        return FailureOf(error ? error : ERROR_ACCESS_DENIED);
    }
    return S_OK;
}

void FailScreenReadsForTesting(DWORD error) { failScreenReads = error; }

Bitmap CreateTopDownBitmap(HDC dc, int width, int height, void*& bits) {
    const BITMAPINFO info = TopDownRgb32(width, height);
    bits = nullptr;
    Bitmap bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    return bits ? std::move(bitmap) : Bitmap();
}

void FillSolid(HDC dc, const RECT& area, COLORREF colour) {
    const COLORREF previous = SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    SetBkColor(dc, previous);
}

void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour) {
    Pen pen(CreatePen(PS_SOLID, 1, colour));
    SelectedObject select(dc, pen.get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void InvertOutline(HDC dc, POINT a, POINT b) {
    const int left = std::min(a.x, b.x), right = std::max(a.x, b.x);
    const int top = std::min(a.y, b.y), bottom = std::max(a.y, b.y);
    auto invert = [dc](int x0, int y0, int x1, int y1) {   // half-open box
        PatBlt(dc, x0, y0, x1 - x0, y1 - y0, DSTINVERT);
    };
    invert(left, top, right + 1, top + 1);                 // top edge, both corners
    if (bottom > top) invert(left, bottom, right + 1, bottom + 1);   // bottom edge
    if (bottom - top > 1) {
        invert(left, top + 1, left + 1, bottom);           // left edge between
        if (right > left) invert(right, top + 1, right + 1, bottom);
    }
}

}  // namespace platform
