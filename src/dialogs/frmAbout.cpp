#include "dialogs/frmAbout.h"

#include "platform/portable/Text.h"
#include "platform/portable/Twips.h"
#include "platform/system/VersionInfo.h"
#include "platform/ui/Fonts.h"
#include "platform/ui/Messages.h"
#include "resources/resource.h"

#include <array>
#include <string>

namespace dialogs {
namespace {

// The design in twips.
constexpr int kClientWidth = 5325, kClientHeight = 3675;
constexpr std::array<platform::TwipsPlace, 7> kDesign{{
    {IDC_About_Label1, 120, 120, 5115, 315},
    {IDC_lblVersion, 120, 480, 5115, 195},
    {IDC_About_Label3, 120, 900, 5115, 255},
    {IDC_About_Label4, 120, 1200, 5115, 255},
    {IDC_About_Label5, 480, 1920, 4755, 255},
    {IDC_About_Label2, 480, 2280, 4695, 675},
    {IDOK, 1980, 3180, 1275, 315},   // cmdOk
}};
// Line1: a dark rule with a light one a pixel below it, from x1 to x2.
constexpr int kRuleLeft = 60, kRuleRight = 5220, kRuleTop = 1680;

// Version numbers as the box shows them: major, minor and revision, the
// build field left out, plain decimals ("2.3.0", never "2.03").
std::wstring VersionText(const platform::FileVersion& version) {
    return std::to_wstring(version.major) + L"." + std::to_wstring(version.minor) + L"." +
           std::to_wstring(version.revision);
}

}  // namespace

HRESULT frmAbout::Show(HWND owner, const std::wstring& converter) {
    converter_ = converter;
    const HRESULT shown = ShowModal(owner, IDD_frmAbout) == -1 ? platform::LastFailure() : S_OK;
    fonts_.clear();
    return shown;
}

bool frmAbout::OnInitDialog() {
    SetIcon(IDI_TOVIK);
    LayOutInTwips(kClientWidth, kClientHeight, kDesign);
    const int dpi = Dpi();
    const std::wstring japanese = platform::LoadText(IDS_ABOUT_JAPANESE_FACE);
    const std::wstring latin = platform::LoadText(IDS_ABOUT_LATIN_FACE);
    SetFont(IDC_About_Label1, platform::CreatePointFont(japanese.c_str(), 12, dpi, SHIFTJIS_CHARSET));
    SetFont(IDC_lblVersion, platform::CreatePointFont(japanese.c_str(), 9.75, dpi, SHIFTJIS_CHARSET));
    SetFont(IDC_About_Label3, platform::CreatePointFont(latin.c_str(), 8.25, dpi, ANSI_CHARSET));
    SetFont(IDC_About_Label4, platform::CreatePointFont(latin.c_str(), 9, dpi, ANSI_CHARSET));
    SetFont(IDC_About_Label2, platform::CreatePointFont(latin.c_str(), 8.25, dpi, ANSI_CHARSET));

    // Read anew at every opening, from the program file's own version resource.
    if (const auto version = platform::ReadProgramVersion())
        SetItemText(IDC_lblVersion, platform::LoadText(IDS_ABOUT_VERSION) + VersionText(*version));
    // The converter beside the program names its own version; without it
    // (not installed, no version resource) the line keeps its fixed text.
    if (const auto version = platform::ReadFileVersion(converter_)) {
        SetItemText(IDC_About_Label5,
                    platform::FillIn(platform::LoadText(IDS_ABOUT_CONVERTER), {VersionText(*version)}));
    }
    for (const auto& place : kDesign)
        if (place.id != IDOK) GrowToFitText(place.id);
    return true;   // the focus goes to cmdOk, the only control that takes it
}

void frmAbout::SetFont(int id, platform::Font font) {
    if (!font) return;   // the label keeps the dialog's font
    SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    fonts_.push_back(std::move(font));
}

void frmAbout::OnCommand(int id, int notification) {
    // OK, Enter (the default button), Escape and the close box all close the box.
    if (notification == BN_CLICKED && (id == IDOK || id == IDCANCEL)) cmdOk_Click();
}

bool frmAbout::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
    if (message != WM_PAINT) return false;
    PaintEngravedRule();
    result = 0;
    return true;
}

void frmAbout::PaintEngravedRule() const {
    const platform::PaintDC paint(hwnd());
    const int dpi = Dpi();
    const int left = platform::twips::AtDpi(kRuleLeft, dpi), right = platform::twips::AtDpi(kRuleRight, dpi);
    const int y = platform::twips::AtDpi(kRuleTop, dpi);
    platform::DrawLine(paint.get(), left, y, right, y, GetSysColor(COLOR_WINDOWTEXT));
    platform::DrawLine(paint.get(), left, y + 1, right, y + 1, GetSysColor(COLOR_WINDOW));
}

}  // namespace dialogs
