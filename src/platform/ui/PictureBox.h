// A picture box: a child window with a 2-pixel sunken border whose drawing
// area is backed by a persistent surface. What is drawn into hDC() stays
// until it is cleared, survives resizes (top-left part kept) and is what
// every repaint shows.
#pragma once
#include "platform/owners/Gdi.h"
#include "platform/ui/Surface.h"
#include "platform/ui/Window.h"

namespace platform {

class PictureBox : public Window {
public:
    static constexpr int kBorder = 2;   // sunken 3-D border on each side

    bool Create(HWND parent, int x, int y, int outerWidth, int outerHeight, bool visible,
                COLORREF background);

    // The persistent drawing surface; valid for the life of the box.
    HDC hDC() const { return surface_.hDC(); }
    COLORREF BackColor() const { return surface_.BackColor(); }

    // Outer size includes the border; the drawing area (ScaleWidth/Height)
    // is kBorder*2 smaller in each direction, never negative. False when the
    // system cannot make a surface that large: the box then keeps its size
    // and its picture.
    [[nodiscard]] bool SetOuterSize(int width, int height);
    int OuterWidth() const { return outerWidth_; }
    int OuterHeight() const { return outerHeight_; }
    int ScaleWidth() const { return surface_.Width(); }
    int ScaleHeight() const { return surface_.Height(); }

    // Fills the whole surface with the background colour.
    void Cls() { surface_.Cls(); }
    // Makes the drawing area width x height and copies that many pixels of
    // `source` into it: the picture of an opened file. False, and nothing
    // changed, when there is no memory for it.
    [[nodiscard]] bool SetPicture(HDC source, int width, int height);
    // Makes the bitmap (width x height, of the screen's format, selected
    // nowhere) the drawing area itself, without a copy: a capture. False,
    // and nothing changed, when it cannot be taken.
    [[nodiscard]] bool TakePicture(Bitmap picture, int width, int height);
    // Makes the window show the surface now.
    void Refresh() const;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SizeWindow(int outerWidth, int outerHeight);

    Surface surface_;
    int outerWidth_ = 0;
    int outerHeight_ = 0;
};

}  // namespace platform
