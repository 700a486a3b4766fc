#include "platform/Surface.h"

#include <algorithm>

namespace platform {

Surface::Surface(COLORREF background) : background_(background) {
    ClientDC screen(nullptr);
    dc_ = MemoryDC(screen.get());
}

Surface::~Surface() {
    // A bitmap still selected into a DC cannot be deleted.
    if (originalBitmap_) SelectObject(dc_.get(), originalBitmap_);
}

bool Surface::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (bitmap_ && width == width_ && height == height_) return true;
    ClientDC screen(nullptr);
    // A zero-size bitmap cannot hold a picture; keep one pixel so the DC
    // always has a colour surface selected.
    Bitmap next = CreateCompatibleBitmapFor(screen.get(), std::max(width, 1), std::max(height, 1));
    if (!next) return false;
    {
        MemoryDC scratch(screen.get());
        Selection select(scratch.get(), next.get());
        FillSolid(scratch.get(), {0, 0, std::max(width, 1), std::max(height, 1)}, background_);
        if (bitmap_)
            CopyPixels(scratch.get(), 0, 0, std::min(width, width_), std::min(height, height_),
                       dc_.get(), 0, 0);
    }
    HGDIOBJ previous = SelectObject(dc_.get(), next.get());
    if (!originalBitmap_) originalBitmap_ = previous;
    bitmap_ = std::move(next);   // the old one is no longer selected
    width_ = width;
    height_ = height;
    return true;
}

void Surface::Cls() {
    FillSolid(dc_.get(), {0, 0, std::max(width_, 1), std::max(height_, 1)}, background_);
}

void Surface::PaintTo(HDC dc, const RECT& area) const {
    const LONG right = std::min<LONG>(area.right, width_);
    const LONG bottom = std::min<LONG>(area.bottom, height_);
    if (right > area.left && bottom > area.top)
        CopyPixels(dc, area.left, area.top, right - area.left, bottom - area.top, dc_.get(),
                   area.left, area.top);
    // Outside the surface (a window larger than what it holds) show the background.
    if (area.right > width_)
        FillSolid(dc, {std::max<LONG>(area.left, width_), area.top, area.right, area.bottom},
                  background_);
    if (area.bottom > height_ && right > area.left)
        FillSolid(dc, {area.left, std::max<LONG>(area.top, height_), right, area.bottom}, background_);
}

void PushDrawingToScreen() {
    GdiFlush();
    // Wine keeps a window's drawing in memory of its own and hands it to the
    // X screen when the thread next finds its message queue empty. A peek for
    // a message that is never posted finds the queue empty without removing
    // or running anything.
    constexpr UINT kNeverPosted = 0xBFFF;   // the top of the WM_APP range
    MSG msg;
    PeekMessageW(&msg, nullptr, kNeverPosted, kNeverPosted, PM_NOREMOVE);
}

}  // namespace platform
