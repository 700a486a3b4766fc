// Base of every window class of the program: registers the class once and
// routes messages to the object that owns the window.
#pragma once
#include "platform/owners/Win32.h"

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
    // Safe to leave the window to: its last messages reach no derived handler.
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

// A window's text: a caption, a label's or an edit field's contents.
std::wstring WindowText(HWND window);

// A window's timer: runs from Start until Stop or the owner's end. It never
// runs without a window, since a thread timer's message would reach no
// handler and be lost.
class WindowTimer {
public:
    explicit WindowTimer(UINT_PTR id) : id_(id) {}
    ~WindowTimer() { Stop(); }
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    // False, and nothing runs, when there is no window or no timer to be had.
    bool Start(HWND window, UINT interval);
    void Stop();
    bool Running() const { return window_ != nullptr; }
    UINT_PTR Id() const { return id_; }

private:
    UINT_PTR id_;
    HWND window_ = nullptr;
};

// The mouse captured for a window while this lives (a drag).
class MouseCapture {
public:
    explicit MouseCapture(HWND window) : window_(window) { SetCapture(window); }
    ~MouseCapture() { if (GetCapture() == window_) ReleaseCapture(); }
    MouseCapture(const MouseCapture&) = delete;
    MouseCapture& operator=(const MouseCapture&) = delete;
private:
    HWND window_;
};

// A key that comes to a window wherever the keyboard focus is (a hot key),
// for as long as this lives. Another program may hold the key already: the
// window then gets it only while it has the keyboard focus itself.
// `modifiers` and `key` as RegisterHotKey takes them.
class HotKey {
public:
    HotKey(HWND window, int id, UINT modifiers, UINT key)
        : window_(window), id_(id), registered_(RegisterHotKey(window, id, modifiers, key) != FALSE) {}
    ~HotKey() { if (registered_) UnregisterHotKey(window_, id_); }
    HotKey(const HotKey&) = delete;
    HotKey& operator=(const HotKey&) = delete;
    int Id() const { return id_; }
    // False when Windows refused it (another program holds the key).
    bool Registered() const { return registered_; }
private:
    HWND window_;
    int id_;
    bool registered_;
};

// Runs this thread's queued window, paint and timer messages, then returns.
// Shortcuts are not translated here: a command must never start inside
// another one that lets events run.
void DoEvents();

// The program's one message loop. A shortcut of `shortcuts` reaches `window`
// only while that window is the active one, visible and enabled: never
// while it is hidden behind the capture overlay, nor while a dialog or a
// message box has the keyboard (there, Delete or Ctrl+V edit the text).
// Modeless dialogs get their keyboard navigation. Returns the quit code.
int RunMessageLoop(HWND window, HACCEL shortcuts);

}  // namespace platform
