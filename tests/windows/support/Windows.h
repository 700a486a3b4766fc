// Finding windows the way a test knows them: by their class, the process or
// thread they belong to, their caption, or any other test of the window.
#pragma once
#include "platform/owners/UniqueHandle.h"
#include "platform/owners/Win32.h"

#include <functional>
#include <vector>

namespace tovik_test {

// A test a window passes or fails; an empty one every window passes.
using WindowTest = std::function<bool(HWND window)>;

// The top-level windows of every process that pass `test`, front to back.
std::vector<HWND> TopLevelWindows(const WindowTest& test = {});
// The windows inside `parent`, at any depth, that pass `test`.
std::vector<HWND> ChildWindows(HWND parent, const WindowTest& test = {});

// The first shown top-level window of the process with this class that
// passes `test`, or nullptr.
HWND FindShownWindowOf(DWORD processId, const wchar_t* className, const WindowTest& test = {});
// The first window inside `parent` with this class that passes `test`, or nullptr.
HWND FindChild(HWND parent, const wchar_t* className, const WindowTest& test = {});

bool HasClass(HWND window, const wchar_t* className);
DWORD ProcessOf(HWND window);
// Shown, and so are all its parents (a WindowTest as it stands).
inline bool IsShown(HWND window) { return IsWindowVisible(window) != FALSE; }

// A window of the test's own, destroyed by its owner.
inline void DestroyOwnWindow(HWND window) noexcept { DestroyWindow(window); }
using OwnWindow = platform::UniqueHandle<HWND, DestroyOwnWindow>;
// Makes a top-level window of the test's own over `area` (screen pixels), of
// the class with this name: the system's, or one registered the first time
// with `procedure` (DefWindowProcW when none), `classStyle` and the arrow.
OwnWindow MakeWindow(const wchar_t* className, DWORD exStyle, DWORD style, const RECT& area,
                     WNDPROC procedure = nullptr, UINT classStyle = 0, const wchar_t* title = L"");

}  // namespace tovik_test
