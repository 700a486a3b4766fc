// Where the picture goes on the printed page, kept apart from the printer.
#pragma once

namespace printing::placement {

// Dots per inch along each axis.
struct Resolution { int x = 0, y = 0; };
struct Size { int width = 0, height = 0; };
// Printer pixels, relative to the top-left corner of the printable area.
struct Rectangle { int x = 0, y = 0, width = 0, height = 0; };

// The picture appears as large on paper as it is on the screen: each axis is
// scaled by printer dpi / screen dpi. A picture that would not fit is shrunk,
// its proportions kept, until it fills the printable area along one axis.
// It starts at the top-left corner of the printable area and never leaves it.
// An empty picture or printable area gives an empty rectangle; any other
// picture is at least 1 x 1. Resolutions below 1 dpi count as 1 dpi.
Rectangle PlacePicture(Size picture, Resolution screen, Resolution printer, Size printable);

}  // namespace printing::placement
