#include "support/Windows.h"

#include <wchar.h>

namespace tovik_test {
namespace {

struct Search {
    const WindowTest* test;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    if (!*search->test || (*search->test)(window)) search->found.push_back(window);
    return TRUE;
}

HWND First(const std::vector<HWND>& windows) { return windows.empty() ? nullptr : windows.front(); }

}  // namespace

std::vector<HWND> TopLevelWindows(const WindowTest& test) {
    Search search{&test, {}};
    EnumWindows(&Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ChildWindows(HWND parent, const WindowTest& test) {
    Search search{&test, {}};
    EnumChildWindows(parent, &Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindShownWindowOf(DWORD processId, const wchar_t* className, const WindowTest& test) {
    return First(TopLevelWindows([&](HWND window) {
        return ProcessOf(window) == processId && IsShown(window) && HasClass(window, className) &&
               (!test || test(window));
    }));
}

HWND FindChild(HWND parent, const wchar_t* className, const WindowTest& test) {
    return First(ChildWindows(parent, [&](HWND window) { return HasClass(window, className) && (!test || test(window)); }));
}

// Class names, as the system compares them, ignore case.
bool HasClass(HWND window, const wchar_t* className) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return _wcsicmp(name, className) == 0;
}

OwnWindow MakeWindow(const wchar_t* className, DWORD exStyle, DWORD style, const RECT& area, WNDPROC procedure,
                     UINT classStyle, const wchar_t* title) {
    const HINSTANCE self = GetModuleHandleW(nullptr);
    WNDCLASSEXW known{};
    known.cbSize = sizeof known;
    if (!GetClassInfoExW(nullptr, className, &known) && !GetClassInfoExW(self, className, &known)) {
        WNDCLASSW wc{};
        wc.style = classStyle;
        wc.lpfnWndProc = procedure ? procedure : &DefWindowProcW;
        wc.hInstance = self;
        wc.lpszClassName = className;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&wc);
    }
    return OwnWindow(CreateWindowExW(exStyle, className, title, style, area.left, area.top, area.right - area.left,
                                     area.bottom - area.top, nullptr, nullptr, self, nullptr));
}

DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

}  // namespace tovik_test
