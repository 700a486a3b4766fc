// Base of every window class of the program: registers the class once and
// routes messages to the object that owns the window.
#pragma once
#include "platform/Win32.h"

#include <string>

namespace platform {

struct WindowClassInfo {
    const wchar_t* name;
    UINT style = 0;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;      // nullptr: the arrow
    HBRUSH background = nullptr;
};

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    bool exists() const { return hwnd_ != nullptr; }

    void Show(int command = SW_SHOW) const { ShowWindow(hwnd_, command); }
    void Hide() const { ShowWindow(hwnd_, SW_HIDE); }
    bool IsVisible() const { return IsWindowVisible(hwnd_) != FALSE; }
    bool IsMinimized() const { return IsIconic(hwnd_) != FALSE; }
    bool IsMaximized() const { return IsZoomed(hwnd_) != FALSE; }
    RECT OuterRect() const;                 // screen pixels
    SIZE ClientSize() const;                // pixels
    void MoveTo(int x, int y) const;        // screen pixels, size kept
    void SetOuterBounds(int x, int y, int width, int height) const;
    void SetCaption(const std::wstring& text) const { SetWindowTextW(hwnd_, text.c_str()); }
    void Destroy();

protected:
    // Registers the class (first call only) and creates the window; the
    // object must outlive it.
    bool CreateWindowOf(const WindowClassInfo& info, DWORD style, DWORD exStyle,
                        const wchar_t* caption, int x, int y, int width, int height,
                        HWND parent, HMENU menu = nullptr);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) const {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

HINSTANCE ModuleInstance();

// Runs this thread's queued window, paint and timer messages, then returns.
void DoEvents();

// Runs the message loop until WM_QUIT; keys go through the accelerator table
// of the given window first. Returns the quit code.
int RunMessageLoop(HWND acceleratorWindow, HACCEL accelerators);

}  // namespace platform
