#include "capture/frmSize.h"

#include "app/Twips.h"
#include "capture/Selection.h"
#include "platform/Screen.h"
#include "resources/resource.h"

#include <memory>
#include <vector>

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_BORDER;   // single fixed line, no title bar
// Kept out of the task bar, never activated, and above the full-screen overlay.
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST;

// Client area and label, in twips.
constexpr double kClientWidth = 1275, kClientHeight = 315;
constexpr double kLabelLeft = 120, kLabelTop = 60, kLabelWidth = 1035, kLabelHeight = 255;

platform::Font MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
    return platform::Font(CreateFontIndirectW(&metrics.lfMessageFont));
}

}  // namespace

frmSize& SizeForm() {
    static frmSize form;
    return form;
}

bool frmSize::Form_Load() {
    if (exists()) return true;
    const double tx = twips::PerPixel(platform::ScreenDpiX());
    const double ty = twips::PerPixel(platform::ScreenDpiY());
    RECT outer{0, 0, twips::ToPixels(kClientWidth, tx), twips::ToPixels(kClientHeight, ty)};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    const platform::WindowClassInfo info{TOVIK_CLASS_SIZE, 0, nullptr, nullptr, nullptr,
                                         reinterpret_cast<HBRUSH>(COLOR_INFOBK + 1)};
    if (!CreateWindowOf(info, kStyle, kExStyle, L"", 0, 0, outer.right - outer.left,
                        outer.bottom - outer.top, nullptr))
        return false;

    lblSize_ = CreateWindowExW(0, L"STATIC", selection::SizeCaption({0, 0}, {0, 0}).c_str(),
                               WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                               twips::ToPixels(kLabelLeft, tx), twips::ToPixels(kLabelTop, ty),
                               twips::ToPixels(kLabelWidth, tx), twips::ToPixels(kLabelHeight, ty),
                               hwnd(), nullptr, platform::ModuleInstance(), nullptr);
    font_ = MessageFont();
    if (lblSize_ && font_) SendMessageW(lblSize_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return lblSize_ != nullptr;
}

void frmSize::SetSizeText(const std::wstring& text) const { SetWindowTextW(lblSize_, text.c_str()); }

std::wstring frmSize::SizeText() const {
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(lblSize_)) + 1);
    const int length = GetWindowTextW(lblSize_, buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), static_cast<size_t>(length));
}

void frmSize::ShowAt(int x, int y) const {
    SetWindowPos(hwnd(), HWND_TOPMOST, x, y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT frmSize::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
        SetBkColor(dc, GetSysColor(COLOR_INFOBK));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_INFOBK));
    }
    case WM_NCHITTEST:
        // The box sits next to the pointer; should the pointer land on it,
        // its messages go on to the overlay below.
        return HTTRANSPARENT;
    }
    return DefaultHandling(message, wParam, lParam);
}
