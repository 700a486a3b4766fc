#include "app/RecentFiles.h"

#include <cstdint>
#include <limits>

namespace app::recent {
namespace {

constexpr int kHighestIndex = std::numeric_limits<std::int16_t>::max();

// The entries take the indices 1, 2, ... again, in the same order.
void Renumber(Bounds& bounds, MenuArray& menu) {
    const std::vector<std::wstring> paths = Paths(bounds, menu);
    for (int j = bounds.MruFirst; j <= bounds.MruLast; ++j) menu.Remove(j);
    int index = 0;
    for (const auto& path : paths) menu.Create(++index, path);
    bounds.MruFirst = static_cast<std::int16_t>(index ? 1 : 0);
    bounds.MruLast = static_cast<std::int16_t>(index);
}

}  // namespace

void AddRecentFile(Bounds& bounds, MenuArray& menu, const std::wstring& path) {
    menu.ShowSeparator();
    if (bounds.MruLast >= kHighestIndex) Renumber(bounds, menu);
    const int last = bounds.MruLast + 1;
    // While the list is empty this looks at element 0 alone, whose caption is "-".
    for (int j = bounds.MruFirst; j <= last - 1; ++j)
        if (menu.Caption(j) == path) return;
    menu.Create(last, path);
    bounds.MruLast = static_cast<std::int16_t>(last);
    if (last > kCapacity) {
        menu.Remove(bounds.MruFirst);
        ++bounds.MruFirst;
    } else {
        bounds.MruFirst = 1;
    }
}

std::vector<std::wstring> Paths(const Bounds& bounds, const MenuArray& menu) {
    std::vector<std::wstring> paths;
    if (bounds.MruLast == 0) return paths;
    for (int j = bounds.MruFirst; j <= bounds.MruLast; ++j) paths.push_back(menu.Caption(j));
    return paths;
}

}  // namespace app::recent
