// The recent-files list of the File menu: up to four paths, oldest at the
// top, newest just above the separator before Exit. Element 0 of the menu
// array is the separator above them, hidden until the first entry comes;
// the entries are elements MruFirst to MruLast, whose indices only grow.
// The logic is kept apart from the real menu so it is tested natively.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace app::recent {

inline constexpr int kCapacity = 4;
inline constexpr wchar_t kSeparatorCaption[] = L"-";   // the caption of element 0

// MruFirst and MruLast: the lowest and highest index of the entries, both
// 0 while the list is empty.
struct Bounds {
    std::int16_t MruFirst = 0;
    std::int16_t MruLast = 0;
};

// The menu item array the list lives in.
class MenuArray {
public:
    virtual std::wstring Caption(int index) const = 0;   // element 0 reads "-"
    virtual void ShowSeparator() = 0;                    // makes element 0 visible
    // Creates element `index` below the ones that exist, showing `caption`.
    virtual void Create(int index, const std::wstring& caption) = 0;
    virtual void Remove(int index) = 0;

protected:
    ~MenuArray() = default;
};

// Adds a path: nothing changes when it is listed already (exact,
// case-sensitive comparison; the list keeps the order of first opening);
// otherwise it becomes the newest entry, and the oldest goes when there
// would be more than four. Once the indices reach the top of their 16-bit
// range the entries are renumbered from 1, in the same order, instead of
// overflowing.
void AddRecentFile(Bounds& bounds, MenuArray& menu, const std::wstring& path);

// The entries, oldest first, as they are stored at exit.
std::vector<std::wstring> Paths(const Bounds& bounds, const MenuArray& menu);

}  // namespace app::recent
