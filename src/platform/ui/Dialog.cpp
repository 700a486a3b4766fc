#include "platform/ui/Dialog.h"

#include "platform/owners/Gdi.h"
#include "platform/portable/Twips.h"
#include "platform/system/Screen.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Messages.h"
#include "platform/ui/Window.h"

namespace platform {

INT_PTR ModalDialog::ShowModal(HWND owner, UINT templateId) {
    return DialogBoxParamW(ModuleInstance(), MAKEINTRESOURCEW(templateId), owner, &ModalDialog::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

std::wstring ModalDialog::ItemText(int id) const { return WindowText(Item(id)); }

std::wstring ModalDialog::Caption() const { return WindowText(dialog_); }

void ModalDialog::SetItemText(int id, const std::wstring& text) const {
    SetDlgItemTextW(dialog_, id, text.c_str());
}

void ModalDialog::Focus(int id) const {
    // Through the dialog manager, so the default button and a text box's
    // selection follow as they do for Tab.
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

int ModalDialog::Dpi() const { return WindowDpi(dialog_); }

void ModalDialog::LayOutInTwips(int clientWidth, int clientHeight, std::span<const TwipsPlace> places) const {
    const int dpi = Dpi();
    auto px = [dpi](int twips) { return twips::AtDpi(twips, dpi); };
    for (const TwipsPlace& place : places)
        SetWindowPos(Item(place.id), nullptr, px(place.left), px(place.top), px(place.width), px(place.height),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame as the system draws it now, whatever the style, theme and resolution.
    RECT outer{}, client{};
    GetWindowRect(dialog_, &outer);
    GetClientRect(dialog_, &client);
    const int width = px(clientWidth) + (outer.right - outer.left) - client.right;
    const int height = px(clientHeight) + (outer.bottom - outer.top) - client.bottom;
    const HWND owner = GetWindow(dialog_, GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : dialog_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& screen = monitor.rcMonitor;
    SetWindowPos(dialog_, nullptr, screen.left + (screen.right - screen.left - width) / 2,
                 screen.top + (screen.bottom - screen.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void ModalDialog::GrowToFitText(int id) const {
    const HWND label = Item(id);
    RECT box{};
    GetClientRect(label, &box);
    const std::wstring text = ItemText(id);
    const ClientDC dc(label);
    const SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, box.right, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    if (needed.bottom <= box.bottom) return;
    RECT outer{};
    GetWindowRect(label, &outer);
    SetWindowPos(label, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + needed.bottom - box.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ModalDialog::SetIcon(UINT iconId) const {
    SendMessageW(dialog_, WM_SETICON, ICON_BIG,
                 reinterpret_cast<LPARAM>(LoadIconResource(iconId, GetSystemMetrics(SM_CXICON))));
    SendMessageW(dialog_, WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(LoadIconResource(iconId, GetSystemMetrics(SM_CXSMICON))));
}

void ModalDialog::OnCommand(int id, int) {
    if (id == IDOK || id == IDCANCEL) End(id);
}

bool ModalDialog::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

INT_PTR CALLBACK ModalDialog::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // Nothing may unwind through the dialog manager that called us: a
    // handler that ran out of memory is reported, and the dialog stays.
    try {
        return Handle(dialog, message, wParam, lParam);
    } catch (...) {
        ShowHandlerFailure(dialog);
        return message == WM_INITDIALOG ? TRUE : FALSE;
    }
}

INT_PTR ModalDialog::Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
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
