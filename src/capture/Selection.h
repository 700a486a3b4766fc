// The arithmetic of a rectangle selection, kept apart from the windows.
#pragma once
#include <string>

namespace selection {

struct Point { long x = 0, y = 0; };
struct Region { long left = 0, top = 0, right = 0, bottom = 0; };

// The region between the press and the release point, per axis the smaller
// value first. The far column and row are not part of it, so its size is
// the size the box showed.
Region Normalise(Point start, Point current);

// The size box caption: "W × H" with U+00D7, absolute values, no sign.
std::wstring SizeCaption(Point start, Point current);

}  // namespace selection
