// A picture box: a child window with a 2-pixel sunken border whose drawing
// area is backed by a persistent bitmap. What is drawn into hDC() stays
// until it is cleared, survives resizes (top-left part kept) and is what
// every repaint shows.
#pragma once
#include "platform/Gdi.h"
#include "platform/Window.h"

namespace platform {

class PictureBox : public Window {
public:
    static constexpr int kBorder = 2;   // sunken 3-D border on each side

    bool Create(HWND parent, int x, int y, int outerWidth, int outerHeight, bool visible,
                COLORREF background);

    // The persistent drawing surface; valid for the life of the box.
    HDC hDC() const { return surface_.get(); }
    COLORREF BackColor() const { return background_; }

    // Outer size includes the border; the drawing area (ScaleWidth/Height)
    // is kBorder*2 smaller in each direction, never negative.
    void SetOuterSize(int width, int height);
    void SetOuterWidth(int width);
    void SetOuterHeight(int height);
    int OuterWidth() const { return outerWidth_; }
    int OuterHeight() const { return outerHeight_; }
    int ScaleWidth() const { return surfaceWidth_; }
    int ScaleHeight() const { return surfaceHeight_; }

    // Fills the whole surface with the background colour.
    void Cls();
    // Makes the window show the surface now.
    void Refresh() const;
    // Makes the surface the given size (outer size = size + border) and
    // copies the bitmap into it: the picture of a loaded file.
    void SetPicture(HBITMAP picture);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ResizeSurface(int width, int height);

    MemoryDC surface_;
    Bitmap surfaceBitmap_;
    HGDIOBJ originalBitmap_ = nullptr;
    int surfaceWidth_ = 0;
    int surfaceHeight_ = 0;
    int outerWidth_ = 0;
    int outerHeight_ = 0;
    COLORREF background_ = RGB(128, 128, 128);
};

}  // namespace platform
