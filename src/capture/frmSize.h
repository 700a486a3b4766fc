// The size box: a small borderless-looking box that follows the pointer
// during a rectangle selection and shows the selection's size.
#pragma once
#include "platform/owners/Gdi.h"
#include "platform/ui/Window.h"

#include <string>

namespace capture {

class frmSize : public platform::Window {
public:
    ~frmSize() override { Destroy(); }   // the window goes before the font it uses

    // Creates the box hidden, its label reading "0 × 0". Does nothing when
    // it exists already.
    bool Form_Load();

    // The label's caption.
    void SetSizeText(const std::wstring& text) const;

    // Puts the top-left corner at (x, y) screen pixels and shows the box
    // above the overlay without taking the activation from it.
    void ShowAt(int x, int y) const;
    // Shows the box next to the pointer (screen pixels), whole on the
    // pointer's monitor, at that monitor's resolution.
    void ShowNear(POINT pointer);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Sizes the box, places the label and picks the font for the resolution.
    void LayOut(int dpi);

    HWND lblSize_ = nullptr;   // a child: destroyed with the box
    int dpi_ = 0;              // the resolution the box is laid out for
    platform::Font font_;
};

// The one size box of the run; the object exists from the first call, its
// window from frmMain's load.
frmSize& SizeForm();

}  // namespace capture
