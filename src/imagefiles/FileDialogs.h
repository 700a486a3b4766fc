// The open and save dialogs of the main window, set up as the Open and Save
// As commands show them.
#pragma once
#include "platform/owners/Failure.h"

#include <string>

namespace imagefiles {

// CommonDialog1: what the main window's file dialogs keep between uses. Its
// file name is the path last chosen in an open or save dialog, which the
// next save dialog shows. The file type chosen last is kept for each kind
// of dialog and selected in the next one of that kind: the two offer
// different lists, so a type chosen in one means another in the other.
struct CommonDialogState {
    std::wstring FileName;
    DWORD OpenFilterIndex = 1;
    DWORD SaveFilterIndex = 1;
};

struct ChosenFile {
    std::wstring path;    // the full path
    std::wstring title;   // its last part
};

// The open dialog, starting in `folder` with an empty name field. S_OK with
// the file in `chosen`; platform::kCancelled when the user cancels; or the
// dialog's failure.
[[nodiscard]] HRESULT ChooseFileToOpen(HWND owner, const std::wstring& folder, CommonDialogState& dialog,
                                       ChosenFile& chosen);

// The save dialog, starting in `folder` with the last chosen path in the
// name field; it asks before an existing file is replaced. Returns as the open one.
[[nodiscard]] HRESULT ChooseFileToSave(HWND owner, const std::wstring& folder, CommonDialogState& dialog,
                                       ChosenFile& chosen);

}  // namespace imagefiles
