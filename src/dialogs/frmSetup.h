// The setup dialog: the editor program, the capture delay, whether
// pictures opened from files go to the clipboard, the capture commands'
// hotkeys, whether Tovik starts at logon and whether, minimised, it waits in
// the notification area.
#pragma once
#include "platform/owners/Failure.h"
#include "platform/ui/Dialog.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace dialogs {

// The hotkey rows: rectangle, active window, desktop and the two delayed captures.
inline constexpr int kHotkeyRows = 5;

// The live values the dialog edits; the program hands them in and takes
// them back when the user presses OK.
struct SetupValues {
    std::wstring EditerName;          // the editor's command line
    std::int32_t DelayTime = 0;       // milliseconds
    std::int16_t TransClipboard = 0;  // 1: opened pictures go to the clipboard
    bool StartAtLogon = false;        // the Startup folder starts this program
    std::int16_t TrayIcon = 0;        // 1: minimised, the main window goes to the notification area
    // The hotkeys as a hotkey control holds them: HOTKEYF_ modifiers in the
    // high byte, the virtual key in the low; 0 for none. Handed in: the keys
    // in effect. Taken back: what each row shows.
    std::array<WORD, kHotkeyRows> Hotkeys{};
    // Taken back: the rows the user changed. The others keep the key they
    // had, also one their control could not show (held by another program,
    // or with the Win key).
    std::array<bool, kHotkeyRows> HotkeyChanged{};
};

// Whether the program can take a key a hotkey control gives.
using HotkeyRule = std::function<bool(WORD hotkey)>;

class frmSetup : public platform::ModalDialog {
public:
    explicit frmSetup(HotkeyRule usable) : usable_(std::move(usable)) {}

    // Shows the dialog modally over `owner` (which takes no input meanwhile),
    // filled from `values`. S_OK when OK was pressed: `values` then holds
    // the new ones. Cancel and the close box (platform::kCancelled) leave
    // `values` untouched, as does a dialog that cannot be shown (its failure).
    [[nodiscard]] HRESULT Show(HWND owner, SetupValues& values);

private:
    bool OnInitDialog() override;   // Form_Load
    void OnCommand(int id, int notification) override;

    void cmdOk_Click();
    void cmdCancel_Click();
    void cmdRef_Click();

    // The row's hotkey as its control shows it now.
    WORD ShownHotkey(int row) const;
    // Says why OK was refused and puts the focus where the fault is.
    void Refuse(const std::wstring& why, int id) const;

    HotkeyRule usable_;
    SetupValues* values_ = nullptr;
    // What the browse dialog shows in its file name box (the pattern at
    // first, then the file chosen last while this dialog is open) and which
    // file type it selects (the first, then the one chosen last).
    std::wstring browseFileName_;
    DWORD browseFilterIndex_ = 1;
};

}  // namespace dialogs
