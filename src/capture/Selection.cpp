#include "capture/Selection.h"

#include "platform/portable/Text.h"

#include <algorithm>
#include <cstdlib>

namespace capture::selection {

Region Normalise(Point start, Point current) {
    return {std::min(start.x, current.x), std::min(start.y, current.y),
            std::max(start.x, current.x), std::max(start.y, current.y)};
}

std::wstring SizeCaption(Point start, Point current, std::wstring_view format) {
    const long long w = std::llabs(static_cast<long long>(current.x) - start.x);
    const long long h = std::llabs(static_cast<long long>(current.y) - start.y);
    return platform::FillIn(std::wstring(format), {std::to_wstring(w), std::to_wstring(h)});
}

Point ToOverlay(Point screen, Point origin) { return {screen.x - origin.x, screen.y - origin.y}; }

Point ToScreen(Point overlay, Point origin) { return {overlay.x + origin.x, overlay.y + origin.y}; }

Region RegionToOverlay(Region screen, Point origin) {
    return {screen.left - origin.x, screen.top - origin.y, screen.right - origin.x, screen.bottom - origin.y};
}

namespace {
// One axis: after the pointer, else before it; never before the monitor's
// start (a box larger than the room on either side keeps its start on the monitor).
long PlaceOnAxis(long pointer, long size, long start, long end) {
    constexpr long kGap = 10;
    long place = pointer + kGap;
    if (place + size > end) place = pointer - kGap - size;
    return std::max(place, start);
}
}  // namespace

Point SizeBoxPlace(Point pointer, Extent box, Region monitor) {
    return {PlaceOnAxis(pointer.x, box.width, monitor.left, monitor.right),
            PlaceOnAxis(pointer.y, box.height, monitor.top, monitor.bottom)};
}

}  // namespace capture::selection
