// Finding windows the way a test knows them: by their class, the process or
// thread they belong to, their caption, or any other test of the window.
#pragma once
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

}  // namespace tovik_test
