#include "platform/Screen.h"

#include "platform/Gdi.h"

namespace platform {
namespace {
int ScreenDpi(int capability) {
    ClientDC screen(nullptr);
    return GetDeviceCaps(screen.get(), capability);
}
}  // namespace

HWND DesktopWindow() { return GetDesktopWindow(); }

RECT DesktopRectangle() { return LiveWindowRectangle(GetDesktopWindow()).value_or(RECT{}); }

int ScreenDpiX() { return ScreenDpi(LOGPIXELSX); }
int ScreenDpiY() { return ScreenDpi(LOGPIXELSY); }

int WindowDpi(HWND window) {
    // Looked up at run time: older systems have no per-monitor resolution.
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : ScreenDpiX();
}

POINT CursorPosition() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

HWND ForegroundWindow() { return GetForegroundWindow(); }

std::optional<RECT> LiveWindowRectangle(HWND window) {
    RECT r{};
    if (!window || !GetWindowRect(window, &r)) return std::nullopt;
    return r;
}

HCURSOR SystemCursor(const wchar_t* id) { return LoadCursorW(nullptr, id); }

POINT ScreenToClientPoint(HWND window, POINT screen) {
    ScreenToClient(window, &screen);
    return screen;
}

void Pause(DWORD milliseconds) { Sleep(milliseconds); }

bool IsOnAnyMonitor(const RECT& outer) {
    return MonitorFromRect(&outer, MONITOR_DEFAULTTONULL) != nullptr;
}

RECT PrimaryWorkArea() {
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return area;
}

}  // namespace platform
