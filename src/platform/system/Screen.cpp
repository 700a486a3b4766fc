#include "platform/system/Screen.h"

#include "platform/owners/Gdi.h"
#include "platform/system/SystemLookup.h"

namespace platform {
namespace {
int ScreenDpi(int capability) {
    ClientDC screen(nullptr);
    return GetDeviceCaps(screen.get(), capability);
}
std::optional<RECT> pretendedScreen;

// The monitor's own resolution; 0 where the system gives every monitor the
// screen's (before Windows 8.1).
int MonitorDpi(HMONITOR monitor) {
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    constexpr int kEffectiveDpi = 0;   // MDT_EFFECTIVE_DPI
    const auto forMonitor = SystemFunctionOf<ForMonitor>(L"shcore.dll", "GetDpiForMonitor");
    UINT x = 0, y = 0;
    if (monitor && forMonitor && SUCCEEDED(forMonitor(monitor, kEffectiveDpi, &x, &y))) return static_cast<int>(x);
    return 0;
}
}  // namespace

HWND DesktopWindow() { return GetDesktopWindow(); }

void PretendVirtualScreenForTesting(const RECT* screen) {
    pretendedScreen = screen ? std::optional<RECT>(*screen) : std::nullopt;
}

RECT DesktopRectangle() {
    if (pretendedScreen) return *pretendedScreen;
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

int ScreenDpiX() { return ScreenDpi(LOGPIXELSX); }
int ScreenDpiY() { return ScreenDpi(LOGPIXELSY); }

int WindowDpi(HWND window) {
    if (window) {
        using ForWindow = UINT(WINAPI*)(HWND);
        if (const auto forWindow = SystemFunctionOf<ForWindow>(L"user32.dll", "GetDpiForWindow"))
            if (const UINT dpi = forWindow(window)) return static_cast<int>(dpi);
        // Windows 8.1 knows each monitor's resolution, not yet each window's.
        if (const int dpi = MonitorDpi(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST))) return dpi;
    }
    return ScreenDpiX();
}

POINT CursorPosition() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

HWND ForegroundWindow() { return GetForegroundWindow(); }

bool IsOwnWindow(HWND window) {
    DWORD process = 0;
    return window && GetWindowThreadProcessId(window, &process) && process == GetCurrentProcessId();
}

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

RECT NearestWorkArea(const RECT& outer) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromRect(&outer, MONITOR_DEFAULTTONEAREST), &info)) return info.rcWork;
    return PrimaryWorkArea();
}

MonitorArea MonitorAt(POINT screen) {
    MonitorArea area;
    HMONITOR monitor = MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (monitor && GetMonitorInfoW(monitor, &info)) {
        area.bounds = info.rcMonitor;
    } else {
        area.bounds = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    const int dpi = MonitorDpi(monitor);
    area.dpi = dpi ? dpi : ScreenDpiX();
    return area;
}

}  // namespace platform
