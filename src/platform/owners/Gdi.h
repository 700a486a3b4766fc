// Device contexts, bitmaps and selections, each with exactly one owner.
#pragma once
#include "platform/owners/Failure.h"
#include "platform/owners/UniqueHandle.h"
#include "platform/owners/Win32.h"

namespace platform {

// A window's borrowed DC, released to the same window on every path: of
// the whole window (frame included, origin at the window's top-left corner)
// or of its client area.
template <bool WholeWindow>
class BorrowedDC {
public:
    explicit BorrowedDC(HWND window) : window_(window), dc_(WholeWindow ? GetWindowDC(window) : GetDC(window)) {}
    ~BorrowedDC() { if (dc_) ReleaseDC(window_, dc_); }
    BorrowedDC(const BorrowedDC&) = delete;
    BorrowedDC& operator=(const BorrowedDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
private:
    HWND window_;
    HDC dc_;
};
using WindowDC = BorrowedDC<true>;
using ClientDC = BorrowedDC<false>;

// The DC of a WM_PAINT: BeginPaint when made, EndPaint on every path.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDC() { EndPaint(window_, &paint_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; }   // what needs painting
private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A memory DC, made with CreateCompatibleDC, deleted by its owner.
inline void DeleteDeviceContext(HDC dc) noexcept { DeleteDC(dc); }
using MemoryDC = UniqueHandle<HDC, DeleteDeviceContext>;
inline MemoryDC CompatibleDC(HDC with) { return MemoryDC(CreateCompatibleDC(with)); }

// Any GDI object (bitmap, pen, brush, font) deleted by its owner. Handed to
// a new owner (the clipboard) with release().
template <typename Handle>
void DeleteGdiObject(Handle object) noexcept { DeleteObject(object); }
template <typename Handle>
using GdiObject = UniqueHandle<Handle, DeleteGdiObject<Handle>>;

using Bitmap = GdiObject<HBITMAP>;
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;

// A bitmap in the format of the given DC (a DDB), which other processes can
// read from the clipboard. Empty when the system cannot make one. For an
// empty size it is a 1 x 1 monochrome bitmap of its own: the system would
// hand out the shared bitmap every memory DC starts with, and the clipboard
// (or the owner) would delete that with it, breaking every DC made later.
inline Bitmap CreateCompatibleBitmapFor(HDC dc, int width, int height) {
    if (width <= 0 || height <= 0) return Bitmap(CreateBitmap(1, 1, 1, 1, nullptr));
    return Bitmap(CreateCompatibleBitmap(dc, width, height));
}

// The header of uncompressed pixels of `bitCount` bits (24 or 32) without a
// palette, width x height: for a positive height the bottom row comes
// first, as in a bitmap file, for a negative one the top row.
inline BITMAPINFO RgbBitmapInfo(int width, int height, WORD bitCount) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitCount;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// 32-bit pixels, the top row first: the order the decoders give rows in
// and the order this program's loops read and write them.
inline BITMAPINFO TopDownRgb32(int width, int height) { return RgbBitmapInfo(width, -height, 32); }

// A DIB section of that layout, its pixels at `bits` for this program to
// read and write directly (after a GdiFlush once GDI has drawn on it).
// Empty, and `bits` null, when the system cannot make one.
Bitmap CreateTopDownBitmap(HDC dc, int width, int height, void*& bits);

// Selects an object (bitmap, pen, font) into a DC and puts the previous one
// back when it ends.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject() { if (previous_) SelectObject(dc_, previous_); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Plain source copy of width x height pixels.
inline void CopyPixels(HDC destination, int x, int y, int width, int height,
                       HDC source, int sourceX, int sourceY) {
    BitBlt(destination, x, y, width, height, source, sourceX, sourceY, SRCCOPY);
}
// The same for a one-time read of the screen: with the layered windows on it
// (tooltips, menus, shadows, translucent windows). Not for reads repeated in
// a loop, where it can make the pointer flicker. Read in bands of a few
// megabytes: where the system passes a screen read through temporary copies
// of what is read (Wine takes two), a huge screen then needs no more memory
// for them than a band does. S_OK, or why the screen could not be read: it
// cannot while the session is locked, the secure desktop (an elevation
// prompt) is up or a remote session's window is minimised, and the
// destination then holds nothing of it.
[[nodiscard]] HRESULT CopyScreenPixels(HDC destination, int x, int y, int width, int height,
                                       HDC source, int sourceX, int sourceY);
// Makes every screen read fail with `error` (0: they read again), so a test
// can check what a capture does when the screen cannot be read.
void FailScreenReadsForTesting(DWORD error);

void FillSolid(HDC dc, const RECT& area, COLORREF colour);

// A one-pixel solid line from (x1, y1) up to, not including, (x2, y2).
void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour);

// Inverts the one-pixel outline of the axis-aligned rectangle whose opposite
// corners are a and b, both corner pixels included. Drawing it twice
// restores the surface exactly: no pixel is inverted twice in one call.
void InvertOutline(HDC dc, POINT a, POINT b);

}  // namespace platform
