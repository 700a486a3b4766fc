#include "platform/ui/Controls.h"

#include "platform/owners/Gdi.h"
#include "platform/ui/Window.h"

namespace platform {

ImageList LoadImageListResource(UINT id, int width, int height, COLORREF mask) {
    Bitmap strip(static_cast<HBITMAP>(
        LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
    if (!strip) return {};
    BITMAP info{};
    GetObjectW(strip.get(), sizeof info, &info);
    const int count = width > 0 ? info.bmWidth / width : 0;
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR4 | ILC_MASK, count, 0);
    if (list) ImageList_AddMasked(list, strip.get(), mask);
    return ImageList(list);
}

bool Toolbar::Create(HWND parent, int id, int x, int y, int width, int height, HIMAGELIST images,
                     SIZE buttonSize, const std::vector<ToolbarButton>& buttons) {
    window_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT |
                                  TBSTYLE_TOOLTIPS | CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                              x, y, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(),
                              nullptr);
    if (!window_) return false;
    SendMessageW(window_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetImages(images, buttonSize);
    std::vector<TBBUTTON> items;
    for (const auto& b : buttons) {
        TBBUTTON t{};
        t.iBitmap = b.separator ? 0 : b.image;
        t.idCommand = b.command;
        t.fsState = TBSTATE_ENABLED;
        t.fsStyle = static_cast<BYTE>(b.separator ? BTNS_SEP : (b.checkStyle ? BTNS_CHECK : BTNS_BUTTON));
        items.push_back(t);
    }
    SendMessageW(window_, TB_ADDBUTTONSW, items.size(), reinterpret_cast<LPARAM>(items.data()));
    // Set again: adding buttons resizes them to their images.
    SendMessageW(window_, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonSize.cx, buttonSize.cy));
    Place(x, y, width, height);
    return true;
}

void Toolbar::SetImages(HIMAGELIST images, SIZE buttonSize) const {
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    SendMessageW(window_, TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height));
    SendMessageW(window_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
    SendMessageW(window_, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonSize.cx, buttonSize.cy));
}

void Toolbar::Place(int x, int y, int width, int height) const {
    SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool Toolbar::IsPressed(int command) const {
    return SendMessageW(window_, TB_ISBUTTONCHECKED, command, 0) != 0;
}

void Toolbar::SetPressed(int command, bool pressed) const {
    SendMessageW(window_, TB_CHECKBUTTON, command, MAKELPARAM(pressed ? TRUE : FALSE, 0));
}

void LoadCommonControls() {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
}

namespace {

LRESULT CALLBACK HotkeyControlProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR) {
    if ((message == WM_KEYUP || message == WM_SYSKEYUP) && wParam == VK_SNAPSHOT) {
        BYTE modifiers = HOTKEYF_EXT;
        if (GetKeyState(VK_SHIFT) < 0) modifiers |= HOTKEYF_SHIFT;
        if (GetKeyState(VK_CONTROL) < 0) modifiers |= HOTKEYF_CONTROL;
        if (GetKeyState(VK_MENU) < 0) modifiers |= HOTKEYF_ALT;
        SendMessageW(control, HKM_SETHOTKEY, MAKEWORD(VK_SNAPSHOT, modifiers), 0);
        return 0;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, &HotkeyControlProcedure, id);
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void TakePrintScreenIn(HWND hotkeyControl) { SetWindowSubclass(hotkeyControl, &HotkeyControlProcedure, 1, 0); }

void SetMenuCheck(HMENU menu, int command, bool checked) {
    CheckMenuItem(menu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

int MenuPosition(HMENU menu, int command) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i)
        if (GetMenuItemID(menu, i) == static_cast<UINT>(command)) return i;
    return -1;
}

void InsertMenuText(HMENU menu, int position, int command, const std::wstring& text) {
    std::wstring shown;
    for (wchar_t c : text) {
        if (c == L'&') shown += L'&';
        shown += c;
    }
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_STRING | MIIM_FTYPE;
    item.fType = MFT_STRING;
    item.wID = static_cast<UINT>(command);
    item.dwTypeData = shown.data();
    InsertMenuItemW(menu, static_cast<UINT>(position), TRUE, &item);
}

void InsertMenuSeparator(HMENU menu, int position, int id) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_FTYPE;
    item.fType = MFT_SEPARATOR;
    item.wID = static_cast<UINT>(id);
    InsertMenuItemW(menu, static_cast<UINT>(position), TRUE, &item);
}

void RemoveMenuItem(HMENU menu, int command) { DeleteMenu(menu, static_cast<UINT>(command), MF_BYCOMMAND); }

std::wstring MenuItemCaption(HMENU menu, int command) {
    const int length = GetMenuStringW(menu, static_cast<UINT>(command), nullptr, 0, MF_BYCOMMAND);
    if (length <= 0) return {};
    std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
    caption.resize(static_cast<size_t>(
        GetMenuStringW(menu, static_cast<UINT>(command), caption.data(), length + 1, MF_BYCOMMAND)));
    return caption.substr(0, caption.find(L'\t'));
}

void AppendMenuItem(HMENU menu, int command, const std::wstring& caption) {
    if (command == 0) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    else AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(command), caption.c_str());
}

int ChooseFromPopupMenu(HWND window, HMENU menu, POINT at) {
    // Without the front, the menu would stay open when the user clicks
    // elsewhere; the message after it lets the next click close it at once.
    SetForegroundWindow(window);
    const UINT flags = TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY |
                       (GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
    const int command = static_cast<int>(TrackPopupMenuEx(menu, flags, at.x, at.y, window, nullptr));
    PostMessageW(window, WM_NULL, 0, 0);
    return command;
}

HICON LoadIconResource(UINT id, int size) {
    return static_cast<HICON>(
        LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_SHARED));
}

HMENU LoadMenuResource(UINT id) { return LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(id)); }

HACCEL LoadAcceleratorResource(UINT id) {
    return LoadAcceleratorsW(ModuleInstance(), MAKEINTRESOURCEW(id));
}

}  // namespace platform
