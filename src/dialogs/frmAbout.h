// The about box: the program's name, its version and the credits.
#pragma once
#include "platform/owners/Failure.h"
#include "platform/owners/Gdi.h"
#include "platform/ui/Dialog.h"

#include <vector>

namespace dialogs {

class frmAbout : public platform::ModalDialog {
public:
    // Shows the box centred on the screen, modally over `owner`; returns when
    // it is closed: S_OK, or why the box could not be shown. The converter
    // program names its own version on the box.
    [[nodiscard]] HRESULT Show(HWND owner, const std::wstring& converter);

private:
    bool OnInitDialog() override;   // Form_Load
    void OnCommand(int id, int notification) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

    void cmdOk_Click() { End(IDOK); }
    void SetFont(int id, platform::Font font);
    void PaintEngravedRule() const;

    std::wstring converter_;
    std::vector<platform::Font> fonts_;   // the labels' own fonts, alive as long as the box
};

}  // namespace dialogs
