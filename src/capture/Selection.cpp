#include "capture/Selection.h"

#include <algorithm>
#include <cstdlib>

namespace selection {

Region Normalise(Point start, Point current) {
    return {std::min(start.x, current.x), std::min(start.y, current.y),
            std::max(start.x, current.x), std::max(start.y, current.y)};
}

std::wstring SizeCaption(Point start, Point current) {
    const long long w = std::llabs(static_cast<long long>(current.x) - start.x);
    const long long h = std::llabs(static_cast<long long>(current.y) - start.y);
    return std::to_wstring(w) + L" \u00D7 " + std::to_wstring(h);
}

}  // namespace selection
