// Base of the program's dialogs: a dialog box made from a resource template,
// shown modally, its controls reached by their ids.
#pragma once
#include "platform/owners/Win32.h"

#include <span>
#include <string>

namespace platform {

// Where a control sits in a dialog's design: twips from the top-left corner
// of the client area.
struct TwipsPlace {
    int id;
    int left, top, width, height;
};

class ModalDialog {
public:
    ModalDialog() = default;
    virtual ~ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // Shows the dialog of the template over `owner` (disabled meanwhile) and
    // returns the code End was given; -1 when it could not be shown, with
    // the reason in GetLastError.
    INT_PTR ShowModal(HWND owner, UINT templateId);

protected:
    HWND hwnd() const { return dialog_; }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    std::wstring ItemText(int id) const;
    std::wstring Caption() const;
    void SetItemText(int id, const std::wstring& text) const;
    bool IsChecked(int id) const { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }
    void SetChecked(int id, bool checked) const {
        CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
    }
    void Focus(int id) const;
    // The resolution the dialog is shown at.
    int Dpi() const;
    // Gives the client area its designed size and every control its place,
    // converted from twips at the dialog's resolution, then centres the
    // dialog on the screen its owner is on.
    void LayOutInTwips(int clientWidth, int clientHeight, std::span<const TwipsPlace> places) const;
    // A label whose font draws taller than its design (a face the system
    // substitutes with a taller one) grows downward until no line is cut;
    // its place and width stay.
    void GrowToFitText(int id) const;
    // The program's icon in the title bar (and the Alt+Tab list).
    void SetIcon(UINT iconId) const;
    // Closes the dialog; ShowModal returns `result`.
    void End(INT_PTR result) const { EndDialog(dialog_, result); }

    // WM_INITDIALOG. Return false when it has set the focus itself.
    virtual bool OnInitDialog() { return true; }
    // WM_COMMAND from a control, a key or the close box (IDCANCEL). By
    // default OK and Cancel close the dialog with their own ids.
    virtual void OnCommand(int id, int notification);
    // Any other message; return true when handled.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    HWND dialog_ = nullptr;
};

}  // namespace platform
