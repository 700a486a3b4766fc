// The setup dialog: the editor program, the capture delay, whether
// pictures opened from files go to the clipboard, whether Tovik starts at
// logon and whether, minimised, it waits in the notification area.
#pragma once
#include "platform/Dialog.h"

#include <cstdint>
#include <string>

namespace dialogs {

// The live values the dialog edits; the program hands them in and takes
// them back when the user presses OK.
struct SetupValues {
    std::wstring EditerName;          // the editor's command line
    std::int32_t DelayTime = 0;       // milliseconds
    std::int16_t TransClipboard = 0;  // 1: opened pictures go to the clipboard
    bool StartAtLogon = false;        // the Startup folder starts this program
    std::int16_t TrayIcon = 0;        // 1: minimised, the main window goes to the notification area
};

class frmSetup : public platform::ModalDialog {
public:
    // Shows the dialog modally over `owner` (which takes no input meanwhile),
    // filled from `values`. True when OK was pressed: `values` then holds
    // the new ones. Cancel and the close box leave `values` untouched; a
    // dialog that cannot be shown is reported and changes nothing.
    bool Show(HWND owner, SetupValues& values);

private:
    bool OnInitDialog() override;   // Form_Load
    void OnCommand(int id, int notification) override;

    void cmdOk_Click();
    void cmdCancel_Click();
    void cmdRef_Click();

    SetupValues* values_ = nullptr;
    // What the browse dialog shows in its file name box (the pattern at
    // first, then the file chosen last while this dialog is open) and which
    // file type it selects (the first, then the one chosen last).
    std::wstring browseFileName_;
    DWORD browseFilterIndex_ = 1;
};

}  // namespace dialogs
