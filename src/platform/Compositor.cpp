#include "platform/Compositor.h"

#include "platform/Screen.h"
#include "platform/SystemLookup.h"

#include <dwmapi.h>

namespace platform {

std::optional<RECT> VisibleFrame(HWND window) {
    std::optional<RECT> frame = LiveWindowRectangle(window);
    if (!frame || window == DesktopWindow()) return frame;
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

}  // namespace platform
