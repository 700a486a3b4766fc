#include "dialogs/frmSetup.h"

#include "dialogs/DelayText.h"
#include "platform/portable/Text.h"
#include "platform/ui/Controls.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/Messages.h"
#include "resources/resource.h"

#include <commdlg.h>

#include <array>
#include <initializer_list>

namespace dialogs {
namespace {

// The design in twips. Controls inside a frame are placed relative to it.
constexpr int kClientWidth = 6345, kClientHeight = 6810;
constexpr int kFrame1Left = 120, kFrame1Top = 180;
constexpr int kFrame2Left = 120, kFrame2Top = 1500;
constexpr int kFrame3Left = 120, kFrame3Top = 3000;
constexpr int kRowHeight = 390;

constexpr platform::TwipsPlace HotkeyLabel(int row) {
    return {IDC_Setup_Label4 + row, kFrame3Left + 240, kFrame3Top + 300 + kRowHeight * row, 2835, 255};
}
constexpr platform::TwipsPlace HotkeyControl(int row) {
    return {IDC_hkyRectangle + row, kFrame3Left + 3180, kFrame3Top + 270 + kRowHeight * row, 2715, 315};
}

constexpr std::array<platform::TwipsPlace, 24> kDesign{{
    {IDC_Setup_Frame1, kFrame1Left, kFrame1Top, 6075, 1155},
    {IDC_Setup_Label1, kFrame1Left + 240, kFrame1Top + 300, 1635, 255},
    {IDC_txtEditName, kFrame1Left + 240, kFrame1Top + 540, 4695, 330},
    {IDC_cmdRef, kFrame1Left + 5040, kFrame1Top + 540, 855, 315},
    {IDC_Setup_Frame2, kFrame2Left, kFrame2Top, 6075, 795},
    {IDC_Setup_Label2, kFrame2Left + 240, kFrame2Top + 360, 1395, 255},
    {IDC_txtDelayTime, kFrame2Left + 1380, kFrame2Top + 300, 975, 315},
    {IDC_Setup_Label3, kFrame2Left + 2460, kFrame2Top + 360, 375, 195},
    {IDC_chkClip, 180, 2460, 4215, 435},
    {IDC_Setup_Frame3, kFrame3Left, kFrame3Top, 6075, 2310},
    HotkeyLabel(0), HotkeyControl(0), HotkeyLabel(1), HotkeyControl(1), HotkeyLabel(2), HotkeyControl(2),
    HotkeyLabel(3), HotkeyControl(3), HotkeyLabel(4), HotkeyControl(4),
    {IDC_chkStartAtLogon, 180, 5430, 5000, 300},
    {IDC_chkTray, 180, 5790, 5000, 300},
    {IDOK, 3660, 6300, 1215, 315},        // cmdOk
    {IDCANCEL, 4980, 6300, 1215, 315},    // cmdCancel
}};

// The bits of a hotkey control's value that tell the key: which modifiers
// and which key, not whether the key is an extended one.
constexpr WORD kHotkeyBits = static_cast<WORD>(~(HOTKEYF_EXT << 8));

// A text of the string table with each "%ls" replaced, in turn, by one of `inserts`.
std::wstring TextWith(UINT id, std::initializer_list<std::wstring> inserts) {
    return platform::FillIn(platform::LoadText(id), inserts);
}

constexpr DWORD kBrowseFlags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;

}  // namespace

HRESULT frmSetup::Show(HWND owner, SetupValues& values) {
    values_ = &values;
    browseFileName_ = platform::LoadText(IDS_BROWSE_FILE_NAME);
    browseFilterIndex_ = 1;
    const INT_PTR result = ShowModal(owner, IDD_frmSetup);
    const HRESULT failure = result == -1 ? platform::LastFailure() : S_OK;
    values_ = nullptr;
    if (FAILED(failure)) return failure;
    return result == IDOK ? S_OK : platform::kCancelled;
}

bool frmSetup::OnInitDialog() {
    SetIcon(IDI_TOVIK);
    LayOutInTwips(kClientWidth, kClientHeight, kDesign);
    SetItemText(IDC_txtEditName, values_->EditerName);
    SetItemText(IDC_txtDelayTime, std::to_wstring(values_->DelayTime));
    SetChecked(IDC_chkClip, values_->TransClipboard != 0);
    for (int row = 0; row < kHotkeyRows; ++row) {
        const HWND control = Item(IDC_hkyRectangle + row);
        SendMessageW(control, HKM_SETHOTKEY, values_->Hotkeys[row], 0);
        platform::TakePrintScreenIn(control);
    }
    SetChecked(IDC_chkStartAtLogon, values_->StartAtLogon);
    SetChecked(IDC_chkTray, values_->TrayIcon != 0);
    return true;   // the focus goes to the first control that takes it: txtEditName
}

WORD frmSetup::ShownHotkey(int row) const {
    return static_cast<WORD>(SendMessageW(Item(IDC_hkyRectangle + row), HKM_GETHOTKEY, 0, 0)) & kHotkeyBits;
}

void frmSetup::Refuse(const std::wstring& why, int id) const {
    platform::ShowMessage(hwnd(), why, Caption());
    Focus(id);
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
        Refuse(platform::LoadText(IDS_SETUP_BAD_DELAY), IDC_txtDelayTime);
        SendMessageW(Item(IDC_txtDelayTime), EM_SETSEL, 0, -1);
        return;
    }
    // So too a hotkey the program cannot have, and one key for two commands.
    std::array<WORD, kHotkeyRows> shown{};
    std::array<bool, kHotkeyRows> changed{};
    for (int row = 0; row < kHotkeyRows; ++row) {
        shown[row] = ShownHotkey(row);
        changed[row] = shown[row] != (values_->Hotkeys[row] & kHotkeyBits);
        if (changed[row] && !usable_(shown[row])) {
            Refuse(TextWith(IDS_SETUP_BAD_HOTKEY, {platform::LoadText(IDS_HOTKEY_NAME + row)}), IDC_hkyRectangle + row);
            return;
        }
        for (int earlier = 0; earlier < row; ++earlier)
            if (shown[row] != 0 && shown[row] == shown[earlier]) {
                Refuse(TextWith(IDS_SETUP_SAME_HOTKEY, {platform::LoadText(IDS_HOTKEY_NAME + earlier),
                                                        platform::LoadText(IDS_HOTKEY_NAME + row)}),
                       IDC_hkyRectangle + row);
                return;
            }
    }
    values_->DelayTime = *delay;
    values_->EditerName = ItemText(IDC_txtEditName);
    values_->TransClipboard = IsChecked(IDC_chkClip) ? 1 : 0;
    values_->Hotkeys = shown;
    values_->HotkeyChanged = changed;
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
