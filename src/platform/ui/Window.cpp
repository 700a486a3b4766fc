#include "platform/ui/Window.h"

#include "platform/ui/Messages.h"

#include <utility>
#include <vector>

namespace platform {

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

std::wstring WindowText(HWND window) {
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(window)) + 1);
    const int length = GetWindowTextW(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), static_cast<size_t>(length > 0 ? length : 0));
}

// The derived parts are gone by now: the window is let go of first, so its
// last messages get the system's default handling and reach none of them.
Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(std::exchange(hwnd_, nullptr));
    }
}

void Window::Destroy() {
    if (hwnd_) {
        HWND window = hwnd_;
        DestroyWindow(window);   // WM_NCDESTROY clears hwnd_
        hwnd_ = nullptr;
    }
}

bool Window::CreateWindowOf(const WindowClassInfo& info, DWORD style, DWORD exStyle,
                            const wchar_t* caption, int x, int y, int width, int height,
                            HWND parent, HMENU menu) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(ModuleInstance(), info.name, &existing)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = info.style;
        wc.lpfnWndProc = &Window::Procedure;
        wc.hInstance = ModuleInstance();
        wc.hIcon = info.icon;
        wc.hIconSm = info.smallIcon;
        wc.hCursor = info.cursor ? info.cursor : LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = info.background;
        wc.lpszClassName = info.name;
        if (!RegisterClassExW(&wc)) return false;
    }
    return CreateWindowExW(exStyle, info.name, caption, style, x, y, width, height, parent,
                           menu, ModuleInstance(), this) != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    // Nothing may unwind through the system's code that called us: a
    // command that ran out of memory is reported, and the program goes on.
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ShowHandlerFailure(hwnd);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

RECT Window::OuterRect() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r;
}

SIZE Window::ClientSize() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return {r.right - r.left, r.bottom - r.top};
}

void Window::MoveTo(int x, int y) const {
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::SetOuterBounds(int x, int y, int width, int height) const {
    SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool WindowTimer::Start(HWND window, UINT interval) {
    Stop();
    if (!window || !SetTimer(window, id_, interval, nullptr)) return false;
    window_ = window;
    return true;
}

void WindowTimer::Stop() {
    if (window_) KillTimer(window_, id_);
    window_ = nullptr;
}

namespace {

bool IsDialogWindow(HWND window) {
    constexpr ATOM kDialogClass = 32770;   // WC_DIALOG
    return window && GetClassLongPtrW(window, GCW_ATOM) == kDialogClass;
}

void Dispatch(MSG& msg) {
    // Tab, Enter and Escape move through a modeless dialog like a modal one.
    const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (IsDialogWindow(root) && IsDialogMessageW(root, &msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

bool TakesShortcuts(HWND window, HWND target) {
    return GetActiveWindow() == window && IsWindowVisible(window) && IsWindowEnabled(window) &&
           (target == window || IsChild(window, target));
}

}  // namespace

void DoEvents() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));   // leave it for the main loop
            return;
        }
        Dispatch(msg);
    }
}

int RunMessageLoop(HWND window, HACCEL shortcuts) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (shortcuts && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST &&
            TakesShortcuts(window, msg.hwnd) && TranslateAcceleratorW(window, shortcuts, &msg))
            continue;
        Dispatch(msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace platform
