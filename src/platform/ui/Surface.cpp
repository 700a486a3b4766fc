#include "platform/ui/Surface.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace platform {

Surface::Surface(COLORREF background) : background_(background) {
    ClientDC screen(nullptr);
    dc_ = CompatibleDC(screen.get());
}

Surface::~Surface() {
    // A bitmap still selected into a DC cannot be deleted.
    if (originalBitmap_) SelectObject(dc_.get(), originalBitmap_);
}

bool Surface::Resize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (!dc_) return false;
    if (bitmap_ && width == width_ && height == height_) return true;
    ClientDC screen(nullptr);
    // A zero-size bitmap cannot hold a picture; keep one pixel so the DC
    // always has a colour surface selected.
    Bitmap next = CreateCompatibleBitmapFor(screen.get(), std::max(width, 1), std::max(height, 1));
    if (!next) return false;
    {
        MemoryDC scratch = CompatibleDC(screen.get());
        SelectedObject select(scratch.get(), next.get());
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

bool Surface::Take(Bitmap picture, int width, int height) {
    if (width <= 0 || height <= 0) {   // no pixels to hold: the one-pixel surface of an empty size
        if (!Resize(width, height)) return false;
        Cls();
        return true;
    }
    if (!dc_ || !picture) return false;
    HGDIOBJ previous = SelectObject(dc_.get(), picture.get());
    if (!previous) return false;
    if (!originalBitmap_) originalBitmap_ = previous;
    bitmap_ = std::move(picture);   // the old one is no longer selected
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

namespace {

// A top-down 32-bit copy of width x height pixels of a DC, in memory this program reads directly.
class PixelCopy {
public:
    PixelCopy(HDC source, int x, int y, int width, int height) : size_(Bytes(width, height)) {
        bitmap_ = CreateTopDownBitmap(source, width, height, bits_);
        if (!bitmap_) return;
        MemoryDC memory = CompatibleDC(source);
        SelectedObject select(memory.get(), bitmap_.get());
        CopyPixels(memory.get(), 0, 0, width, height, source, x, y);
        GdiFlush();   // the bits are read directly below
    }
    bool SameAs(const PixelCopy& other) const {
        if (!bitmap_ || !other.bitmap_ || size_ != other.size_) return false;
        // The fourth byte of each pixel is not part of the colour.
        const auto* a = static_cast<const std::uint32_t*>(bits_);
        const auto* b = static_cast<const std::uint32_t*>(other.bits_);
        for (size_t i = 0; i < size_ / 4; ++i)
            if (((a[i] ^ b[i]) & 0xFFFFFF) != 0) return false;
        return true;
    }

private:
    static size_t Bytes(int width, int height) {
        return static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0)) * 4;
    }
    Bitmap bitmap_;
    void* bits_ = nullptr;
    size_t size_;
};

}  // namespace

bool ScreenShows(HDC expected, const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return true;
    const PixelCopy wanted(expected, 0, 0, width, height);
    WindowDC screen(GetDesktopWindow());
    const PixelCopy shown(screen.get(), area.left, area.top, width, height);
    return wanted.SameAs(shown);
}

}  // namespace platform
