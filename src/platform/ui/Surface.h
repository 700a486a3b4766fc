// A persistent drawing surface: a memory DC with a screen-compatible bitmap
// selected into it. What is drawn into hDC() stays until it is cleared,
// survives resizes (top-left part kept) and is what a window's repaint
// copies to the screen.
#pragma once
#include "platform/owners/Gdi.h"

namespace platform {

class Surface {
public:
    explicit Surface(COLORREF background = RGB(128, 128, 128));
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    HDC hDC() const { return dc_.get(); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF BackColor() const { return background_; }
    void SetBackColor(COLORREF colour) { background_ = colour; }

    // Makes the surface width x height pixels (negative counts as 0). The
    // top-left part of what it held stays; new pixels take the background
    // colour. False when the system cannot make the bitmap: the old
    // surface then stays as it was.
    bool Resize(int width, int height);
    // Makes `picture` (a bitmap of the screen's format, width x height, not
    // selected anywhere) the surface itself: the old pixels go at once and
    // nothing is copied. For an empty size the surface is emptied and
    // cleared instead. False when the picture cannot be taken: the old
    // surface then stays as it was.
    bool Take(Bitmap picture, int width, int height);
    // Fills the whole surface with the background colour.
    void Cls();
    // Copies the part of `area` that lies on the surface to the same
    // coordinates of dc; the rest of `area` gets the background colour.
    void PaintTo(HDC dc, const RECT& area) const;

private:
    MemoryDC dc_;
    Bitmap bitmap_;
    HGDIOBJ originalBitmap_ = nullptr;   // the DC's own 1x1 bitmap, put back before ours is deleted
    int width_ = 0;
    int height_ = 0;
    COLORREF background_;
};

// Makes sure that what this thread has drawn into its windows is on the
// screen before the screen is read. Runs no event.
void PushDrawingToScreen();

// True when the screen shows in `area` (screen pixels) exactly the pixels
// that `expected` holds from its (0, 0).
bool ScreenShows(HDC expected, const RECT& area);

}  // namespace platform
