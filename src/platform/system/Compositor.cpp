#include "platform/system/Compositor.h"

#include "platform/system/Screen.h"
#include "platform/system/SystemLookup.h"

#include <dwmapi.h>

namespace platform {

std::optional<RECT> VisibleFrame(HWND window) {
    // The desktop window's own rectangle is the primary monitor's; what the
    // user sees of the desktop is every monitor.
    if (window && window == DesktopWindow()) return DesktopRectangle();
    std::optional<RECT> frame = LiveWindowRectangle(window);
    if (!frame) return frame;
    using Attribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    const auto attribute = SystemFunctionOf<Attribute>(L"dwmapi.dll", "DwmGetWindowAttribute");
    RECT bounds{};
    if (attribute && SUCCEEDED(attribute(window, DWMWA_EXTENDED_FRAME_BOUNDS, &bounds, sizeof bounds)) &&
        bounds.right > bounds.left && bounds.bottom > bounds.top)
        return bounds;
    return frame;
}

void DisableTransitions(HWND window) {
    using SetAttribute = HRESULT(WINAPI*)(HWND, DWORD, const void*, DWORD);
    const auto setAttribute = SystemFunctionOf<SetAttribute>(L"dwmapi.dll", "DwmSetWindowAttribute");
    const BOOL disabled = TRUE;
    if (setAttribute) setAttribute(window, DWMWA_TRANSITIONS_FORCEDISABLED, &disabled, sizeof disabled);
}

void WaitForCompositor() {
    using Flush = HRESULT(WINAPI*)();
    const auto flush = SystemFunctionOf<Flush>(L"dwmapi.dll", "DwmFlush");
    if (flush) flush();
}

bool MenuFadeOnScreen() {
    // The system keeps such windows between fades, hidden; the one that shows is the one fading.
    constexpr wchar_t kFadeClass[] = L"SysFader";
    for (HWND fade = FindWindowExW(nullptr, nullptr, kFadeClass, nullptr); fade;
         fade = FindWindowExW(nullptr, fade, kFadeClass, nullptr))
        if (IsWindowVisible(fade)) return true;
    return false;
}

HWND FrontWindowOfAnotherProgram() {
    using Attribute = HRESULT(WINAPI*)(HWND, DWORD, void*, DWORD);
    const auto attribute = SystemFunctionOf<Attribute>(L"dwmapi.dll", "DwmGetWindowAttribute");
    auto cloaked = [&](HWND window) {
        DWORD value = 0;
        return attribute && SUCCEEDED(attribute(window, DWMWA_CLOAKED, &value, sizeof value)) && value != 0;
    };
    auto isTaskbar = [](HWND window) {
        wchar_t name[32] = {};
        GetClassNameW(window, name, 32);
        return lstrcmpW(name, L"Shell_TrayWnd") == 0 || lstrcmpW(name, L"Shell_SecondaryTrayWnd") == 0;
    };
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId() || !IsWindowVisible(window) || IsIconic(window) ||
            (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) || isTaskbar(window) || cloaked(window))
            continue;
        return window;
    }
    return nullptr;
}

}  // namespace platform
