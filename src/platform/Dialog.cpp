#include "platform/Dialog.h"

#include "platform/Window.h"

#include <vector>

namespace platform {

INT_PTR ModalDialog::ShowModal(HWND owner, UINT templateId) {
    return DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(templateId), owner, &ModalDialog::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

std::wstring ModalDialog::ItemText(int id) const {
    const HWND item = Item(id);
    std::vector<wchar_t> buffer(static_cast<size_t>(GetWindowTextLengthW(item)) + 1);
    const int length = GetWindowTextW(item, buffer.data(), static_cast<int>(buffer.size()));
    return std::wstring(buffer.data(), static_cast<size_t>(length > 0 ? length : 0));
}

void ModalDialog::SetItemText(int id, const std::wstring& text) const {
    SetDlgItemTextW(dialog_, id, text.c_str());
}

void ModalDialog::Focus(int id) const {
    // Through the dialog manager, so the default button and a text box's
    // selection follow as they do for Tab.
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

void ModalDialog::OnCommand(int id, int) {
    if (id == IDOK || id == IDCANCEL) End(id);
}

bool ModalDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

INT_PTR CALLBACK ModalDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    ModalDialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<ModalDialog*>(lParam);
        self->dialog_ = dialog;
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return self->OnInitDialog() ? TRUE : FALSE;
    }
    self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    if (message == WM_COMMAND) {
        self->OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    INT_PTR result = 0;
    const bool handled = self->OnMessage(message, wParam, lParam, result);
    if (message == WM_NCDESTROY) self->dialog_ = nullptr;
    if (!handled) return FALSE;
    // These few return their answer directly; every other one through DWLP_MSGRESULT.
    if ((message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_COMPAREITEM ||
        message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON)
        return result;
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace platform
