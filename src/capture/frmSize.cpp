#include "capture/frmSize.h"

#include "capture/Selection.h"
#include "platform/portable/Twips.h"
#include "platform/system/Screen.h"
#include "platform/ui/Messages.h"
#include "resources/resource.h"

#include <memory>

namespace capture {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_BORDER;   // single fixed line, no title bar
// Kept out of the task bar, never activated, and above the full-screen overlay.
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST;

// Client area and label, in twips.
constexpr int kClientWidth = 1275, kClientHeight = 315;
constexpr int kLabelLeft = 120, kLabelTop = 60, kLabelWidth = 1035, kLabelHeight = 255;

// The system's message font at the given resolution.
platform::Font MessageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, platform::ScreenDpiY());
    return platform::Font(CreateFontIndirectW(&metrics.lfMessageFont));
}

}  // namespace

frmSize& SizeForm() {
    static frmSize form;
    return form;
}

bool frmSize::Form_Load() {
    if (exists()) return true;
    const platform::WindowClassInfo info{TOVIK_CLASS_SIZE, 0, nullptr, nullptr, nullptr,
                                         reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1)};
    if (!CreateWindowOf(info, kStyle, kExStyle, L"", 0, 0, 0, 0, nullptr)) return false;
    lblSize_ = CreateWindowExW(0, L"STATIC", selection::SizeCaption({0, 0}, {0, 0}, platform::LoadText(IDS_SIZE_CAPTION)).c_str(),
                               WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, hwnd(), nullptr,
                               platform::ModuleInstance(), nullptr);
    if (!lblSize_) return false;
    LayOut(platform::WindowDpi(hwnd()));
    return true;
}

void frmSize::LayOut(int dpi) {
    dpi_ = dpi;
    RECT outer{0, 0, platform::twips::AtDpi(kClientWidth, dpi), platform::twips::AtDpi(kClientHeight, dpi)};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    SetWindowPos(hwnd(), nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(lblSize_, nullptr, platform::twips::AtDpi(kLabelLeft, dpi), platform::twips::AtDpi(kLabelTop, dpi),
                 platform::twips::AtDpi(kLabelWidth, dpi), platform::twips::AtDpi(kLabelHeight, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
    platform::Font font = MessageFont(dpi);
    if (font) {
        SendMessageW(lblSize_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        font_ = std::move(font);   // the old font goes once the label no longer uses it
    }
}

void frmSize::SetSizeText(const std::wstring& text) const { SetWindowTextW(lblSize_, text.c_str()); }

void frmSize::ShowAt(int x, int y) const {
    SetWindowPos(hwnd(), HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void frmSize::ShowNear(POINT pointer) {
    const platform::MonitorArea monitor = platform::MonitorAt(pointer);
    // Sized for the monitor it goes to before it is placed, so the flip at
    // that monitor's edges uses the size it will have there.
    if (monitor.dpi != dpi_) LayOut(monitor.dpi);
    const RECT outer = OuterRect();
    const RECT& m = monitor.bounds;
    const selection::Point place = selection::SizeBoxPlace(
        {pointer.x, pointer.y}, {outer.right - outer.left, outer.bottom - outer.top}, {m.left, m.top, m.right, m.bottom});
    ShowAt(static_cast<int>(place.x), static_cast<int>(place.y));
}

LRESULT frmSize::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        SetBkColor(dc, GetSysColor(COLOR_INFOBK));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
    }
    case WM_DPICHANGED:
        // Over a monitor of another resolution the box and its text keep their size in twips.
        LayOut(HIWORD(wParam));
        return 0;
    case WM_NCHITTEST:
        // The box sits next to the pointer; should the pointer land on it,
        // its messages go on to the overlay below.
        return HTTRANSPARENT;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace capture
