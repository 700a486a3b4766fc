// The arithmetic of a rectangle selection, kept apart from the windows.
#pragma once
#include <string>
#include <string_view>

namespace capture::selection {

struct Point { long x = 0, y = 0; };
struct Region { long left = 0, top = 0, right = 0, bottom = 0; };
struct Extent { long width = 0, height = 0; };

// The region between the press and the release point, per axis the smaller
// value first. The far column and row are not part of it, so its size is
// the size the box showed.
Region Normalise(Point start, Point current);

// The size box caption: `format` (the resource script's "%ls × %ls") with
// the width and the height, absolute values, no sign.
std::wstring SizeCaption(Point start, Point current, std::wstring_view format);

// The overlay covers the virtual screen exactly: its pixel (0, 0) is the
// virtual screen's top-left corner, `origin`, which lies left of or above
// the primary monitor's (0, 0) when a monitor does. Screen pixels to overlay
// pixels and back.
Point ToOverlay(Point screen, Point origin);
Point ToScreen(Point overlay, Point origin);
Region RegionToOverlay(Region screen, Point origin);

// Where the size box's top-left corner goes, screen pixels: 10 pixels right
// of and below the pointer, or, where the box would pass the right or bottom
// edge of the pointer's monitor, 10 pixels left of or above it, so the box
// stays whole on that monitor rather than straddling two.
Point SizeBoxPlace(Point pointer, Extent box, Region monitor);

}  // namespace capture::selection
