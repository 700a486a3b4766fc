#include "dialogs/frmSetup.h"

#include "dialogs/DelayText.h"
#include "platform/FileDialog.h"
#include "platform/Messages.h"
#include "resources/resource.h"

#include <commdlg.h>

#include <array>

namespace dialogs {
namespace {

// The design in twips. Controls inside a frame are placed relative to it.
constexpr int kClientWidth = 6345, kClientHeight = 6810;
constexpr int kFrame1Left = 120, kFrame1Top = 180;
constexpr int kFrame2Left = 120, kFrame2Top = 1500;

constexpr std::array<platform::TwipsPlace, 13> kDesign{{
    {IDC_Setup_Frame1, kFrame1Left, kFrame1Top, 6075, 1155},
    {IDC_Setup_Label1, kFrame1Left + 240, kFrame1Top + 300, 1635, 255},
    {IDC_txtEditName, kFrame1Left + 240, kFrame1Top + 540, 4695, 330},
    {IDC_cmdRef, kFrame1Left + 5040, kFrame1Top + 540, 855, 315},
    {IDC_Setup_Frame2, kFrame2Left, kFrame2Top, 6075, 795},
    {IDC_Setup_Label2, kFrame2Left + 240, kFrame2Top + 360, 1395, 255},
    {IDC_txtDelayTime, kFrame2Left + 1380, kFrame2Top + 300, 975, 315},
    {IDC_Setup_Label3, kFrame2Left + 2460, kFrame2Top + 360, 375, 195},
    {IDC_chkClip, 180, 2460, 4215, 435},
    {IDC_chkStartAtLogon, 180, 5430, 5000, 300},
    {IDC_chkTray, 180, 5790, 5000, 300},
    {IDOK, 3660, 6300, 1215, 315},        // cmdOk
    {IDCANCEL, 4980, 6300, 1215, 315},    // cmdCancel
}};

constexpr DWORD kBrowseFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;

}  // namespace

bool frmSetup::Show(HWND owner, SetupValues& values) {
    values_ = &values;
    browseFileName_ = platform::LoadText(IDS_BROWSE_FILE_NAME);
    browseFilterIndex_ = 1;
    const INT_PTR result = ShowModal(owner, IDD_frmSetup);
    if (result == -1) platform::ShowSystemError(owner, GetLastError());
    values_ = nullptr;
    return result == IDOK;
}

bool frmSetup::OnInitDialog() {
    SetIcon(IDI_TOVIK);
    LayOutInTwips(kClientWidth, kClientHeight, kDesign);
    SetItemText(IDC_txtEditName, values_->EditerName);
    SetItemText(IDC_txtDelayTime, std::to_wstring(values_->DelayTime));
    SetChecked(IDC_chkClip, values_->TransClipboard != 0);
    SetChecked(IDC_chkStartAtLogon, values_->StartAtLogon);
    SetChecked(IDC_chkTray, values_->TrayIcon != 0);
    return true;   // the focus goes to the first control that takes it: txtEditName
}

void frmSetup::OnCommand(int id, int notification) {
    if (notification != BN_CLICKED) return;
    switch (id) {
    case IDOK: cmdOk_Click(); break;
    case IDCANCEL: cmdCancel_Click(); break;   // the close box and Escape too
    case IDC_cmdRef: cmdRef_Click(); break;
    }
}

void frmSetup::cmdOk_Click() {
    // A delay the timer cannot run is refused before anything is applied,
    // so OK either takes every value or none.
    const std::optional<std::int32_t> delay = ParseDelayTime(ItemText(IDC_txtDelayTime));
    if (!delay) {
        platform::ShowMessage(hwnd(), platform::LoadText(IDS_SETUP_BAD_DELAY), Caption());
        Focus(IDC_txtDelayTime);
        SendMessageW(Item(IDC_txtDelayTime), EM_SETSEL, 0, -1);
        return;
    }
    values_->DelayTime = *delay;
    values_->EditerName = ItemText(IDC_txtEditName);
    values_->TransClipboard = IsChecked(IDC_chkClip) ? 1 : 0;
    values_->StartAtLogon = IsChecked(IDC_chkStartAtLogon);
    values_->TrayIcon = IsChecked(IDC_chkTray) ? 1 : 0;
    End(IDOK);
}

void frmSetup::cmdCancel_Click() { End(IDCANCEL); }

void frmSetup::cmdRef_Click() {
    platform::FileDialogRequest request;
    request.title = platform::LoadText(IDS_BROWSE_TITLE);
    request.filter = platform::LoadText(IDS_BROWSE_FILTER);
    request.fileName = browseFileName_;
    request.filterIndex = browseFilterIndex_;
    request.flags = kBrowseFlags;
    const platform::FileDialogResult result = platform::ShowOpenFileDialog(hwnd(), request);
    if (!result.Chosen()) return;   // cancelled or failed: nothing changes, nothing is said
    browseFileName_ = result.path;
    browseFilterIndex_ = result.filterIndex;
    SetItemText(IDC_txtEditName, result.path);
}

}  // namespace dialogs
