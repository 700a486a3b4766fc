#include "platform/Compositor.h"

#include "platform/Screen.h"
#include "platform/SystemLookup.h"

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

}  // namespace platform
