#include "platform/Screen.h"

#include "platform/Gdi.h"
#include "platform/SystemLookup.h"

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
    if (window) {
        using ForWindow = UINT(WINAPI*)(HWND);
        if (const auto forWindow = SystemFunctionOf<ForWindow>(L"user32.dll", "GetDpiForWindow"))
            if (const UINT dpi = forWindow(window)) return static_cast<int>(dpi);
        // Windows 8.1 knows each monitor's resolution, not yet each window's.
        using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
        constexpr int kEffectiveDpi = 0;
        if (const auto forMonitor = SystemFunctionOf<ForMonitor>(L"shcore.dll", "GetDpiForMonitor")) {
            UINT x = 0, y = 0;
            if (SUCCEEDED(forMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), kEffectiveDpi, &x, &y)) &&
                x)
                return static_cast<int>(x);
        }
    }
    return ScreenDpiX();
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
